#pragma once
#include "service/mail/MailComposer.h"
#include "service/pages/PageFileRoutes.h"
#include "service/pages/PlayerPages.h"
#include "service/pages/PageFiles.h"
#include "service/pages/SendPages.h"
#include "service/pages/SiteSettings.h"
#include "service/pages/UploadReplyPlan.h"
#include "service/store/GreetingStore.h"
#include <functional>
#include <httplib.h>

// The service's web site: the greeting upload, the send page, the greeting page with its
// pick-up links, the plain pages and /healthz. It answers both as the site itself and as
// a proxy does for requests naming the site's address in full; with the test option,
// every request it answers goes into the request log.
class ParlacardSite {
public:
    // mailQueued is called whenever a message was queued, to wake the outbox.
    ParlacardSite(const SiteSettings& settings, const std::string& webFolder, GreetingStore& store,
                  const MailComposer& composer, std::function<void()> mailQueued, const UploadReplyPlan& plan);

    // Registers the site's pages, and last a page-not-found for everything else.
    void Mount(SiteServer& server);

private:
    void Upload(const httplib::Request& request, httplib::Response& response);
    void NotePickUp(std::uint64_t id, const std::string& token);

    const SiteSettings& settings_;
    PageFiles files_;
    GreetingStore& store_;
    const MailComposer& composer_;
    std::function<void()> mailQueued_;
    const UploadReplyPlan& plan_;
    PlayerPages player_;
    SendPages send_;
    PageFileRoutes pageFiles_;
};
