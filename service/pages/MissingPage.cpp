#include "service/pages/MissingPage.h"
#include "service/pages/Freshness.h"
#include "service/store/GreetingText.h"

std::optional<std::uint64_t> RequestedGreetingId(const httplib::Request& request)
{
    if (request.get_param_value_count("GID") != 1)
        return std::nullopt;
    return GreetingIdFrom(request.get_param_value("GID"));
}

// Images may be inline data: the pages draw their scenery with small SVG pictures in
// their styles (an image runs no script).
std::string PagePolicy(bool postsForms, const std::string& scriptSources)
{
    return "default-src 'none'; script-src 'self'" + (scriptSources.empty() ? "" : " " + scriptSources) +
           "; style-src 'self'; img-src 'self' data:; connect-src 'self'; base-uri 'none'; form-action " +
           (postsForms ? "'self'" : "'none'") + "; frame-ancestors 'none'";
}

void AnswerMissingGreeting(const PageFiles& files, httplib::Response& response)
{
    response.status = 404;
    const PageFile* page = files.Find("play/missing.html");
    response.set_content(page ? *page->bytes : "<!DOCTYPE html>\n<title>Not Found</title>\n<p>There is no such greeting.</p>\n",
                         "text/html; charset=utf-8");
    response.set_header("Content-Security-Policy", PagePolicy(false));
    // What is missing now may be there later.
    ForbidStoring(response);
}
