#include "framework/InternetSession.h"
#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"
#include "framework/InternetTimeouts.h"

CInternetSession::CInternetSession(const std::string& agent, DWORD_PTR context, DWORD accessType,
                                   const char* proxyName, const char* proxyBypass, DWORD flags)
    : session_(::InternetOpenA(agent.c_str(), accessType, proxyName, proxyBypass, flags)), context_(context)
{
    if (!session_)
        CInternetException::ThrowLastError();
}

CInternetSession::~CInternetSession()
{
    Close();
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const std::string& server, INTERNET_PORT port,
                                                                     const char* userName, const char* password)
{
    HINTERNET connection = ::InternetConnectA(session_, server.c_str(), port, userName, password,
                                              INTERNET_SERVICE_HTTP, 0, context_);
    if (!connection)
        CInternetException::ThrowLastError();
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(connection, timeoutMs_));
}

void CInternetSession::SetTimeouts(DWORD milliseconds)
{
    ApplyInternetTimeouts(session_, milliseconds);
    timeoutMs_ = milliseconds;
}

// Through a connection and a request of its own rather than InternetOpenUrl, which sends
// at once: a request made so gets the session's time-outs before it is sent.
std::unique_ptr<CHttpFile> CInternetSession::OpenURL(const std::string& url, DWORD_PTR requestContext, DWORD flags,
                                                     const std::string& headers)
{
    std::string host(INTERNET_MAX_HOST_NAME_LENGTH + 1, '\0');
    std::string path(url.size() + 1, '\0');
    std::string extra(url.size() + 1, '\0');
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = &host[0];
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = &path[0];
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = &extra[0];
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!::InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        CInternetException::ThrowLastError();
    // WinInet would open ftp and file addresses too, which nothing of ours expects.
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        throw CInternetException(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    host.resize(parts.dwHostNameLength);
    path.resize(parts.dwUrlPathLength);
    extra.resize(parts.dwExtraInfoLength);

    std::unique_ptr<CHttpConnection> connection = GetHttpConnection(host, parts.nPort, nullptr, nullptr);
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    std::unique_ptr<CHttpFile> file = connection->OpenRequest("GET", path.empty() ? "/" : path + extra, nullptr,
                                                              requestContext, nullptr, nullptr, flags | secure);
    file->KeepConnection(std::move(connection));
    file->SendRequest(headers, nullptr, 0);
    return file;
}

void CInternetSession::Close()
{
    if (session_) {
        ::InternetCloseHandle(session_);
        session_ = nullptr;
    }
}
