#include "ServiceProcess.h"
#include "RelayCertificates.h"
#include "SmtpSink.h"
#include "TempFolder.h"
#include <chrono>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <thread>

namespace {

std::string Between(const std::string& text, const std::string& before, const std::string& after)
{
    const size_t start = text.find(before);
    if (start == std::string::npos)
        return std::string();
    const size_t from = start + before.size();
    return text.substr(from, text.find(after, from) - from);
}

// The pick-up link of a message's text part (its query is plain ASCII, never wrapped there).
std::string PickUpPath(const std::string& message)
{
    std::smatch found;
    const std::string decoded = DecodeQuotedPrintable(message);
    if (!std::regex_search(decoded, found, std::regex("/play\\.asp\\?GID=[0-9]+&r=[0-9a-f]{32}")))
        return std::string();
    return found.str();
}

} // namespace

class SendPageTest : public testing::Test {
protected:
    // A relay with TLS and a login ("cards", "secret") when the settings name its user.
    explicit SendPageTest(std::vector<std::string> extra = {}, bool tlsRelay = false)
        : certificates(tlsRelay ? std::make_unique<RelayCertificates>(folder.File("certificates")) : nullptr),
          sink(folder.File("smtp"), certificates ? std::vector<std::string>{ "--tls", certificates->Certificate(),
                                                                              certificates->Key(), "--login", "cards",
                                                                              "secret" }
                                                 : std::vector<std::string>())
    {
        std::vector<std::string> settings = { "--smtp-host",   "127.0.0.1", "--smtp-port", std::to_string(sink.Port()),
                                              "--mail-first-retry-seconds", "1", "--public-address",
                                              "https://cards.example", "--mail-from", "cards@cards.example" };
        settings.insert(settings.end(), extra.begin(), extra.end());
        if (certificates)
            settings.insert(settings.end(), { "--smtp-security", "tls", "--smtp-ca-file", certificates->Authority(),
                                              "--smtp-user", "cards" });
        service = std::make_unique<ServiceProcess>(folder.File("service"), settings);
    }

    std::string Upload(const std::string& greeting)
    {
        httplib::Client client = service->Client();
        const httplib::Result reply = client.Post("/upload.asp", greeting, "application/octet-stream");
        EXPECT_TRUE(reply && reply->status == 200);
        return reply ? reply->body.substr(0, reply->body.find('\r')) : std::string();
    }
    std::string Page(const std::string& id)
    {
        httplib::Client client = service->Client();
        const httplib::Result page = client.Get("/send/default.asp?GID=" + id);
        EXPECT_TRUE(page && page->status == 200);
        return page ? page->body : std::string();
    }
    httplib::Result PressSend(const std::string& id, const std::string& token)
    {
        httplib::Client client = service->Client();
        return client.Post("/send/default.asp", "GID=" + id + "&token=" + token, "application/x-www-form-urlencoded");
    }
    static std::string TokenOf(const std::string& page)
    {
        return Between(page, "name=\"token\" value=\"", "\"");
    }
    // Waits until the page shows no recipient queued.
    std::string SettledPage(const std::string& id)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::string page = Page(id);
        while (page.find("data-state=\"queued\"") != std::string::npos && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            page = Page(id);
        }
        return page;
    }

    TempFolder folder;
    std::unique_ptr<RelayCertificates> certificates;
    SmtpSink sink;
    std::unique_ptr<ServiceProcess> service;
};

