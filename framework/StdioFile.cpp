#include "framework/StdioFile.h"
#include <algorithm>
#include <cstring>

namespace {
// Big enough that large files cost few system calls.
constexpr size_t BlockSize = 64 * 1024;
}

CStdioFile::~CStdioFile()
{
    Abort();
}

bool CStdioFile::Open(const std::string& path, UINT flags, CFileException* error)
{
    if (!CFile::Open(path, flags, error))
        return false;
    m_textMode = (flags & typeBinary) == 0;
    return true;
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    WritePending();
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_readPos == m_readEnd && !FillReadBuffer())
            break;
        const char* from = m_readBuffer.data() + m_readPos;
        size_t run = std::min<size_t>(m_readEnd - m_readPos, count - done);
        if (m_textMode) {
            if (const void* cr = std::memchr(from, '\r', run))
                run = static_cast<const char*>(cr) - from;
        }
        if (run != 0) {
            std::memcpy(out + done, from, run);
            done += static_cast<UINT>(run);
            m_readPos += run;
            continue;
        }
        // A CR in text mode: it vanishes when an LF follows.
        if (m_readPos + 1 == m_readEnd)
            FillReadBuffer();
        if (m_readPos + 1 < m_readEnd && m_readBuffer[m_readPos + 1] == '\n') {
            ++m_readPos;
            continue;
        }
        out[done++] = '\r';
        ++m_readPos;
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
        if (m_readPos == m_readEnd && !FillReadBuffer())
            return gotAny;
        gotAny = true;
        const char* from = m_readBuffer.data() + m_readPos;
        const size_t available = m_readEnd - m_readPos;
        const void* lf = std::memchr(from, '\n', available);
        if (!lf) {
            line.append(from, available);
            m_readPos = m_readEnd;
            continue;
        }
        const size_t length = static_cast<const char*>(lf) - from;
        line.append(from, length);
        m_readPos += length + 1;
        if (m_textMode && !line.empty() && line.back() == '\r')
            line.pop_back();
        return true;
    }
}

void CStdioFile::WriteString(const std::string& text)
{
    Write(text.data(), static_cast<UINT>(text.size()));
}

// Keeps the unread bytes, moved to the front, and reads more behind them.
bool CStdioFile::FillReadBuffer()
{
    if (m_readBuffer.empty())
        m_readBuffer.resize(BlockSize);
    const size_t kept = m_readEnd - m_readPos;
    std::memmove(m_readBuffer.data(), m_readBuffer.data() + m_readPos, kept);
    m_readPos = 0;
    m_readEnd = kept;
    const UINT got = CFile::Read(m_readBuffer.data() + kept,
                                 static_cast<UINT>(m_readBuffer.size() - kept));
    m_readEnd += got;
    return got != 0;
}

// Writing after reading must start where the reader stands, not where the read-ahead ended.
void CStdioFile::GiveBackReadAhead()
{
    const size_t unread = m_readEnd - m_readPos;
    m_readPos = m_readEnd = 0;
    if (unread != 0)
        SeekBy(-static_cast<LONGLONG>(unread));
}

// Large texts go out block by block, so the buffer stays small. Translating byte by
// byte in place beats a library call per line.
void CStdioFile::AppendToWriteBuffer(const char* data, size_t count)
{
    // Under a block is pending here, and a block may double when it is all line feeds.
    if (m_writeBuffer.empty())
        m_writeBuffer.resize(3 * BlockSize);
    const char* const end = data + count;
    while (data != end) {
        const char* const stop = data + std::min<size_t>(end - data, BlockSize);
        char* out = m_writeBuffer.data() + m_writeUsed;
        if (m_textMode) {
            for (; data != stop; ++data) {
                if (*data == '\n')
                    *out++ = '\r';
                *out++ = *data;
            }
        } else {
            out = std::copy(data, stop, out);
            data = stop;
        }
        m_writeUsed = out - m_writeBuffer.data();
        if (m_writeUsed >= BlockSize)
            WritePending();
    }
}

// Hands the buffered bytes to the system; the buffer is emptied even on failure so
// that a broken file is not written again at close.
void CStdioFile::WritePending()
{
    const size_t pending = m_writeUsed;
    m_writeUsed = 0;
    if (pending != 0)
        CFile::Write(m_writeBuffer.data(), static_cast<UINT>(pending));
}

void CStdioFile::ResetBuffers()
{
    m_readPos = m_readEnd = 0;
    m_writeUsed = 0;
}
