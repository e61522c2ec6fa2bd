#include "update/UpdateRequest.h"
#include "framework/InternetException.h"
#include "update/UpdateManifest.h"
#include <wininet.h>

namespace {

const DWORD_PTR RequestContext = 1;
// Every check fetches both documents again, and the update itself is no page to keep.
const DWORD NeverCached = INTERNET_FLAG_RELOAD | INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE;
// Redirects are followed here rather than by WinInet, which follows a loop for ever.
const int MaxRedirects = 5;

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The address a redirect names, made absolute against the address that gave it.
std::string RedirectTarget(const std::string& from, const std::string& location)
{
    std::string combined(INTERNET_MAX_URL_LENGTH + 1, '\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (!::InternetCombineUrlA(from.c_str(), location.c_str(), &combined[0], &length, ICU_NO_ENCODE))
        return std::string();
    combined.resize(length);
    return combined;
}

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
    std::string address = url;
    for (int redirects = 0;; ++redirects) {
        std::unique_ptr<CHttpFile> file = session.OpenURL(
            address, RequestContext, NeverCached | INTERNET_FLAG_NO_AUTO_REDIRECT | transferFlag, std::string());
        const DWORD status = file->QueryInfoStatusCode();
        if (status < 300)
            return file;
        std::string location;
        if (!IsRedirect(status) || redirects == MaxRedirects || !file->QueryInfo(HTTP_QUERY_LOCATION, location))
            throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE);
        address = RedirectTarget(address, location);
        // A redirect leads only where the manifest itself could have led.
        if (!IsWebAddress(address))
            throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE);
    }
}
