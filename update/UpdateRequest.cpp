#include "update/UpdateRequest.h"
#include "framework/InternetException.h"

namespace {

const DWORD_PTR RequestContext = 1;
// Every check fetches both documents again, and the update itself is no page to keep.
const DWORD NeverCached = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE;

} // namespace

std::unique_ptr<CInternetSession> OpenUpdateSession(const std::string& agentName, DWORD timeoutMs)
{
    auto session = std::make_unique<CInternetSession>(agentName, RequestContext, INTERNET_OPEN_TYPE_PRECONFIG,
                                                      nullptr, nullptr, 0);
    session->SetTimeouts(timeoutMs);
    return session;
}

std::unique_ptr<CHttpFile> OpenUpdateFile(CInternetSession& session, const std::string& url, DWORD transferFlag)
{
    std::unique_ptr<CHttpFile> file = session.OpenURL(url, RequestContext, NeverCached | transferFlag, std::string());
    if (file->QueryInfoStatusCode() >= 300)
        throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE);
    return file;
}
