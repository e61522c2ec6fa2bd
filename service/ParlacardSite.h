#pragma once
#include "service/GreetingStore.h"
#include "service/PlayerPages.h"
#include "service/RequestLog.h"
#include "service/UploadReplyPlan.h"
#include <httplib.h>

// The service's web site: the greeting upload, the send page, the greeting page and
// the plain pages. It
// answers both as the site itself and as a proxy does for requests naming the site's
// address in full; every request it answers goes into the request log.
class ParlacardSite {
public:
    ParlacardSite(GreetingStore& store, RequestLog& log, const UploadReplyPlan& plan);

    // Registers the site's pages, and last a page-not-found for everything else.
    void Mount(httplib::Server& server);

private:
    void Upload(const httplib::Request& request, httplib::Response& response);
    void SendPage(const httplib::Request& request, httplib::Response& response);

    GreetingStore& store_;
    RequestLog& log_;
    const UploadReplyPlan& plan_;
    PlayerPages player_;
};
