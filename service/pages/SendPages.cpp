#include "service/pages/SendPages.h"
#include "service/mail/MailText.h"
#include "service/pages/ClientAddress.h"
#include "service/pages/Freshness.h"
#include "service/pages/MissingPage.h"
#include <ctime>

namespace {

const char HtmlType[] = "text/html; charset=utf-8";
const char Marker[] = "<!--send-->";
const int SecondsPerDay = 24 * 3600;

// Text from a greeting, for the page: its code page's letters, escaped.
std::string Shown(const std::string& text)
{
    return HtmlEscape(Utf8FromWindows1252(text));
}

const char* StateName(RecipientState state)
{
    switch (state) {
    case RecipientState::NotSent: return "not-sent";
    case RecipientState::Queued: return "queued";
    case RecipientState::Sent: return "sent";
    case RecipientState::Failed: return "failed";
    case RecipientState::Opened: return "opened";
    case RecipientState::Unsubscribed: return "unsubscribed";
    }
    return "";
}

std::string StateText(const RecipientStatus& recipient)
{
    switch (recipient.state) {
    case RecipientState::NotSent: return "Not sent yet";
    case RecipientState::Queued:
        return recipient.reason.empty() ? "Queued" : "Queued, to be tried again (" + recipient.reason + ")";
    case RecipientState::Sent: return "Sent";
    case RecipientState::Failed: return "Failed: " + recipient.reason;
    case RecipientState::Opened: return "Opened";
    case RecipientState::Unsubscribed: return "Unsubscribed: receives no mail from this site";
    }
    return "";
}

// Compared in full whatever differs, so the time taken tells nothing about the token.
bool SameToken(const std::string& given, const std::string& expected)
{
    if (given.size() != expected.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ expected[i]);
    return difference == 0;
}

void PlainPage(const PageFiles& files, httplib::Response& response, int status, const std::string& title,
               const std::string& text)
{
    response.status = status;
    response.set_content("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
                             "</title><link rel=\"stylesheet\" href=\"" + files.Address("play/player.css") +
                             "\"></head>\n"
                             "<body class=\"missing\"><main class=\"message\"><h1>" +
                             HtmlEscape(title) + "</h1><p>" + HtmlEscape(text) + "</p></main></body></html>\n",
                         HtmlType);
    response.set_header("Content-Security-Policy", PagePolicy(false));
    // Answers to what a link or a form did, each time anew.
    ForbidStoring(response);
}

} // namespace

SendPages::SendPages(const SiteSettings& settings, const PageFiles& files, GreetingStore& store,
                     const MailComposer& composer, std::function<void()> mailQueued)
    : settings_(settings), files_(files), store_(store), composer_(composer), mailQueued_(std::move(mailQueued)),
      page_(files.Find("send/send.html")), marker_(page_ ? page_->bytes->find(Marker) : std::string::npos)
{
}

void SendPages::Mount(SiteServer& server)
{
    server.ServeReading(
        "/send/default.asp",
        [this](const httplib::Request& request, httplib::Response& response) { Page(request, response); },
        store_.ReadsAreLocal());
    server.Serve("POST", "/send/default\\.asp",
                 [this](const httplib::Request& request, httplib::Response& response) { Send(request, response); });
    const auto unsubscribe = [this](const httplib::Request& request, httplib::Response& response) {
        Unsubscribe(request, response);
    };
    server.Serve("GET", "/unsubscribe\\.asp", unsubscribe);
    server.Serve("POST", "/unsubscribe\\.asp", unsubscribe);
}

void SendPages::Page(const httplib::Request& request, httplib::Response& response) const
{
    const std::optional<std::uint64_t> id = RequestedGreetingId(request);
    const std::optional<StoredGreeting> greeting = id ? store_.Load(*id) : std::nullopt;
    if (!greeting || !page_)
        return AnswerMissingGreeting(files_, response);
    const std::string& page = *page_->bytes;
    if (marker_ == std::string::npos)
        response.set_content(page, HtmlType);
    else
        response.set_content(page.substr(0, marker_) + Panel(*greeting) + page.substr(marker_ + sizeof Marker - 1),
                             HtmlType);
    response.set_header("Content-Security-Policy", PagePolicy(true, files_.ImportMapSource()));
    // The states change; a page from a cache would show old ones.
    ForbidStoring(response);
}

