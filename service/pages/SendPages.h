#pragma once
#include "service/mail/MailComposer.h"
#include "service/pages/PageFiles.h"
#include "service/pages/SiteServer.h"
#include "service/pages/SiteSettings.h"
#include "service/store/GreetingStore.h"
#include <functional>
#include <httplib.h>
#include <string>

// The pages of sending:
//   GET  /send/default.asp?GID=<id>   the greeting playing, who sends it to whom and each
//                                     recipient's state, with a Send button until it is sent
//   POST /send/default.asp            Send: GID and the greeting's form token; queues one
//                                     message per recipient, once
//   GET|POST /unsubscribe.asp?r=<t>   the recipient of that link is never mailed again
// The page's style, /send/send.css, is PageFileRoutes'.
class SendPages {
public:
    SendPages(const SiteSettings& settings, const PageFiles& files, GreetingStore& store, const MailComposer& composer,
              std::function<void()> mailQueued);

    void Mount(SiteServer& server);

private:
    void Page(const httplib::Request& request, httplib::Response& response) const;
    void Send(const httplib::Request& request, httplib::Response& response);
    void Unsubscribe(const httplib::Request& request, httplib::Response& response);
    std::string Panel(const StoredGreeting& greeting) const;

    const SiteSettings& settings_;
    const PageFiles& files_;
    GreetingStore& store_;
    const MailComposer& composer_;
    std::function<void()> mailQueued_;
    // The page's file, and where the panel goes into it.
    const PageFile* page_;
    size_t marker_ = std::string::npos;
};
