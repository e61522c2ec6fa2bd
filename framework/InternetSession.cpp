#include "framework/InternetSession.h"
#include "framework/HttpConnection.h"
#include "framework/InternetException.h"
#include "framework/InternetTimeouts.h"

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
    return std::unique_ptr<CHttpConnection>(new CHttpConnection(connection, timeoutMs));
}

void CInternetSession::SetTimeouts(DWORD milliseconds)
{
    ApplyInternetTimeouts(session, milliseconds);
    timeoutMs = milliseconds;
}

void CInternetSession::Close()
{
    if (session) {
        ::InternetCloseHandle(session);
        session = nullptr;
    }
}
