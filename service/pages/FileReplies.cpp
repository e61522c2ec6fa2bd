#include "service/pages/FileReplies.h"

namespace {

bool IsText(const std::string& type)
{
    return type.rfind("text/", 0) == 0 || type == "application/json";
}

bool Gzipped(const httplib::Request& request, const std::string& type)
{
    return IsText(type) && request.get_header_value("Accept-Encoding").find("gzip") != std::string::npos;
}

} // namespace

void FileReplies::Send(const httplib::Request& request, httplib::Response& response, const std::string& key,
                       std::shared_ptr<const std::string> bytes, const std::string& hash, const std::string& type,
                       Freshness freshness)
{
    if (!HeldAlready(request, response, hash, type, freshness))
        SendBody(request, response, key, std::move(bytes), type);
}

// Each encoding has its own tag, as caches tell them apart by it.
bool FileReplies::HeldAlready(const httplib::Request& request, httplib::Response& response, const std::string& hash,
                              const std::string& type, Freshness freshness) const
{
    if (IsText(type))
        response.set_header("Vary", "Accept-Encoding");
    return AnswerFromCache(request, response, "\"" + hash + (Gzipped(request, type) ? "-gzip\"" : "\""), freshness);
}

// Compressed once ahead: the HTTP library would compress at its slowest setting at every
// request, which costs more than the bytes do on a fast line. Pictures and sounds are
// compressed already.
void FileReplies::SendBody(const httplib::Request& request, httplib::Response& response, const std::string& key,
                           std::shared_ptr<const std::string> bytes, const std::string& type)
{
    if (Gzipped(request, type)) {
        bytes = gzipped_.Of(key, *bytes);
        response.set_header("Content-Encoding", "gzip");
    }
    response.set_content_provider(bytes->size(), type,
                                  [bytes](size_t offset, size_t length, httplib::DataSink& sink) {
                                      return sink.write(bytes->data() + offset, length);
                                  });
}
