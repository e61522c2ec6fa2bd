#include "service/mail/MailComposer.h"
#include "service/mail/MailText.h"
#include "service/store/RandomToken.h"
#include <ctime>

namespace {

std::string Rfc5322Date(UnixTime now)
{
    const std::time_t time = static_cast<std::time_t>(now);
    std::tm utc{};
    gmtime_r(&time, &utc);
    static const char* const days[] = { "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat" };
    static const char* const months[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", days[utc.tm_wday], utc.tm_mday,
                  months[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string DomainOf(const std::string& address)
{
    return address.substr(address.rfind('@') + 1);
}

std::string Paragraph(const std::string& html)
{
    return "<p>" + html + "</p>\n";
}

std::string Link(const std::string& address, const std::string& text)
{
    return "<a href=\"" + HtmlEscape(address) + "\">" + HtmlEscape(text) + "</a>";
}

std::string NameOr(const std::string& name, const std::string& fallback)
{
    const std::string line = OneLine(Utf8FromWindows1252(name));
    return line.find_first_not_of(' ') == std::string::npos ? fallback : line;
}

} // namespace

MailComposer::MailComposer(MailSettings settings) : settings_(std::move(settings))
{
}

std::string MailComposer::PickUpLink(std::uint64_t id, const std::string& token) const
{
    return settings_.publicAddress + "/play.asp?GID=" + std::to_string(id) + "&r=" + token;
}

std::string MailComposer::UnsubscribeLink(const std::string& token) const
{
    return settings_.publicAddress + "/unsubscribe.asp?r=" + token;
}

std::string MailComposer::SendPageLink(std::uint64_t id) const
{
    return settings_.publicAddress + "/send/default.asp?GID=" + std::to_string(id);
}

std::string MailComposer::FromHeader(const std::string& senderName) const
{
    return "From: " + HeaderPhrase(senderName) + " <" + settings_.from + ">\r\n";
}

std::string MailComposer::Message(const std::string& headers, const std::string& text, const std::string& html,
                                  UnixTime now) const
{
    const std::string boundary = "=_parlacard_" + RandomToken();
    const std::string html_page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>\n" + html +
                                  "</body></html>\n";
    return headers + "Date: " + Rfc5322Date(now) + "\r\nMessage-ID: <" + RandomToken() + "@" +
           DomainOf(settings_.from) + ">\r\nMIME-Version: 1.0\r\nContent-Type: multipart/alternative; boundary=\"" +
           boundary + "\"\r\n\r\n--" + boundary +
           "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n" +
           QuotedPrintable(text) + "\r\n--" + boundary +
           "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n" +
           QuotedPrintable(html_page) + "\r\n--" + boundary + "--\r\n";
}

QueuedMail MailComposer::Greeting(const StoredGreeting& greeting, const RecipientStatus& recipient, UnixTime now) const
{
    const GreetingSummary& summary = greeting.summary;
    const std::string sender = NameOr(summary.senderName, "Someone");
    const std::string pickUp = PickUpLink(greeting.id, recipient.token);
    const std::string unsubscribe = UnsubscribeLink(recipient.token);
    const std::string hello = "Hello" + (summary.recipientName.empty() ? std::string() : " " + NameOr(summary.recipientName, "")) + ",";

    std::string headers = FromHeader(sender) + "To: <" + recipient.address + ">\r\n";
    if (IsMailAddress(summary.senderEmail))
        headers += "Reply-To: " + HeaderPhrase(sender) + " <" + summary.senderEmail + ">\r\n";
    headers += "Subject: " + HeaderText(sender + " sent you a Parlacard") + "\r\nList-Unsubscribe: <" + unsubscribe +
               ">\r\nList-Unsubscribe-Post: List-Unsubscribe=One-Click\r\n";

    const std::string text = hello + "\n\n" + sender +
                             " sent you a Parlacard: a greeting that animated characters perform for you.\n\n"
                             "Open it here:\n" + pickUp + "\n\n-- \nTo receive no more greetings from this site:\n" +
                             unsubscribe + "\n";
    const std::string html = Paragraph(HtmlEscape(hello)) +
                             Paragraph(HtmlEscape(sender) +
                                       " sent you a Parlacard: a greeting that animated characters perform for you.") +
                             Paragraph(Link(pickUp, "Open your greeting")) +
                             Paragraph("<small>" + Link(unsubscribe, "Receive no more greetings from this site") +
                                       "</small>");
    return QueuedMail{ recipient.token, recipient.address, Message(headers, text, html, now) };
}

QueuedMail MailComposer::PickUpNotice(const StoredGreeting& greeting, const std::string& openedBy, UnixTime now) const
{
    const std::string who = OneLine(openedBy);
    const std::string sendPage = SendPageLink(greeting.id);
    const std::string headers = FromHeader("Parlacard") + "To: <" + greeting.summary.senderEmail + ">\r\nSubject: " +
                                HeaderText(who + " opened your Parlacard") + "\r\n";
    const std::string text = who + " opened the greeting you sent.\n\nSee who else has it:\n" + sendPage + "\n";
    const std::string html = Paragraph(HtmlEscape(who) + " opened the greeting you sent.") +
                             Paragraph(Link(sendPage, "See who else has it"));
    return QueuedMail{ std::string(), greeting.summary.senderEmail, Message(headers, text, html, now) };
}
