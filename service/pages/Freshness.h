#pragma once
#include <httplib.h>
#include <string>

// How long browsers, the reverse proxy and a CDN may keep what the site sends.
enum class Freshness {
    // Under a content-hashed address: those bytes never change, so kept for a year and
    // never asked for again.
    Immutable,
    // Under its plain address: kept, but asked again (If-None-Match) before every use.
    Revalidate,
    // Made for one request, or saying what only the site may know now: never kept.
    NoStore,
};

// Sets the entity tag and the lifetime of a reply (no tag for NoStore). True when the
// request says the client holds that tag already: the reply is then 304 without a body.
bool AnswerFromCache(const httplib::Request& request, httplib::Response& response, const std::string& entityTag,
                     Freshness freshness);

// For what no cache may keep: greetings, pages made for one request, refusals.
void ForbidStoring(httplib::Response& response);
