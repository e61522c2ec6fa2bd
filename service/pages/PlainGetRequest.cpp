#include "service/pages/PlainGetRequest.h"
#include <strings.h>

namespace {

bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Printable, and nothing the library would decode (it decodes escapes in header values).
bool IsPlainValueCharacter(char c)
{
    return (c >= 0x20 && c < 0x7F && c != '%') || c == '\t';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Headers that make the library do more than hand the request to its page.
bool NeedsTheLibrary(const std::string& name, const std::string& value)
{
    return strcasecmp(name.c_str(), "Range") == 0 || strcasecmp(name.c_str(), "Expect") == 0 ||
           strcasecmp(name.c_str(), "Transfer-Encoding") == 0 ||
           (strcasecmp(name.c_str(), "Content-Length") == 0 && value != "0");
}

bool ReadRequestLine(const std::string& line, httplib::Request& request)
{
    const size_t methodEnd = line.find(' ');
    const size_t targetEnd = line.find(' ', methodEnd + 1);
    if (methodEnd == std::string::npos || targetEnd == std::string::npos)
        return false;
    request.method = line.substr(0, methodEnd);
    request.target = line.substr(methodEnd + 1, targetEnd - methodEnd - 1);
    request.version = line.substr(targetEnd + 1);
    if ((request.method != "GET" && request.method != "HEAD") ||
        (request.version != "HTTP/1.1" && request.version != "HTTP/1.0") || request.target.empty() ||
        request.target[0] != '/')
        return false;
    for (char c : request.target)
        if (c <= 0x20 || c >= 0x7F)
            return false;
    const size_t query = request.target.find('?');
    if (query != std::string::npos && (request.target.find('?', query + 1) != std::string::npos || query + 1 == request.target.size()))
        return false;
    request.path = httplib::detail::decode_url(request.target.substr(0, query), false);
    if (query != std::string::npos)
        httplib::detail::parse_query_text(request.target.substr(query + 1), request.params);
    return true;
}

bool ReadHeaderLine(const std::string& line, httplib::Request& request)
{
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos)
        return false;
    for (size_t i = 0; i < colon; ++i)
        if (!IsNameCharacter(line[i]))
            return false;
    size_t begin = colon + 1;
    size_t end = line.size();
    while (begin < end && IsBlank(line[begin]))
        ++begin;
    while (end > begin && IsBlank(line[end - 1]))
        --end;
    if (begin == end)
        return false;
    for (size_t i = begin; i < end; ++i)
        if (!IsPlainValueCharacter(line[i]))
            return false;
    std::string name = line.substr(0, colon);
    std::string value = line.substr(begin, end - begin);
    if (NeedsTheLibrary(name, value))
        return false;
    request.headers.emplace(std::move(name), std::move(value));
    return true;
}

} // namespace

bool ReadPlainGet(const std::string& bytes, const ConnectionAddresses& addresses, httplib::Request& request)
{
    const size_t headEnd = bytes.find("\r\n\r\n");
    if (headEnd == std::string::npos || headEnd + 4 != bytes.size())
        return false;
    size_t at = bytes.find("\r\n");
    if (!ReadRequestLine(bytes.substr(0, at), request))
        return false;
    while (at < headEnd) {
        const size_t next = bytes.find("\r\n", at + 2);
        const std::string line = bytes.substr(at + 2, next - at - 2);
        if (line.find('\n') != std::string::npos || !ReadHeaderLine(line, request))
            return false;
        at = next;
    }
    request.remote_addr = addresses.remoteIp;
    request.remote_port = addresses.remotePort;
    request.local_addr = addresses.localIp;
    request.local_port = addresses.localPort;
    return true;
}
