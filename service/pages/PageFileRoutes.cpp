#include "service/pages/PageFileRoutes.h"
#include "service/pages/MissingPage.h"

namespace {

// The names the routes' patterns take, and so the only ones answered on the loops too.
bool IsRoutedName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    for (size_t i = slash + 1; i < dot; ++i) {
        const char c = path[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    }
    return dot > slash + 1;
}

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
    for (const auto& [plain, hashed] : files_.Addresses()) {
        if (plain.compare(0, folder.size() + 2, "/" + folder + "/") != 0 || !IsRoutedName(plain))
            continue;
        const std::string path = plain.substr(1);
        const std::string hash = files_.Find(path)->hash;
        server.ServeOnLoop(plain, [this, path](const httplib::Request& request, httplib::Response& response) {
            Serve(request, response, path, std::string());
        });
        server.ServeOnLoop(hashed, [this, path, hash](const httplib::Request& request, httplib::Response& response) {
            Serve(request, response, path, hash);
        });
    }
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
