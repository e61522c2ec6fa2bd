#include "service/pages/UpdatePages.h"
#include "service/pages/DataFiles.h"
#include "service/pages/SiteServer.h"
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

const char UpdatePath[] = "/update/([^/?]+)";
const char SiteAddress[] = "http://www.parlacard.example/update/";
// A paced body goes out in pieces of an odd size that do not line up with a reader's
// 4096-byte blocks, as a network may deliver it.
const size_t PacedPiece = 1000;

std::string ContentType(const std::string& name)
{
    const auto endsWith = [&](const std::string& end) {
        return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith(".txt"))
        return "text/plain";
    if (endsWith(".rtf"))
        return "application/rtf";
    return "application/octet-stream";
}

void SendRaw(const std::string& head, const std::string& body)
{
    SiteServer::CurrentConnection().TakeOver(head + "\r\n" + body);
}

} // namespace

UpdatePages::UpdatePages(const std::string& folder, const UpdateReplyPlan& plan) : folder_(folder), plan_(plan)
{
}

bool UpdatePages::IsServedName(const std::string& name)
{
    return !name.empty() && name.size() <= 100 && name[0] != '.' &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                      c == '-' || c == '_';
           });
}

void UpdatePages::Mount(SiteServer& server)
{
    server.Serve("GET", UpdatePath, [this](const httplib::Request& request, httplib::Response& response) {
        Answer(request.matches[1].str(), response);
    });
}

void UpdatePages::Answer(const std::string& name, httplib::Response& response)
{
    const UpdateReply reply = plan_.Get(name);
    std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    if (reply.kind == UpdateReply::Kind::Redirect) {
        response.set_redirect(SiteAddress + reply.redirectTo);
        return;
    }
    const std::optional<std::string> read = IsServedName(name) ? ReadDataFile(folder_ + "/" + name) : std::nullopt;
    if (!read) {
        response.status = 404;
        response.set_content("There is no such update file.\r\n", "text/plain");
        return;
    }
    const auto bytes = std::make_shared<const std::string>(*read);
    const std::string type = ContentType(name);
    switch (reply.kind) {
    case UpdateReply::Kind::NotFound:
        response.status = 404;
        response.set_content(*bytes, type);
        return;
    case UpdateReply::Kind::Cut:
        SendRaw("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " + std::to_string(bytes->size()) +
                    "\r\nConnection: close\r\n",
                bytes->substr(0, bytes->size() / 2));
        return;
    case UpdateReply::Kind::NoLength:
        SendRaw("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\n", *bytes);
        return;
    case UpdateReply::Kind::Serve:
    case UpdateReply::Kind::Redirect:
        break;
    }
    const long pace = reply.bytesPerSecond;
    if (pace <= 0) {
        response.set_content(*bytes, type);
        return;
    }
    const auto started = std::chrono::steady_clock::now();
    response.set_content_provider(
        bytes->size(), type, [bytes, pace, started](size_t offset, size_t length, httplib::DataSink& sink) {
            // Each piece leaves when the pace allows it, counted from the start.
            std::this_thread::sleep_until(started +
                                          std::chrono::microseconds(static_cast<long long>(offset) * 1000000 / pace));
            return sink.write(bytes->data() + offset, std::min(length, PacedPiece));
        });
}
