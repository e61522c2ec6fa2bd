#pragma once
#include <windows.h>
#include <wininet.h>
#include <string>

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

    // The next line of the body without its line feed, at most maxLength bytes of it (the
    // rest of a longer line comes with the next call). False at the end of the body.
    bool ReadString(std::string& line, size_t maxLength);
    // Up to count bytes of the body; 0 at its end.
    UINT Read(void* buffer, UINT count);
    void Close();

private:
    friend class CHttpConnection;
    explicit CHttpFile(HINTERNET request);

    // Reads the next block of the body into the buffer; false at the end of the body.
    bool FillBuffer();
    // Up to size bytes of the body straight from WinInet; 0 at its end.
    DWORD ReadBody(void* buffer, DWORD size);
    // The Content-Length of the reply; 0 when it gave none.
    DWORD DeclaredLength();

    HINTERNET request_;
    // Bytes of the body read from WinInet so far.
    ULONGLONG received_ = 0;
    // Read from the body but not yet handed out: the rest of the block ReadString took.
    std::string buffered_;
};
