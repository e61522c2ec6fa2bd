#pragma once
#include <windows.h>
#include <wininet.h>
#include <memory>
#include <string>

class CHttpConnection;
class CHttpFile;

// A WinInet session: the agent name that every request of it sends, and the proxy
// settings its connections go through. It closes itself, and with it everything opened
// through it, when destroyed.
class CInternetSession {
public:
    // Throws CInternetException when WinInet refuses the session.
    CInternetSession(const std::string& agent, DWORD_PTR context, DWORD accessType, const char* proxyName,
                     const char* proxyBypass, DWORD flags);
    ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A connection to an HTTP server; WinInet connects only when a request is sent.
    // Throws CInternetException.
    std::unique_ptr<CHttpConnection> GetHttpConnection(const std::string& server, INTERNET_PORT port,
                                                       const char* userName, const char* password);
    // The time-outs for connecting and for each send and receive of every request made
    // through this session: without them a server that stops answering blocks for ever.
    // Throws CInternetException.
    void SetTimeouts(DWORD milliseconds);
    // Sends a GET for an http or https address at once (WinInet follows redirects) and
    // returns the reply to read. Throws CInternetException, also for any other scheme.
    std::unique_ptr<CHttpFile> OpenURL(const std::string& url, DWORD_PTR context, DWORD flags,
                                       const std::string& headers);
    void Close();

private:
    HINTERNET session_;
    DWORD_PTR context_;
    // Set by SetTimeouts for every request of the session; 0 leaves WinInet's own.
    DWORD timeoutMs_ = 0;
};
