#include "service/pages/ClientAddress.h"
#include <algorithm>

std::string ClientAddress(const httplib::Request& request, const std::vector<std::string>& trustedProxies)
{
    const bool trusted =
        std::find(trustedProxies.begin(), trustedProxies.end(), request.remote_addr) != trustedProxies.end();
    if (!trusted || !request.has_header("X-Forwarded-For"))
        return request.remote_addr;
    // The proxy appends the address it saw; what comes before it the client may have written.
    const std::string list = request.get_header_value("X-Forwarded-For");
    const size_t comma = list.rfind(',');
    std::string last = comma == std::string::npos ? list : list.substr(comma + 1);
    last.erase(0, last.find_first_not_of(' '));
    last.erase(last.find_last_not_of(' ') + 1);
    const bool plain = !last.empty() && last.size() <= 45 &&
                       std::all_of(last.begin(), last.end(), [](char c) {
                           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ||
                                  c == '.' || c == ':';
                       });
    return plain ? last : request.remote_addr;
}
