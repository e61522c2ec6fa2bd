#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"

CHttpConnection::CHttpConnection(HINTERNET connection) : connection(connection)
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
    HINTERNET request = ::HttpOpenRequestA(connection, verb.c_str(), object.c_str(), version, referer, acceptTypes,
                                           flags, context);
    if (!request)
        CInternetException::ThrowLastError();
    return std::unique_ptr<CHttpFile>(new CHttpFile(request));
}

void CHttpConnection::Close()
{
    if (connection) {
        ::InternetCloseHandle(connection);
        connection = nullptr;
    }
}
