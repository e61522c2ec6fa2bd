#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"
#include "framework/InternetTimeouts.h"

CHttpConnection::CHttpConnection(HINTERNET connection, DWORD timeoutMs)
    : connection_(connection), timeoutMs_(timeoutMs)
{
}

CHttpConnection::~CHttpConnection()
{
    Close();
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const std::string& verb, const std::string& object,
                                                        const char* referer, DWORD_PTR context,
                                                        const char** acceptTypes, const char* version, DWORD flags)
{
    HINTERNET request = ::HttpOpenRequestA(connection_, verb.c_str(), object.c_str(), version, referer, acceptTypes,
                                           flags, context);
    if (!request)
        CInternetException::ThrowLastError();
    std::unique_ptr<CHttpFile> file(new CHttpFile(request));
    if (timeoutMs_ != 0)
        ApplyInternetTimeouts(request, timeoutMs_);
    return file;
}

void CHttpConnection::Close()
{
    if (connection_) {
        ::InternetCloseHandle(connection_);
        connection_ = nullptr;
    }
}