std::string SendPages::Panel(const StoredGreeting& greeting) const
{
    const GreetingSummary& summary = greeting.summary;
    std::string from = Shown(summary.senderName);
    if (!summary.senderEmail.empty())
        from += " &lt;" + Shown(summary.senderEmail) + "&gt;";
    std::string html = "<dl class=\"addresses\">\n<dt>From</dt><dd id=\"sender\">" + from + "</dd>\n<dt>To</dt><dd>";
    const std::vector<RecipientStatus> recipients = store_.Recipients(greeting.id);
    if (recipients.empty()) {
        const std::string link = settings_.publicAddress + "/play.asp?GID=" + std::to_string(greeting.id);
        return html + "nobody by e-mail</dd>\n</dl>\n<p class=\"send-note\">This greeting has no recipients: copy its "
                      "link and give it to whoever you like.</p>\n<input id=\"share-link\" class=\"share-link\" "
                      "readonly value=\"" + HtmlEscape(link) + "\" aria-label=\"The greeting's link\">\n";
    }
    html += "<ul id=\"recipients\" class=\"recipients\">\n";
    for (const RecipientStatus& recipient : recipients)
        html += std::string("<li data-state=\"") + StateName(recipient.state) + "\"><span class=\"address\">" +
                Shown(recipient.address) + "</span> <span class=\"recipient-state\">" +
                HtmlEscape(StateText(recipient)) + "</span></li>\n";
    html += "</ul></dd>\n</dl>\n";
    if (greeting.sent)
        return html + "<p class=\"send-note\" id=\"sent-note\">Sent. Each recipient gets an e-mail with their own "
                      "link; this page shows how far each one got when you reload it.</p>\n";
    return html + "<form class=\"send-form\" method=\"post\" action=\"/send/default.asp\">\n"
                  "<input type=\"hidden\" name=\"GID\" value=\"" + std::to_string(greeting.id) + "\">\n"
                  "<input type=\"hidden\" name=\"token\" value=\"" + HtmlEscape(greeting.sendToken) + "\">\n"
                  "<button id=\"send\" type=\"submit\">Send</button>\n</form>\n";
}

void SendPages::Send(const httplib::Request& request, httplib::Response& response)
{
    const std::optional<std::uint64_t> id = RequestedGreetingId(request);
    const std::optional<StoredGreeting> greeting = id ? store_.Load(*id) : std::nullopt;
    if (!greeting)
        return AnswerMissingGreeting(files_, response);
    // Only the site's own page knows the token: a form posted from anywhere else fails here.
    if (request.get_param_value_count("token") != 1 ||
        !SameToken(request.get_param_value("token"), greeting->sendToken))
        return PlainPage(files_, response, 403, "This form was not sent from its page",
                         "Open the greeting's send page and press Send there.");
    const std::string pageAddress = "/send/default.asp?GID=" + std::to_string(greeting->id);
    if (!greeting->sent) {
        const UnixTime now = std::time(nullptr);
        const std::string client = ClientAddress(request, settings_.trustedProxies);
        std::vector<QueuedMail> mails;
        for (const RecipientStatus& recipient : store_.Recipients(greeting->id))
            if (recipient.state != RecipientState::Unsubscribed)
                mails.push_back(composer_.Greeting(*greeting, recipient, now));
        if (store_.MessagesSince(client, now - SecondsPerDay) + static_cast<int>(mails.size()) >
            settings_.messagesPerDay) {
            response.status = 429;
            response.set_content("Too many messages went out from your address today; please try again tomorrow.\r\n",
                                 "text/plain; charset=utf-8");
            return;
        }
        if (store_.SendOnce(greeting->id, mails, client, now))
            mailQueued_();
    }
    // Back to the page: reloading it then sends nothing again.
    response.status = 303;
    response.set_header("Location", pageAddress);
}

void SendPages::Unsubscribe(const httplib::Request& request, httplib::Response& response)
{
    const std::string token = request.get_param_value("r");
    const std::optional<std::string> address =
        token.size() == 32 ? store_.Unsubscribe(token, std::time(nullptr)) : std::nullopt;
    if (!address)
        return PlainPage(files_, response, 404, "This link is not known", "The link may have been cut short in your e-mail.");
    PlainPage(files_, response, 200, "You will receive no more greetings",
              "This site will send no more mail to " + *address + ".");
}
