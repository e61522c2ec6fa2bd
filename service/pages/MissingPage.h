#pragma once
#include "service/pages/PageFiles.h"
#include <httplib.h>
#include <cstdint>
#include <optional>
#include <string>

// The greeting the address's one "GID" names; nothing for any other kind of text, or for
// an address naming more than one.
std::optional<std::uint64_t> RequestedGreetingId(const httplib::Request& request);

// The friendly page for a greeting the site does not have (or an address that names
// none), with status 404; the greeting page's own when it has one. No cache keeps it.
void AnswerMissingGreeting(const PageFiles& files, httplib::Response& response);

// What the site's own pages may run and reach: only the site itself, so that nothing a
// greeting holds can bring in anything else. A page with a form posts only to the site.
// scriptSources adds the inline scripts it may run, by their hashes.
std::string PagePolicy(bool postsForms, const std::string& scriptSources = std::string());
