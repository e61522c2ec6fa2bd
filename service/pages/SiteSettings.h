#pragma once
#include "service/store/GreetingText.h"
#include <string>
#include <vector>

// What the operator decides about the site's pages (the configuration fills it in).
struct SiteSettings {
    // Where the site's pages are found from outside, for the links in mails.
    std::string publicAddress = "http://www.parlacard.example";
    UploadLimits upload;
    int uploadsPerHour = 30;       // per client address
    int messagesPerDay = 200;      // per client address
    bool tellSenderOfPickUps = true;
    // Proxies whose X-Forwarded-For names the client; nobody else's is believed.
    std::vector<std::string> trustedProxies;
};