TEST_F(SendPageTest, SendMailsEachRecipientOnceAndShowsHowFarEachGot)
{
    const std::string id = Upload(GreetingText("bob@example.com,carol@example.com"));
    const std::string page = Page(id);
    EXPECT_NE(std::string::npos, page.find("Ann Sender &lt;ann@example.com&gt;"));
    EXPECT_NE(std::string::npos, page.find("<span class=\"address\">bob@example.com</span> "
                                           "<span class=\"recipient-state\">Not sent yet</span>"));
    EXPECT_TRUE(std::regex_search(page, std::regex("src=\"/play/main\\.[0-9a-f]{16}\\.js\"")));
    const std::string token = TokenOf(page);
    ASSERT_EQ(32u, token.size());

    const httplib::Result sent = PressSend(id, token);
    ASSERT_TRUE(sent);
    EXPECT_EQ(303, sent->status);
    EXPECT_EQ("/send/default.asp?GID=" + id, sent->get_header_value("Location"));
    // Pressed again, or the form posted again on a reload: nothing goes twice.
    ASSERT_TRUE(PressSend(id, token));

    const std::vector<std::string> messages = sink.WaitForMessages(2);
    ASSERT_EQ(2u, messages.size());
    const std::string settled = SettledPage(id);
    EXPECT_NE(std::string::npos, settled.find("<li data-state=\"sent\"><span class=\"address\">bob@example.com"));
    EXPECT_NE(std::string::npos, settled.find("<li data-state=\"sent\"><span class=\"address\">carol@example.com"));
    EXPECT_EQ(std::string::npos, settled.find("<form")) << "a sent greeting has no Send button";

    std::set<std::string> to;
    for (const std::string& message : messages) {
        to.insert(HeaderOf(message, "To"));
        EXPECT_EQ("Ann Sender sent you a Parlacard", HeaderOf(message, "Subject"));
        EXPECT_EQ("\"Ann Sender\" <cards@cards.example>", HeaderOf(message, "From"));
        EXPECT_EQ("\"Ann Sender\" <ann@example.com>", HeaderOf(message, "Reply-To"));
        EXPECT_NE("", PickUpPath(message));
    }
    EXPECT_EQ((std::set<std::string>{ "<bob@example.com>", "<carol@example.com>" }), to);
    EXPECT_NE(PickUpPath(messages[0]), PickUpPath(messages[1]));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(2u, sink.Messages().size());
}

TEST_F(SendPageTest, AFormNotFromTheSendPageSendsNothing)
{
    const std::string id = Upload(GreetingText("bob@example.com"));
    const std::string token = TokenOf(Page(id));
    const std::string other = Upload(GreetingText("carol@example.com"));
    for (const std::string& forged : { std::string(), std::string(32, '0'), TokenOf(Page(other)), token + "0" }) {
        const httplib::Result reply = PressSend(id, forged);
        ASSERT_TRUE(reply);
        EXPECT_EQ(403, reply->status) << forged;
    }
    httplib::Client client = service->Client();
    const httplib::Result twoTokens =
        client.Post("/send/default.asp", "GID=" + id + "&token=" + token + "&token=" + std::string(32, '0'),
                    "application/x-www-form-urlencoded");
    ASSERT_TRUE(twoTokens);
    EXPECT_EQ(403, twoTokens->status);
    const httplib::Result unknown = PressSend("123", token);
    ASSERT_TRUE(unknown);
    EXPECT_EQ(404, unknown->status);
    EXPECT_NE(std::string::npos, Page(id).find("<button id=\"send\""));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(sink.Messages().empty());
}

TEST_F(SendPageTest, ARefusedRecipientShowsWhy)
{
    sink.SetMode("550");
    const std::string id = Upload(GreetingText("nobody@example.com"));
    ASSERT_TRUE(PressSend(id, TokenOf(Page(id))));
    const std::string page = SettledPage(id);
    EXPECT_NE(std::string::npos, page.find("<li data-state=\"failed\">")) << page;
    EXPECT_NE(std::string::npos, page.find("Failed: the relay answered 550")) << page;
}

class WrongPasswordSendPageTest : public SendPageTest {
protected:
    WrongPasswordSendPageTest() : SendPageTest({ "--smtp-password", "wrong" }, true) {}
};

TEST_F(WrongPasswordSendPageTest, ARefusedLoginShowsAsAFailure)
{
    const std::string id = Upload(GreetingText("bob@example.com"));
    ASSERT_TRUE(PressSend(id, TokenOf(Page(id))));
    const std::string page = SettledPage(id);
    EXPECT_NE(std::string::npos, page.find("<li data-state=\"failed\">")) << page;
    EXPECT_NE(std::string::npos, page.find("Failed: the relay refused the site&#39;s login")) << page;
    EXPECT_TRUE(sink.Messages().empty());
}

TEST_F(SendPageTest, AGreetingWithoutRecipientsGetsItsLinkToCopy)
{
    const std::string id = Upload(GreetingText(""));
    const std::string page = Page(id);
    EXPECT_NE(std::string::npos, page.find("value=\"https://cards.example/play.asp?GID=" + id + "\""));
    EXPECT_EQ(std::string::npos, page.find("<form"));
}

