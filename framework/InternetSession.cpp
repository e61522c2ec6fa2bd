#include "framework/InternetSession.h"
#include "framework/HttpConnection.h"
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

void CInternetSession::Close()
{
    if (session_) {
        ::InternetCloseHandle(session_);
        session_ = nullptr;
    }
}
