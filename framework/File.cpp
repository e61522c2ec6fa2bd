#include "framework/File.h"

namespace {

DWORD AccessFor(UINT flags)
{
    if (flags & CFile::modeReadWrite)
        return GENERIC_READ | GENERIC_WRITE;
    if (flags & CFile::modeWrite)
        return GENERIC_WRITE;
    return GENERIC_READ;
}

DWORD SharingFor(UINT flags)
{
    switch (flags & (CFile::shareExclusive | CFile::shareDenyWrite | CFile::shareDenyNone)) {
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    default:
        return 0;
    }
}

DWORD CreationFor(UINT flags)
{
    if (!(flags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

} // namespace

CFile::~CFile()
{
    Abort();
}

bool CFile::Open(const std::string& path, UINT flags, CFileException* error)
{
    Abort();
    m_strFileName = path;
    m_hFile = ::CreateFileA(path.c_str(), AccessFor(flags), SharingFor(flags), nullptr,
                            CreationFor(flags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        if (error) {
            const LONG osError = static_cast<LONG>(::GetLastError());
            *error = CFileException(CFileException::OsErrorToException(osError), osError, path);
        }
        return false;
    }
    return true;
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD done = 0;
    if (!::ReadFile(m_hFile, buffer, count, &done, nullptr))
        ThrowLastError();
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    DWORD done = 0;
    if (!::WriteFile(m_hFile, buffer, count, &done, nullptr))
        ThrowLastError();
    // A disk file takes all or fails; a short write means the medium is full.
    if (done != count)
        CFileException::ThrowOsError(ERROR_DISK_FULL, m_strFileName);
}

void CFile::Flush()
{
    if (!::FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    if (!IsOpen())
        return;
    const bool closed = ::CloseHandle(m_hFile) != 0;
    const LONG osError = static_cast<LONG>(::GetLastError());
    m_hFile = INVALID_HANDLE_VALUE;
    if (!closed)
        CFileException::ThrowOsError(osError, m_strFileName);
}

void CFile::Abort()
{
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

ULONGLONG CFile::GetLength()
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

void CFile::SeekBy(LONGLONG offset)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    if (!::SetFilePointerEx(m_hFile, distance, nullptr, FILE_CURRENT))
        ThrowLastError();
}
