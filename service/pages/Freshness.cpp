#include "service/pages/Freshness.h"

namespace {

// If-None-Match compares weakly: "W/" is ignored, and "*" matches whatever is there.
bool ListHolds(const std::string& list, const std::string& entityTag)
{
    size_t at = 0;
    while (at < list.size()) {
        const size_t end = std::min(list.find(',', at), list.size());
        std::string tag = list.substr(at, end - at);
        tag.erase(0, tag.find_first_not_of(" \t"));
        tag.erase(tag.find_last_not_of(" \t") + 1);
        if (tag.compare(0, 2, "W/") == 0)
            tag.erase(0, 2);
        if (tag == "*" || tag == entityTag)
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

bool AnswerFromCache(const httplib::Request& request, httplib::Response& response, const std::string& entityTag,
                     Freshness freshness)
{
    if (freshness == Freshness::NoStore) {
        ForbidStoring(response);
        return false;
    }
    response.set_header("ETag", entityTag);
    response.set_header("Cache-Control", freshness == Freshness::Immutable ? "public, max-age=31536000, immutable"
                                                                           : "no-cache");
    if (!ListHolds(request.get_header_value("If-None-Match"), entityTag))
        return false;
    response.status = 304;
    return true;
}

void ForbidStoring(httplib::Response& response)
{
    // Also over what a reply that turned out missing had set before.
    response.headers.erase("ETag");
    response.headers.erase("Cache-Control");
    response.set_header("Cache-Control", "no-store");
}
