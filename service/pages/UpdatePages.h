#pragma once
#include "service/pages/SiteServer.h"
#include "service/pages/UpdateReplyPlan.h"
#include <httplib.h>
#include <string>

// The site's update files: "/update/<name>" serves the file of that name from the update
// folder (the manifest ver.txt, the news document it names, the update itself), each
// with its Content-Length, or misbehaves as the plan says.
class UpdatePages {
public:
    UpdatePages(const std::string& folder, const UpdateReplyPlan& plan);

    // Registers the pages; they must come before the site's catch-all.
    void Mount(SiteServer& server);

    // Names the folder may serve: letters, digits, ".", "-" and "_", not starting with a dot.
    static bool IsServedName(const std::string& name);

private:
    void Answer(const std::string& name, httplib::Response& response);

    std::string folder_;
    const UpdateReplyPlan& plan_;
};
