#include "service/ParlacardSite.h"
#include "service/ProgramFolder.h"
#include "service/SiteAddress.h"
#include "service/StandInServer.h"
#include <chrono>
#include <thread>

namespace {

std::string Escape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// Greetings are 8-bit text in the Windows code page of the sender, and so are the pages.
void SetPage(httplib::Response& response, const std::string& title, const std::string& content)
{
    response.set_content("<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\"><title>" + Escape(title) +
                             "</title></head>\n<body>\n<h1>" + Escape(title) + "</h1>\n" + content + "</body></html>\n",
                         "text/html; charset=windows-1252");
}

std::string ListItems(const std::vector<std::string>& items)
{
    std::string list;
    for (const std::string& item : items)
        list += "<li>" + Escape(item) + "</li>\n";
    return list;
}

struct PlainPage {
    const char* path;
    const char* title;
    const char* text;
};

const PlainPage PlainPages[] = {
    { "/characters/.*", "Parlacard Characters", "Meet the characters who perform your greetings." },
    { "/help/.*", "Parlacard Help", "How to make, preview and send a greeting." },
    { "/feedback/.*", "Parlacard Feedback", "Tell us what you think of Parlacard Maker." },
    { "/products/.*", "More from Zentorix", "Other programs from the makers of Parlacard." },
};

} // namespace

ParlacardSite::ParlacardSite(GreetingStore& store, RequestLog& log, const UploadReplyPlan& plan)
    : store_(store), log_(log), plan_(plan), player_(ProgramFolder() + "/web", store, log)
{
}

void ParlacardSite::Mount(httplib::Server& server)
{
    server.Post(OnSite("/upload\\.asp"),
                [this](const httplib::Request& request, httplib::Response& response) { Upload(request, response); });
    server.Get(OnSite("/send/default\\.asp"),
               [this](const httplib::Request& request, httplib::Response& response) { SendPage(request, response); });
    player_.Mount(server);
    for (const PlainPage& page : PlainPages) {
        server.Get(OnSite(page.path), [this, page](const httplib::Request& request, httplib::Response& response) {
            log_.Record(request);
            SetPage(response, page.title, "<p>" + Escape(page.text) + "</p>\n");
        });
    }

    const auto notFound = [this](const httplib::Request& request, httplib::Response& response) {
        log_.Record(request);
        response.status = 404;
        SetPage(response, "Not Found", "<p>There is no such page on this site.</p>\n");
    };
    server.Get(".*", notFound);
    server.Post(".*", notFound);
}

void ParlacardSite::Upload(const httplib::Request& request, httplib::Response& response)
{
    log_.Record(request);
    const UploadReply reply = plan_.Get();
    std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    switch (reply.kind) {
    case UploadReply::Kind::Raw:
        StandInServer::CurrentConnection().TakeOver(reply.bytes);
        return;
    case UploadReply::Kind::Fixed:
        response.status = reply.status;
        response.set_content(reply.bytes, "text/plain");
        return;
    case UploadReply::Kind::Store:
        break;
    }
    const std::optional<GreetingSummary> summary = ParseGreeting(request.body);
    if (!summary) {
        response.status = 400;
        response.set_content("This is not a Parlacard greeting.\r\n", "text/plain");
        return;
    }
    // The client takes the first line of the body as the greeting's id.
    response.set_content(std::to_string(store_.Save(request.body, *summary)) + "\r\n", "text/plain");
}

void ParlacardSite::SendPage(const httplib::Request& request, httplib::Response& response)
{
    log_.Record(request);
    const std::string id = request.get_param_value("GID");
    const std::optional<std::uint64_t> number = GreetingIdFrom(id);
    const std::optional<GreetingSummary> greeting = number ? store_.LoadSummary(*number) : std::nullopt;
    if (!greeting) {
        response.status = 404;
        SetPage(response, "Greeting Not Found", "<p>There is no greeting " + Escape(id) + " on this site.</p>\n");
        return;
    }
    std::string content = "<p>Greeting " + Escape(id) + " from " + Escape(greeting->senderName) + " &lt;" +
                          Escape(greeting->senderEmail) + "&gt;";
    if (!greeting->recipientName.empty())
        content += " for " + Escape(greeting->recipientName);
    content += "</p>\n<p><a href=\"/play.asp?GID=" + std::to_string(*number) +
               "\">Play the greeting in your browser</a></p>\n<h2>Recipients</h2>\n<ul>\n" +
               ListItems(greeting->recipients) + "</ul>\n<h2>Actions</h2>\n<ol>\n" + ListItems(greeting->actionLines) +
               "</ol>\n";
    SetPage(response, "Send Your Parlacard", content);
}
