#pragma once
#include "service/pages/FileReplies.h"
#include "service/pages/PageFiles.h"
#include "service/pages/SiteServer.h"
#include <httplib.h>
#include <string>

// The scripts and styles of the site's pages, /<folder>/<name>.js and .css:
// - under their hashed addresses (/<folder>/<name>.<hash>.js, which the pages name),
//   kept by browsers, the reverse proxy and a CDN for good;
// - under their plain addresses, for pages and links from before the hashes: kept, but
//   asked again each time.
// A hashed address whose hash is not the file's is 404, never other bytes: a cache would
// keep those for a year under an address that promises these. Behind a proxy in front
// of several instances while they are updated one by one, the 404 lets the proxy ask the
// next instance, which may have that file. The files are in memory: plain requests for
// them are answered on the connection loops.
class PageFileRoutes {
public:
    explicit PageFileRoutes(const PageFiles& files);

    void Mount(SiteServer& server, const std::string& folder);

private:
    void Serve(const httplib::Request& request, httplib::Response& response, const std::string& path,
               const std::string& hash);

    const PageFiles& files_;
    FileReplies replies_;
};
