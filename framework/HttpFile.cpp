#include "framework/HttpFile.h"
#include "framework/HttpConnection.h"
#include "framework/InternetException.h"
#include <algorithm>
#include <cstring>

namespace {

const DWORD ReadBlockSize = 4096;
// Small reads of a fast transfer are served from larger reads: every call into WinInet
// has its cost.
const DWORD ReadAheadSize = 64 * 1024;

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

void CHttpFile::KeepConnection(std::unique_ptr<CHttpConnection> connection)
{
    connection_ = std::move(connection);
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

bool CHttpFile::FillBuffer(DWORD size)
{
    buffered_.erase(0, bufferedStart_);
    bufferedStart_ = 0;
    const size_t kept = buffered_.size();
    buffered_.resize(kept + size);
    const DWORD read = ReadBody(&buffered_[kept], size);
    buffered_.resize(kept + read);
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
    DWORD declared = 0;
    if (read == 0 && size != 0 && QueryContentLength(declared) && received_ < declared)
        throw CInternetException(ERROR_INTERNET_CONNECTION_ABORTED);
    return read;
}

bool CHttpFile::QueryInfo(DWORD item, std::string& value)
{
    DWORD size = 0;
    ::HttpQueryInfoA(request_, item, nullptr, &size, nullptr);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return false;
    value.assign(size, '\0');
    if (!::HttpQueryInfoA(request_, item, &value[0], &size, nullptr))
        return false;
    value.resize(size);
    return true;
}

bool CHttpFile::QueryContentLength(DWORD& length)
{
    return QueryNumber(request_, HTTP_QUERY_CONTENT_LENGTH, length);
}

bool CHttpFile::ReadString(std::string& line, size_t maxLength)
{
    // What has been searched for the line feed is not searched again after a refill.
    size_t searched = 0;
    size_t end;
    while ((end = buffered_.find('\n', bufferedStart_ + searched)) == std::string::npos && Buffered() < maxLength) {
        searched = Buffered();
        if (!FillBuffer(ReadBlockSize))
            break;
    }
    const size_t available = Buffered();
    if (available == 0)
        return false;
    const size_t length = std::min({ end == std::string::npos ? available : end - bufferedStart_, available, maxLength });
    line.assign(buffered_, bufferedStart_, length);
    bufferedStart_ += length < available && buffered_[bufferedStart_ + length] == '\n' ? length + 1 : length;
    return true;
}

UINT CHttpFile::Read(void* buffer, UINT count)
{
    if (Buffered() == 0) {
        // More waiting than asked for means the data comes faster than it is taken: read
        // ahead further each time. Otherwise a read waits for no more than was asked, so
        // that a slow transfer still shows its progress and stops when told.
        DWORD available = 0;
        if (::InternetQueryDataAvailable(request_, &available, 0, 0) && available > count)
            readAhead_ = std::min(std::max<DWORD>(readAhead_, count) * 2, ReadAheadSize);
        else
            readAhead_ = count;
        if (readAhead_ <= count)
            return ReadBody(buffer, count);
        if (!FillBuffer(readAhead_))
            return 0;
    }
    const UINT taken = static_cast<UINT>(std::min<size_t>(count, Buffered()));
    memcpy(buffer, buffered_.data() + bufferedStart_, taken);
    bufferedStart_ += taken;
    return taken;
}

void CHttpFile::Close()
{
    if (request_) {
        ::InternetCloseHandle(request_);
        request_ = nullptr;
    }
    connection_.reset();
    buffered_.clear();
    bufferedStart_ = 0;
}
