#include "service/pages/ReplyBytes.h"
#include "service/pages/Gzip.h"
#include <stdexcept>
#include <zlib.h>

namespace {

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 503: return "Service Unavailable";
    default: return "Internal Server Error";
    }
}

bool Compressible(const std::string& type)
{
    return (type.rfind("text/", 0) == 0 && type != "text/event-stream") || type == "image/svg+xml" ||
           type == "application/javascript" || type == "application/json" || type == "application/xml" ||
           type == "application/xhtml+xml";
}

// Appends the provider's bytes as it hands them over.
void AppendProvided(httplib::Response& response, std::string& bytes)
{
    const size_t start = bytes.size();
    // Made once per thread: a sink brings a stream whose making costs more than a reply.
    thread_local httplib::DataSink sink;
    sink.write = [&bytes](const char* data, size_t length) {
        bytes.append(data, length);
        return true;
    };
    sink.is_writable = [] { return true; };
    sink.done = [] {};
    while (bytes.size() - start < response.content_length_) {
        const size_t given = bytes.size() - start;
        if (!response.content_provider_(given, response.content_length_ - given, sink) || bytes.size() - start == given)
            throw std::runtime_error("a page's content provider gave out");
    }
    sink.write = nullptr;
    response.content_provider_success_ = true;
}

} // namespace

std::string ReplyBytes(const httplib::Request& request, httplib::Response& response, bool close,
                       const std::string& keepAlive)
{
    const bool head = request.method == "HEAD";
    const bool hasContent = !response.body.empty() || response.content_length_ > 0 || response.content_provider_;
    if (response.content_provider_) {
        response.set_header("Content-Length", std::to_string(response.content_length_));
    } else if (!response.body.empty()) {
        if (Compressible(response.get_header_value("Content-Type")) &&
            request.get_header_value("Accept-Encoding").find("gzip") != std::string::npos) {
            response.body = Gzip(response.body, Z_DEFAULT_COMPRESSION);
            response.set_header("Content-Encoding", "gzip");
        }
        response.set_header("Content-Length", std::to_string(response.body.size()));
    }
    if (close)
        response.set_header("Connection", "close");
    else
        response.set_header("Keep-Alive", keepAlive);
    if (!response.has_header("Content-Type") && hasContent)
        response.set_header("Content-Type", "text/plain");
    if (!response.has_header("Content-Length"))
        response.set_header("Content-Length", "0");
    if (head && !response.has_header("Accept-Ranges"))
        response.set_header("Accept-Ranges", "bytes");

    std::string bytes;
    bytes.reserve(1024 + (head ? 0 : response.content_provider_ ? response.content_length_ : response.body.size()));
    bytes.append("HTTP/1.1 ").append(std::to_string(response.status)).append(" ").append(Reason(response.status));
    bytes.append("\r\n");
    for (const auto& header : response.headers)
        bytes.append(header.first).append(": ").append(header.second).append("\r\n");
    bytes += "\r\n";
    if (head)
        return bytes;
    if (response.content_provider_)
        AppendProvided(response, bytes);
    else
        bytes += response.body;
    return bytes;
}
