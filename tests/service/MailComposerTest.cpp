#include "service/mail/MailComposer.h"
#include "service/mail/MailText.h"
#include "SmtpSink.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

const UnixTime Now = 1800000000;   // Fri, 15 Jan 2027 08:00:00 +0000

StoredGreeting GreetingFrom(const std::string& senderName, const std::string& senderEmail = "ann@example.com",
                            const std::string& recipientName = "Bob")
{
    StoredGreeting greeting;
    greeting.id = 123456789;
    greeting.summary.senderName = senderName;
    greeting.summary.senderEmail = senderEmail;
    greeting.summary.recipientName = recipientName;
    greeting.summary.recipients = { "bob@example.com" };
    return greeting;
}

RecipientStatus Bob()
{
    RecipientStatus bob;
    bob.address = "bob@example.com";
    bob.token = "0123456789abcdef0123456789abcdef";
    return bob;
}

// The lines of the head, split where CR LF ends them.
std::vector<std::string> HeadLines(const std::string& message)
{
    const std::string head = message.substr(0, message.find("\r\n\r\n") + 2);
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = head.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(head.substr(start, end - start));
    return lines;
}

// The decoded text of the part of that type.
std::string Part(const std::string& message, const std::string& type)
{
    const size_t start = message.find("Content-Type: " + type);
    const size_t body = message.find("\r\n\r\n", start) + 4;
    const size_t end = message.find("\r\n--", body);
    return DecodeQuotedPrintable(message.substr(body, end - body));
}

} // namespace

class MailComposerTest : public testing::Test {
protected:
    MailComposer composer{ MailSettings{ "cards@site.example", "https://site.example" } };
};

TEST_F(MailComposerTest, AGreetingComesFromTheSiteInTheSendersName)
{
    const QueuedMail mail = composer.Greeting(GreetingFrom("Ann Sender"), Bob(), Now);
    EXPECT_EQ("bob@example.com", mail.envelopeTo);
    EXPECT_EQ(Bob().token, mail.recipientToken);
    const std::string& message = mail.message;
    EXPECT_EQ("\"Ann Sender\" <cards@site.example>", HeaderOf(message, "From"));
    EXPECT_EQ("\"Ann Sender\" <ann@example.com>", HeaderOf(message, "Reply-To"));
    EXPECT_EQ("<bob@example.com>", HeaderOf(message, "To"));
    EXPECT_EQ("Ann Sender sent you a Parlacard", HeaderOf(message, "Subject"));
    EXPECT_EQ("Fri, 15 Jan 2027 08:00:00 +0000", HeaderOf(message, "Date"));
    EXPECT_EQ("<https://site.example/unsubscribe.asp?r=" + Bob().token + ">", HeaderOf(message, "List-Unsubscribe"));
    EXPECT_EQ("List-Unsubscribe=One-Click", HeaderOf(message, "List-Unsubscribe-Post"));
    const std::string id = HeaderOf(message, "Message-ID");
    EXPECT_EQ(0u, id.find('<'));
    EXPECT_NE(std::string::npos, id.find("@site.example>"));
    EXPECT_NE(id, HeaderOf(composer.Greeting(GreetingFrom("Ann Sender"), Bob(), Now).message, "Message-ID"));

    const std::string link = "https://site.example/play.asp?GID=123456789&r=" + Bob().token;
    const std::string text = Part(message, "text/plain");
    EXPECT_NE(std::string::npos, text.find("Hello Bob,"));
    EXPECT_NE(std::string::npos, text.find(link + "\r\n"));
    const std::string html = Part(message, "text/html");
    EXPECT_NE(std::string::npos, html.find("<a href=\"https://site.example/play.asp?GID=123456789&amp;r=" + Bob().token));
    EXPECT_NE(std::string::npos, html.find("unsubscribe.asp?r=" + Bob().token));
}

TEST_F(MailComposerTest, NoSenderAddressMeansNoReplyTo)
{
    const std::string message = composer.Greeting(GreetingFrom("Ann", ""), Bob(), Now).message;
    EXPECT_EQ("", HeaderOf(message, "Reply-To"));
    EXPECT_EQ("\"Someone\" <cards@site.example>",
              HeaderOf(composer.Greeting(GreetingFrom(""), Bob(), Now).message, "From"));
}