TEST_F(SendPageTest, EveryFieldIsEscapedOnThePage)
{
    const std::string id = Upload(GreetingText("bob@example.com", "<script>alert(1)</script>\"'&",
                                               "ann@example.com", { "<img src=x onerror=alert(2)>,Show" }));
    const std::string page = Page(id);
    EXPECT_EQ(std::string::npos, page.find("<script>alert"));
    EXPECT_EQ(std::string::npos, page.find("<img"));
    EXPECT_NE(std::string::npos, page.find("&lt;script&gt;alert(1)&lt;/script&gt;&quot;&#39;&amp;"));
    httplib::Client client = service->Client();
    const httplib::Result reply = client.Get("/send/default.asp?GID=" + id);
    ASSERT_TRUE(reply);
    EXPECT_NE(std::string::npos, reply->get_header_value("Content-Security-Policy").find("script-src 'self'"));
    EXPECT_NE(std::string::npos, reply->get_header_value("Content-Security-Policy").find("form-action 'self'"));
}

TEST_F(SendPageTest, TheFirstPickUpTellsTheSenderOnce)
{
    const std::string id = Upload(GreetingText("bob@example.com"));
    ASSERT_TRUE(PressSend(id, TokenOf(Page(id))));
    const std::vector<std::string> messages = sink.WaitForMessages(1);
    ASSERT_EQ(1u, messages.size());
    const std::string pickUp = PickUpPath(messages[0]);
    httplib::Client client = service->Client();
    for (int i = 0; i < 3; ++i) {
        const httplib::Result opened = client.Get(pickUp);
        ASSERT_TRUE(opened);
        EXPECT_EQ(200, opened->status);
    }
    const std::vector<std::string> withNotice = sink.WaitForMessages(2);
    ASSERT_EQ(2u, withNotice.size());
    EXPECT_EQ("<ann@example.com>", HeaderOf(withNotice[1], "To"));
    EXPECT_EQ("bob@example.com opened your Parlacard", HeaderOf(withNotice[1], "Subject"));
    EXPECT_NE(std::string::npos, Page(id).find("<li data-state=\"opened\">"));
    // A made-up token opens the greeting but records nothing.
    const httplib::Result madeUp = client.Get("/play.asp?GID=" + id + "&r=" + std::string(32, 'a'));
    ASSERT_TRUE(madeUp);
    EXPECT_EQ(200, madeUp->status);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(2u, sink.Messages().size());
}

TEST_F(SendPageTest, AnUnsubscribedAddressGetsNothingMoreAndThePageSaysSo)
{
    const std::string first = Upload(GreetingText("bob@example.com"));
    ASSERT_TRUE(PressSend(first, TokenOf(Page(first))));
    const std::vector<std::string> messages = sink.WaitForMessages(1);
    ASSERT_EQ(1u, messages.size());
    const std::string unsubscribe = Between(HeaderOf(messages[0], "List-Unsubscribe"), "https://cards.example", ">");
    httplib::Client client = service->Client();
    const httplib::Result done = client.Get(unsubscribe);
    ASSERT_TRUE(done);
    EXPECT_EQ(200, done->status);
    EXPECT_NE(std::string::npos, done->body.find("no more mail to bob@example.com"));
    const httplib::Result unknown = client.Get("/unsubscribe.asp?r=" + std::string(32, 'b'));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(404, unknown->status);

    const std::string second = Upload(GreetingText("bob@example.com,carol@example.com"));
    EXPECT_NE(std::string::npos, Page(second).find("<li data-state=\"unsubscribed\"><span class=\"address\">bob@"));
    ASSERT_TRUE(PressSend(second, TokenOf(Page(second))));
    const std::vector<std::string> after = sink.WaitForMessages(2);
    ASSERT_EQ(2u, after.size());
    EXPECT_EQ("<carol@example.com>", HeaderOf(after[1], "To"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(2u, sink.Messages().size());
}

class QuietSendPageTest : public SendPageTest {
protected:
    QuietSendPageTest() : SendPageTest({ "--tell-sender-of-pickups", "no", "--messages-per-day", "3" }) {}
};

TEST_F(QuietSendPageTest, PickUpsNeedNotBeToldAndMessagesPerDayAreLimited)
{
    const std::string id = Upload(GreetingText("bob@example.com,carol@example.com"));
    ASSERT_TRUE(PressSend(id, TokenOf(Page(id))));
    const std::vector<std::string> messages = sink.WaitForMessages(2);
    ASSERT_EQ(2u, messages.size());
    httplib::Client client = service->Client();
    ASSERT_TRUE(client.Get(PickUpPath(messages[0])));

    // Two more would make four messages today from this address, one over the limit.
    const std::string more = Upload(GreetingText("dan@example.com,erin@example.com"));
    const httplib::Result refused = PressSend(more, TokenOf(Page(more)));
    ASSERT_TRUE(refused);
    EXPECT_EQ(429, refused->status);
    EXPECT_NE(std::string::npos, Page(more).find("<button id=\"send\""));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(2u, sink.Messages().size());
}
