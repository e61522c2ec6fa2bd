#pragma once
#include "framework/FileException.h"
#include <windows.h>
#include <string>

// A file on disk, unbuffered: every Read and Write is one system call.
// Errors after a successful Open are thrown as CFileException.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file; errors are lost, so call Close to learn about them.
    virtual ~CFile();

    // Fills *error (when given) and returns false if the file cannot be opened.
    virtual bool Open(const std::string& path, UINT flags, CFileException* error = nullptr);
    // Returns the number of bytes read, 0 at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Commits everything written so far to the disk.
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors, for clean-up after a failure.
    virtual void Abort();
    virtual ULONGLONG GetLength();

    const std::string& GetFilePath() const { return m_strFileName; }
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

protected:
    [[noreturn]] void ThrowLastError() const;
    // Moves the system's file pointer; used by the buffered subclass to give back read-ahead.
    void SeekBy(LONGLONG offset);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_strFileName;
};
