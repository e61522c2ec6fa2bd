#pragma once
#include <windows.h>
#include <wininet.h>
#include <memory>
#include <string>

class CHttpFile;

// A connection to one HTTP server, made by CInternetSession::GetHttpConnection. Closed
// when destroyed.
class CHttpConnection {
public:
    ~CHttpConnection();
    CHttpConnection(const CHttpConnection&) = delete;
    CHttpConnection& operator=(const CHttpConnection&) = delete;

    // A request for the object (the path on the server). Null referer, accept types and
    // version leave WinInet's defaults. Nothing is sent before CHttpFile::SendRequest.
    // Throws CInternetException.
    std::unique_ptr<CHttpFile> OpenRequest(const std::string& verb, const std::string& object, const char* referer,
                                           DWORD_PTR context, const char** acceptTypes, const char* version,
                                           DWORD flags);
    void Close();

private:
    friend class CInternetSession;
    CHttpConnection(HINTERNET connection, DWORD timeoutMs);

    HINTERNET connection_;
    // The session's time-outs, given to every request; 0 for WinInet's own.
    DWORD timeoutMs_;
};
