#pragma once
#include "framework/File.h"
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
    // is then split into lines where it lies.
    std::string ReadRest();
    // The line of bytes from at on, as ReadString gives it in text mode; at moves past its LF.
    static bool NextLine(std::string_view bytes, size_t& at, std::string_view& line);

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
