#include "service/pages/MissingPage.h"
#include "service/store/GreetingText.h"

std::optional<std::uint64_t> RequestedGreetingId(const httplib::Request& request)
{
    if (request.get_param_value_count("GID") != 1)
        return std::nullopt;
    return GreetingIdFrom(request.get_param_value("GID"));
}

std::string PagePolicy(bool postsForms)
{
    return std::string("default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
                       "connect-src 'self'; base-uri 'none'; form-action ") +
           (postsForms ? "'self'" : "'none'") + "; frame-ancestors 'none'";
}

void AnswerMissingGreeting(const PageFiles& files, httplib::Response& response)
{
    response.status = 404;
    const std::shared_ptr<const std::string> page = files.Find("play/missing.html");
    response.set_content(page ? *page : "<!DOCTYPE html>\n<title>Not Found</title>\n<p>There is no such greeting.</p>\n",
                         "text/html; charset=utf-8");
    response.set_header("Content-Security-Policy", PagePolicy(false));
}
