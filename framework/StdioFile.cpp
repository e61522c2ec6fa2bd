#include "framework/StdioFile.h"
#include <algorithm>
#include <cstring>

namespace {
// Big enough that large files cost few system calls.
constexpr size_t BlockSize = 64 * 1024;

} // namespace

CStdioFile::~CStdioFile()
{
    Abort();
}

bool CStdioFile::Open(const std::string& path, UINT flags, CFileException* error)
{
    if (!CFile::Open(path, flags, error))
        return false;
    textMode_ = (flags & typeBinary) == 0;
    return true;
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    WritePending();
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (readPos_ == readEnd_ && !FillReadBuffer())
            break;
        const char* from = readBuffer_.data() + readPos_;
        size_t run = std::min<size_t>(readEnd_ - readPos_, count - done);
        if (textMode_) {
            if (const void* cr = std::memchr(from, '\r', run))
                run = static_cast<const char*>(cr) - from;
        }
        if (run != 0) {
            std::memcpy(out + done, from, run);
            done += static_cast<UINT>(run);
            readPos_ += run;
            continue;
        }
        // A CR in text mode: it vanishes when an LF follows.
        if (readPos_ + 1 == readEnd_)
            FillReadBuffer();
        if (readPos_ + 1 < readEnd_ && readBuffer_[readPos_ + 1] == '\n') {
            ++readPos_;
            continue;
        }
        out[done++] = '\r';
        ++readPos_;
    }
    return done;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    GiveBackReadAhead();
    AppendToWriteBuffer(static_cast<const char*>(buffer), count);
}

void CStdioFile::Flush()
{
    WritePending();
    CFile::Flush();
}

void CStdioFile::Close()
{
    try {
        WritePending();
    } catch (const CFileException&) {
        CFile::Abort();
        throw;
    }
    ResetBuffers();
    CFile::Close();
}

void CStdioFile::Abort()
{
    try {
        WritePending();
    } catch (const CFileException&) {
        // Abort is for clean-up, where a second failure has no one to go to.
    }
    ResetBuffers();
    CFile::Abort();
}

ULONGLONG CStdioFile::GetLength()
{
    WritePending();
    return CFile::GetLength();
}

bool CStdioFile::ReadString(std::string& line)
{
    WritePending();
    line.clear();
    bool gotAny = false;
    for (;;) {
        if (readPos_ == readEnd_ && !FillReadBuffer())
            return gotAny;
        gotAny = true;
        const char* from = readBuffer_.data() + readPos_;
        const size_t available = readEnd_ - readPos_;
        const void* lf = std::memchr(from, '\n', available);
        if (!lf) {
            line.append(from, available);
            readPos_ = readEnd_;
            continue;
        }
        const size_t length = static_cast<const char*>(lf) - from;
        line.append(from, length);
        readPos_ += length + 1;
        if (textMode_ && !line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }
}

void CStdioFile::WriteString(const std::string& text)
{
    Write(text.data(), static_cast<UINT>(text.size()));
}

void CStdioFile::ReadRest(std::string& bytes)
{
    WritePending();
    const size_t kept = readEnd_ - readPos_;
    // The length is an upper bound: the position has moved past what is kept. Only room
    // beyond what bytes held is cleared before the read overwrites it, and old bytes are
    // not carried into new room.
    const size_t length = kept + static_cast<size_t>(CFile::GetLength());
    if (length > bytes.capacity())
        bytes.clear();
    bytes.resize(length);
    std::memcpy(&bytes[0], readBuffer_.data() + readPos_, kept);
    readPos_ = readEnd_ = 0;
    const UINT got = CFile::Read(&bytes[kept], static_cast<UINT>(bytes.size() - kept));
    bytes.resize(kept + got);
}

bool CStdioFile::NextLine(std::string_view bytes, size_t& at, std::string_view& line)
{
    if (at >= bytes.size()) {
        line = std::string_view();
        return false;
    }
    const size_t end = FindLineFeed(bytes, at);
    if (end == std::string_view::npos) {
        // A last line without a line end keeps its bytes as they are.
        line = bytes.substr(at);
        at = bytes.size();
        return true;
    }
    line = bytes.substr(at, end - at);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    at = end + 1;
    return true;
}

// Keeps the unread bytes, moved to the front, and reads more behind them.
bool CStdioFile::FillReadBuffer()
{
    if (readBuffer_.empty())
        readBuffer_.resize(BlockSize);
    const size_t kept = readEnd_ - readPos_;
    std::memmove(readBuffer_.data(), readBuffer_.data() + readPos_, kept);
    readPos_ = 0;
    readEnd_ = kept;
    const UINT got = CFile::Read(readBuffer_.data() + kept,
                                 static_cast<UINT>(readBuffer_.size() - kept));
    readEnd_ += got;
    return got != 0;
}

// Writing after reading must start where the reader stands, not where the read-ahead ended.
void CStdioFile::GiveBackReadAhead()
{
    const size_t unread = readEnd_ - readPos_;
    readPos_ = readEnd_ = 0;
    if (unread != 0)
        SeekBy(-static_cast<LONGLONG>(unread));
}

// Large texts go out block by block, so the buffer stays small. Translating byte by
// byte in place beats a library call per line.
void CStdioFile::AppendToWriteBuffer(const char* data, size_t count)
{
    // Under a block is pending here, and a block may double when it is all line feeds.
    if (writeBuffer_.empty())
        writeBuffer_.resize(3 * BlockSize);
    const char* const end = data + count;
    while (data != end) {
        const char* const stop = data + std::min<size_t>(end - data, BlockSize);
        char* out = writeBuffer_.data() + writeUsed_;
        if (textMode_) {
            for (; data != stop; ++data) {
                if (*data == '\n')
                    *out++ = '\r';
                *out++ = *data;
            }
        } else {
            out = std::copy(data, stop, out);
            data = stop;
        }
        writeUsed_ = out - writeBuffer_.data();
        if (writeUsed_ >= BlockSize)
            WritePending();
    }
}

// Hands the buffered bytes to the system; the buffer is emptied even on failure so
// that a broken file is not written again at close.
void CStdioFile::WritePending()
{
    const size_t pending = writeUsed_;
    writeUsed_ = 0;
    if (pending != 0)
        CFile::Write(writeBuffer_.data(), static_cast<UINT>(pending));
}

void CStdioFile::ResetBuffers()
{
    readPos_ = readEnd_ = 0;
    writeUsed_ = 0;
}
