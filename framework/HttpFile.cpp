#include "framework/HttpFile.h"
#include "framework/InternetException.h"
#include <algorithm>
#include <cstring>

namespace {

const DWORD ReadBlockSize = 4096;

// A numeric item of the reply's head; false when the reply has none.
bool QueryNumber(HINTERNET request, DWORD item, DWORD& value)
{
    DWORD size = sizeof(value);
    return ::HttpQueryInfoA(request, item | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

} // namespace

CHttpFile::CHttpFile(HINTERNET request) : request_(request)
{
}

CHttpFile::~CHttpFile()
{
    Close();
}

void CHttpFile::SendRequest(const std::string& headers, const void* body, DWORD bodyLength)
{
    if (!::HttpSendRequestA(request_, headers.empty() ? nullptr : headers.c_str(), static_cast<DWORD>(headers.size()),
                            const_cast<void*>(body), bodyLength))
        CInternetException::ThrowLastError();
    // A server that closed the connection without a word leaves no status behind; some
    // WinInet versions report success for that all the same.
    DWORD status = 0;
    if (!QueryNumber(request_, HTTP_QUERY_STATUS_CODE, status) || status == 0)
        throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE);
}

DWORD CHttpFile::QueryInfoStatusCode()
{
    DWORD status = 0;
    if (!QueryNumber(request_, HTTP_QUERY_STATUS_CODE, status))
        CInternetException::ThrowLastError();
    return status;
}

bool CHttpFile::FillBuffer()
{
    char block[ReadBlockSize];
    const DWORD read = ReadBody(block, sizeof(block));
    buffered_.append(block, read);
    return read != 0;
}

DWORD CHttpFile::ReadBody(void* buffer, DWORD size)
{
    DWORD read = 0;
    if (!::InternetReadFile(request_, buffer, size, &read))
        CInternetException::ThrowLastError();
    received_ += read;
    // WinInet takes a connection that closes early for the end of the body; a reply that
    // is cut short must not pass for a whole one.
    if (read == 0 && size != 0 && received_ < DeclaredLength())
        throw CInternetException(ERROR_INTERNET_CONNECTION_ABORTED);
    return read;
}

DWORD CHttpFile::DeclaredLength()
{
    DWORD length = 0;
    return QueryNumber(request_, HTTP_QUERY_CONTENT_LENGTH, length) ? length : 0;
}

bool CHttpFile::ReadString(std::string& line, size_t maxLength)
{
    size_t end;
    while ((end = buffered_.find('\n')) == std::string::npos && buffered_.size() < maxLength && FillBuffer()) {
    }
    if (buffered_.empty())
        return false;
    const size_t length = std::min({ end, buffered_.size(), maxLength });
    line = buffered_.substr(0, length);
    buffered_.erase(0, length < buffered_.size() && buffered_[length] == '\n' ? length + 1 : length);
    return true;
}

UINT CHttpFile::Read(void* buffer, UINT count)
{
    if (!buffered_.empty()) {
        const UINT taken = static_cast<UINT>(std::min<size_t>(count, buffered_.size()));
        memcpy(buffer, buffered_.data(), taken);
        buffered_.erase(0, taken);
        return taken;
    }
    return ReadBody(buffer, count);
}

void CHttpFile::Close()
{
    if (request_) {
        ::InternetCloseHandle(request_);
        request_ = nullptr;
    }
    buffered_.clear();
}
