#include "service/pages/LoopPages.h"
#include "service/pages/PlainGetRequest.h"
#include "service/pages/ReplyBytes.h"

namespace {

// The path as the request line has it, up to the query; empty when there is none.
std::string RawPath(const std::string& bytes)
{
    const size_t start = bytes.find(' ');
    if (start == std::string::npos || start > 5)
        return std::string();
    const size_t end = bytes.find_first_of(" ?\r", start + 1);
    return end == std::string::npos ? std::string() : bytes.substr(start + 1, end - start - 1);
}

} // namespace

LoopPages::LoopPages(const ServerHooks& hooks, std::string keepAlive) : hooks_(hooks), keepAlive_(std::move(keepAlive))
{
}

void LoopPages::Add(const std::string& path, httplib::Server::Handler handler, const std::string& writingParameter)
{
    pages_[path] = Page{ std::move(handler), writingParameter };
}

bool LoopPages::Answer(const std::string& bytes, const ConnectionAddresses& addresses, bool closeAfter,
                       LoopReply& reply) const
{
    // Most requests for other pages are told apart before their heads are read.
    const std::string rawPath = RawPath(bytes);
    if (pages_.empty() || (rawPath.find('%') == std::string::npos && pages_.count(rawPath) == 0))
        return false;
    httplib::Request request;
    if (!ReadPlainGet(bytes, addresses, request))
        return false;
    const auto found = pages_.find(request.path);
    if (found == pages_.end() ||
        (!found->second.writingParameter.empty() && request.has_param(found->second.writingParameter)))
        return false;

    httplib::Response response;
    try {
        found->second.handler(request, response);
    } catch (...) {
        if (!hooks_.exceptionHandler)
            throw;
        hooks_.exceptionHandler(request, response, std::current_exception());
    }
    if (response.status == -1)
        response.status = 200;
    if (response.status >= 400 && hooks_.errorHandler)
        hooks_.errorHandler(request, response);
    const std::string connection = request.get_header_value("Connection");
    reply.close = closeAfter || connection == "close" || (request.version == "HTTP/1.0" && connection != "Keep-Alive");
    reply.bytes = ReplyBytes(request, response, reply.close, keepAlive_);
    if (hooks_.logger)
        hooks_.logger(request, response);
    return true;
}
