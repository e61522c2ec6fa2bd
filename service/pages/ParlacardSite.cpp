#include "service/pages/ParlacardSite.h"
#include "service/mail/MailText.h"
#include "service/pages/ClientAddress.h"
#include "service/pages/Freshness.h"
#include "service/pages/MissingPage.h"
#include "service/pages/SiteServer.h"
#include "service/store/StoreUnavailable.h"
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

void SetPage(httplib::Response& response, const std::string& title, const std::string& content)
{
    response.set_content("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
                             "</title></head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n" + content +
                             "</body></html>\n",
                         "text/html; charset=utf-8");
}

struct PlainPage {
    const char* path;
    const char* title;
    const char* text;
};

const PlainPage PlainPages[] = {
    // Where the program's own messages send people to get it, and greetings' "Make your own".
    { "/", "Parlacard Maker", "Send talking animated greetings on the Web: download Parlacard Maker and make your own." },
    { "/characters/.*", "Parlacard Characters", "Meet the characters who perform your greetings." },
    { "/help/.*", "Parlacard Help", "How to make, preview and send a greeting." },
    { "/feedback/.*", "Parlacard Feedback", "Tell us what you think of Parlacard Maker." },
    { "/products/.*", "More from Zentorix", "Other programs from the makers of Parlacard." },
};

// A refusal is one plain line: the program shows the first line of the reply. It holds
// only for now: no cache keeps it.
void Refuse(httplib::Response& response, int status, const std::string& reason)
{
    response.status = status;
    response.set_content(reason + "\r\n", "text/plain; charset=windows-1252");
    ForbidStoring(response);
}

const int SecondsPerHour = 3600;

} // namespace

ParlacardSite::ParlacardSite(const SiteSettings& settings, const std::string& webFolder, GreetingStore& store,
                             const MailComposer& composer, std::function<void()> mailQueued,
                             const UploadReplyPlan& plan)
    : settings_(settings), files_(webFolder, { "play", "send" }), store_(store), composer_(composer),
      mailQueued_(std::move(mailQueued)), plan_(plan),
      player_(webFolder, files_, store, [this](std::uint64_t id, const std::string& token) { NotePickUp(id, token); }),
      send_(settings, files_, store, composer, mailQueued_), pageFiles_(files_)
{
}

void ParlacardSite::Mount(SiteServer& server)
{
    server.Serve("POST", "/upload\\.asp",
                 [this](const httplib::Request& request, httplib::Response& response) { Upload(request, response); });
    server.Get("/healthz", [this](const httplib::Request&, httplib::Response& response) {
        // Healthy only when the store answers too.
        try {
            store_.UploadsSince(std::string(), 0);
            response.set_content("ok\n", "text/plain");
        } catch (const StoreUnavailable&) {
            response.status = 503;
            response.set_content("database unreachable\n", "text/plain");
        }
    });
    send_.Mount(server);
    player_.Mount(server);
    pageFiles_.Mount(server, "play");
    pageFiles_.Mount(server, "send");
    for (const PlainPage& page : PlainPages) {
        server.Serve("GET", page.path, [page](const httplib::Request&, httplib::Response& response) {
            SetPage(response, page.title, "<p>" + HtmlEscape(page.text) + "</p>\n");
        });
    }

    // A body larger than the site takes is refused by the library before it is read; the
    // refusal gets its plain line too. Other answers stay as their handlers made them.
    server.SetErrorHandler(httplib::Server::HandlerWithResponse([this](const httplib::Request&, httplib::Response& response) {
        if (response.status != 413 || !response.body.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        Refuse(response, 413, "The greeting is larger than the " + std::to_string(settings_.upload.maxBytes / 1024) +
                                  " KB this site takes.");
        return httplib::Server::HandlerResponse::Handled;
    }));
    // A store that cannot write (a full disk) is a passing trouble, not the client's fault.
    server.SetExceptionHandler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        std::string reason = "unknown";
        bool unavailable = false;
        try {
            std::rethrow_exception(error);
        } catch (const StoreUnavailable& thrown) {
            reason = thrown.what();
            unavailable = true;
        } catch (const std::exception& thrown) {
            reason = thrown.what();
        } catch (...) {
        }
        std::fprintf(stderr, "parlacard-service: %s\n", reason.c_str());
        Refuse(response, 503, unavailable ? "The site's database cannot be reached just now; please try again later."
                                          : "The site cannot take this request just now; please try again later.");
    });

    const auto notFound = [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        SetPage(response, "Not Found", "<p>There is no such page on this site.</p>\n");
        ForbidStoring(response);
    };
    // Any path at all, in either form.
    server.Serve("GET", ".*", notFound);
    server.Serve("POST", ".*", notFound);
}

void ParlacardSite::Upload(const httplib::Request& request, httplib::Response& response)
{
    const UploadReply reply = plan_.Get();
    std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    switch (reply.kind) {
    case UploadReply::Kind::Raw:
        SiteServer::CurrentConnection().TakeOver(reply.bytes);
        return;
    case UploadReply::Kind::Fixed:
        response.status = reply.status;
        response.set_content(reply.bytes, "text/plain");
        return;
    case UploadReply::Kind::Store:
        break;
    }
    const std::string client = ClientAddress(request, settings_.trustedProxies);
    const UnixTime now = std::time(nullptr);
    if (store_.UploadsSince(client, now - SecondsPerHour) >= settings_.uploadsPerHour)
        return Refuse(response, 429, "Too many greetings came from your address in the last hour; please try again later.");
    GreetingSummary summary;
    const std::string refusal = RefusalOf(request.body, settings_.upload, summary);
    if (!refusal.empty())
        return Refuse(response, request.body.size() > settings_.upload.maxBytes ? 413 : 400, refusal);
    // The client takes the first line of the body as the greeting's id.
    response.set_content(std::to_string(store_.Save(request.body, summary, client, now)) + "\r\n", "text/plain");
}

// A recipient's link opened the greeting: the first time, its sender hears of it.
void ParlacardSite::NotePickUp(std::uint64_t id, const std::string& token)
{
    const std::optional<StoredGreeting> greeting = store_.Load(id);
    if (!greeting || token.size() != 32)
        return;
    const UnixTime now = std::time(nullptr);
    std::optional<QueuedMail> notice;
    if (settings_.tellSenderOfPickUps && IsMailAddress(greeting->summary.senderEmail)) {
        for (const RecipientStatus& recipient : store_.Recipients(id))
            if (recipient.token == token)
                notice = composer_.PickUpNotice(*greeting, recipient.address, now);
    }
    const std::optional<PickUp> pickUp = store_.RecordPickUp(id, token, notice, now);
    if (pickUp && pickUp->first && notice)
        mailQueued_();
}
