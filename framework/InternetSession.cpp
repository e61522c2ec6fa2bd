#include "framework/InternetSession.h"
#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"

CInternetSession::CInternetSession(const std::string& agent, DWORD_PTR context, DWORD accessType,
                                   const char* proxyName, const char* proxyBypass, DWORD flags)
    : session(::InternetOpenA(agent.c_str(), accessType, proxyName, proxyBypass, flags)), context(context)
{
    if (!session)
        CInternetException::ThrowLastError();
}

CInternetSession::~CInternetSession()
{
    Close();
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const std::string& server, INTERNET_PORT port,
                                                                     const char* userName, const char* password)
{
    HINTERNET connection = ::InternetConnectA(session, server.c_str(), port, userName, password,
                                              INTERNET_SERVICE_HTTP, 0, context);
    if (!connection)
        CInternetException::ThrowLastError();
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(connection));
}

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(const std::string& url, DWORD_PTR requestContext, DWORD flags,
                                                     const std::string& headers)
{
    // WinInet would open ftp and file addresses too, which nothing of ours expects.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    if (!::InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        CInternetException::ThrowLastError();
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        throw CInternetException(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    HINTERNET request = ::InternetOpenUrlA(session, url.c_str(), headers.empty() ? nullptr : headers.c_str(),
                                           static_cast<DWORD>(headers.size()), flags, requestContext);
    if (!request)
        CInternetException::ThrowLastError();
    std::unique_ptr<CHttpFile> file(new CHttpFile(request));
    file->CheckStatusArrived();
    return file;
}

void CInternetSession::Close()
{
    if (session) {
        ::InternetCloseHandle(session);
        session = nullptr;
    }
}
