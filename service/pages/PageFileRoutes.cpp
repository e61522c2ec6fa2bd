#include "service/pages/PageFileRoutes.h"
#include "service/pages/MissingPage.h"

namespace {

const char* TypeOf(const std::string& extension)
{
    return extension == "js" ? "text/javascript; charset=utf-8" : "text/css; charset=utf-8";
}

} // namespace

PageFileRoutes::PageFileRoutes(const PageFiles& files) : files_(files)
{
}

void PageFileRoutes::Mount(SiteServer& server, const std::string& folder)
{
    server.Serve("GET", "/" + folder + "/([A-Za-z0-9_-]+)\\.(js|css)",
                 [this, folder](const httplib::Request& request, httplib::Response& response) {
                     Serve(request, response, folder + "/" + request.matches[1].str() + "." + request.matches[2].str(),
                           std::string());
                 });
    server.Serve("GET", "/" + folder + "/([A-Za-z0-9_-]+)\\.([0-9a-f]{16})\\.(js|css)",
                 [this, folder](const httplib::Request& request, httplib::Response& response) {
                     Serve(request, response, folder + "/" + request.matches[1].str() + "." + request.matches[3].str(),
                           request.matches[2]);
                 });
}

// `hash` is empty for the plain address.
void PageFileRoutes::Serve(const httplib::Request& request, httplib::Response& response, const std::string& path,
                           const std::string& hash)
{
    const PageFile* file = files_.Find(path);
    if (!file || (!hash.empty() && hash != file->hash))
        return AnswerMissingGreeting(files_, response);
    replies_.Send(request, response, path, file->bytes, file->hash, TypeOf(path.substr(path.rfind('.') + 1)),
                  hash.empty() ? Freshness::Revalidate : Freshness::Immutable);
}
