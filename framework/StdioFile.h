#pragma once
#include "framework/File.h"
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// A buffered file with lines. In text mode (the default; typeBinary turns it off)
// a written LF reaches the disk as CR LF, and on reading CR LF comes back as LF;
// a lone CR is data either way.
class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    // Aborts: call Close to learn whether the buffered text reached the file.
    ~CStdioFile() override;

    bool Open(const std::string& path, UINT flags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Flush() override;
    void Close() override;
    // Writes what is buffered as far as it can and closes, reporting nothing.
    void Abort() override;
    ULONGLONG GetLength() override;

    // The next line without its LF (nor, in text mode, the CR before it), however long.
    // False at the end of the file; a last line without a line end still counts.
    bool ReadString(std::string& line);
    void WriteString(const std::string& text);
    // The rest of the file as its bytes lie on the disk, in one system call: a large file
    // is then split into lines where it lies. The bytes replace what the string held, in
    // the room it has.
    void ReadRest(std::string& bytes);
    // The line of bytes from at on, as ReadString gives it in text mode; at moves past its LF.
    static bool NextLine(std::string_view bytes, size_t& at, std::string_view& line);
    // The position of the first LF from at on, or npos. Inline: a large file has a call
    // for each of its lines.
    static size_t FindLineFeed(std::string_view bytes, size_t at);

private:
    bool FillReadBuffer();
    void GiveBackReadAhead();
    void AppendToWriteBuffer(const char* data, size_t count);
    void WritePending();
    void ResetBuffers();

    bool textMode_ = true;
    std::vector<char> readBuffer_;
    size_t readPos_ = 0;
    size_t readEnd_ = 0;
    std::vector<char> writeBuffer_;
    size_t writeUsed_ = 0;
};

// Eight bytes a step, where the C library's memchr may go byte by byte. Each LF byte of a
// word is marked by its top bit, exactly up to the first LF (borrows come only after it),
// and the bytes are little-endian, so the lowest mark is the first LF.
inline size_t CStdioFile::FindLineFeed(std::string_view bytes, size_t at)
{
    const auto lineFeedBits = [](uint32_t word) {
        const uint32_t diff = word ^ 0x0A0A0A0Au;
        return (diff - 0x01010101u) & ~diff & 0x80808080u;
    };
    const char* p = bytes.data() + at;
    const char* const end = bytes.data() + bytes.size();
    for (; end - p >= 8; p += 8) {
        uint32_t words[2];
        std::memcpy(words, p, sizeof words);
        if (const uint32_t low = lineFeedBits(words[0]))
            return p - bytes.data() + (__builtin_ctz(low) >> 3);
        if (const uint32_t high = lineFeedBits(words[1]))
            return p - bytes.data() + 4 + (__builtin_ctz(high) >> 3);
    }
    for (; p != end; ++p) {
        if (*p == '\n')
            return p - bytes.data();
    }
    return std::string_view::npos;
}