TEST_F(MailComposerTest, ANameCannotAddAHeader)
{
    const std::string message =
        composer.Greeting(GreetingFrom("Ann\r\nBcc: eve@example.com\r\n\r\nfake body", "ann@example.com",
                                       "Bob\nX-Injected: yes"),
                          Bob(), Now)
            .message;
    for (const std::string& line : HeadLines(message)) {
        EXPECT_NE(0u, line.find("Bcc:")) << line;
        EXPECT_NE(0u, line.find("X-Injected:")) << line;
        EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << "a bare CR or LF in " << line;
    }
    EXPECT_EQ("\"Ann  Bcc: eve@example.com    fake body\" <cards@site.example>", HeaderOf(message, "From"));
    EXPECT_EQ("", HeaderOf(message, "Bcc"));
}

TEST_F(MailComposerTest, QuotesAndEncodesNamesAsMailRequires)
{
    EXPECT_EQ("\"Ann \\\"The Boss\\\" \\\\o/\" <cards@site.example>",
              HeaderOf(composer.Greeting(GreetingFrom("Ann \"The Boss\" \\o/"), Bob(), Now).message, "From"));

    // Greetings are Windows-1252; the mail is UTF-8.
    const std::string message = composer.Greeting(GreetingFrom("Ren\xE9"), Bob(), Now).message;
    EXPECT_EQ("=?UTF-8?B?UmVuw6k=?= <cards@site.example>", HeaderOf(message, "From"));
    EXPECT_EQ("=?UTF-8?B?UmVuw6kgc2VudCB5b3UgYSBQYXJsYWNhcmQ=?=", HeaderOf(message, "Subject"));
    EXPECT_NE(std::string::npos, Part(message, "text/plain").find("Ren\xC3\xA9 sent you"));

    // A long name is folded into several words of at most 75 characters.
    const std::string longMessage = composer.Greeting(GreetingFrom(std::string(150, '\xE9')), Bob(), Now).message;
    int words = 0;
    for (size_t start = 0; (start = longMessage.find("=?UTF-8?B?", start)) != std::string::npos; ++words) {
        const size_t end = longMessage.find("?=", start + 10) + 2;
        EXPECT_LE(end - start, 75u);
        start = end;
    }
    EXPECT_GT(words, 4);
}

TEST_F(MailComposerTest, EveryTextIsEscapedInTheHtmlPart)
{
    const std::string message =
        composer.Greeting(GreetingFrom("<script>alert(1)</script>", "ann@example.com", "<img src=x onerror=alert(2)>"),
                          Bob(), Now)
            .message;
    const std::string html = Part(message, "text/html");
    EXPECT_EQ(std::string::npos, html.find("<script"));
    EXPECT_EQ(std::string::npos, html.find("<img"));
    EXPECT_NE(std::string::npos, html.find("&lt;script&gt;alert(1)&lt;/script&gt;"));
    EXPECT_NE(std::string::npos, html.find("&lt;img src=x onerror=alert(2)&gt;"));
    EXPECT_NE(std::string::npos, Part(message, "text/plain").find("<script>alert(1)</script> sent you"));
}

TEST_F(MailComposerTest, TheSenderHearsWhoOpenedIt)
{
    const QueuedMail notice = composer.PickUpNotice(GreetingFrom("Ann"), "bob@example.com", Now);
    EXPECT_EQ("ann@example.com", notice.envelopeTo);
    EXPECT_EQ("", notice.recipientToken);
    EXPECT_EQ("bob@example.com opened your Parlacard", HeaderOf(notice.message, "Subject"));
    EXPECT_EQ("<ann@example.com>", HeaderOf(notice.message, "To"));
    EXPECT_NE(std::string::npos,
              Part(notice.message, "text/plain").find("https://site.example/send/default.asp?GID=123456789"));
}

TEST(MailTextTest, QuotedPrintableKeepsLinesShortAndDotsSafe)
{
    const std::string text = std::string(200, 'a') + "\n.hidden\ntrailing \nx=y";
    const std::string encoded = QuotedPrintable(text);
    std::istringstream lines(encoded);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 77u);
        EXPECT_NE('.', line.empty() ? ' ' : line[0]);
    }
    EXPECT_EQ(std::string(200, 'a') + "\r\n.hidden\r\ntrailing \r\nx=y", DecodeQuotedPrintable(encoded));
}
