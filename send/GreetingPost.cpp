#include "send/GreetingPost.h"
#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"
#include "framework/InternetSession.h"
#include "settings/SiteInfo.h"
#include <memory>

namespace {

const char UploadObject[] = "/upload.asp";
const DWORD_PTR RequestContext = 1;

const char ConnectFailed[] = "Failed to connect to the Parlacard web site.\n\nError Description: ";
const char SendFailed[] = "Failed to send greeting to the Parlacard web site.\n\nError Description: ";

// The error text comes through a buffer of 254 characters.
const size_t MaxErrorText = 253;
// An id is a handful of digits; a longer first line is cut off.
const size_t MaxReplyLine = 1024;

std::string AgentName()
{
    return std::string("Parlacard (http://") + SiteHost + ")";
}

std::string ErrorText(const CInternetException& error)
{
    return error.GetErrorMessage().substr(0, MaxErrorText);
}

} // namespace

bool PostGreeting(const std::string& body, GreetingPostReply& reply, std::string& failure, DWORD timeoutMs)
{
    std::unique_ptr<CInternetSession> session;
    std::unique_ptr<CHttpConnection> connection;
    try {
        session = std::make_unique<CInternetSession>(AgentName(), RequestContext, INTERNET_OPEN_TYPE_PRECONFIG,
                                                     nullptr, nullptr, 0);
        session->SetTimeouts(timeoutMs);
        connection = session->GetHttpConnection(SiteHost, INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr);
    } catch (const CInternetException& error) {
        failure = ConnectFailed + ErrorText(error);
        return false;
    }
    try {
        std::unique_ptr<CHttpFile> request = connection->OpenRequest("POST", UploadObject, nullptr, RequestContext,
                                                                     nullptr, nullptr, INTERNET_FLAG_EXISTING_CONNECT);
        request->SendRequest(std::string(), body.data(), static_cast<DWORD>(body.size()));
        reply.status = request->QueryInfoStatusCode();
        // Only the first line counts; the rest of the reply is never read. One byte more
        // than is kept tells a line that was cut from one that fitted.
        reply.firstLine.clear();
        request->ReadString(reply.firstLine, MaxReplyLine + 1);
        reply.lineCut = reply.firstLine.size() > MaxReplyLine;
        if (reply.lineCut)
            reply.firstLine.resize(MaxReplyLine);
    } catch (const CInternetException& error) {
        failure = SendFailed + ErrorText(error);
        return false;
    }
    return true;
}
