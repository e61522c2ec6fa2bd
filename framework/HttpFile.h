#pragma once
#include <windows.h>
#include <wininet.h>
#include <memory>
#include <string>

class CHttpConnection;
// One HTTP request and its reply, made by CHttpConnection::OpenRequest: send it, then
// read the reply's body line by line or in blocks. Closed when destroyed. Every failure
// throws CInternetException.
class CHttpFile {
public:
    ~CHttpFile();
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;

    // Sends the request with the extra header lines (none when empty) and the body;
    // WinInet adds the body's length. Returns once the reply's head has arrived.
    void SendRequest(const std::string& headers, const void* body, DWORD bodyLength);
    // The status code of the reply, once the request has been sent.
    DWORD QueryInfoStatusCode();
    // A text item of the reply's head (HTTP_QUERY_LOCATION, ...); false when it has none.
    bool QueryInfo(DWORD item, std::string& value);
    // The Content-Length of the reply; false when it gave none.
    bool QueryContentLength(DWORD& length);

    // The next line of the body without its line feed, at most maxLength bytes of it (the
    // rest of a longer line comes with the next call). False at the end of the body.
    bool ReadString(std::string& line, size_t maxLength);
    // Up to count bytes of the body; 0 at its end.
    UINT Read(void* buffer, UINT count);
    void Close();

private:
    friend class CHttpConnection;
    friend class CInternetSession;
    explicit CHttpFile(HINTERNET request);

    // The connection the request was made on, for a request that is the only user of it:
    // closing a connection takes its requests with it.
    void KeepConnection(std::unique_ptr<CHttpConnection> connection);
    // Appends up to size bytes of the body to the buffer; false at the end of the body.
    bool FillBuffer(DWORD size);
    size_t Buffered() const { return buffered_.size() - bufferedStart_; }
    // Up to size bytes of the body straight from WinInet; 0 at its end.
    DWORD ReadBody(void* buffer, DWORD size);

    std::unique_ptr<CHttpConnection> connection_;
    HINTERNET request_;
    // Bytes of the body read from WinInet so far.
    ULONGLONG received_ = 0;
    // Read from the body but not yet handed out: buffered_ from bufferedStart_ on.
    std::string buffered_;
    size_t bufferedStart_ = 0;
    // The size of the next read from WinInet when a small one is asked for.
    DWORD readAhead_ = 0;
};
