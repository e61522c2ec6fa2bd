#include "service/mail/OutboxFolder.h"
#include "service/mail/OutboxWorker.h"
#include "service/mail/SmtpRelay.h"
#include "service/store/PostgresStore.h"
#include "service/store/SqliteStore.h"
#include "ServiceProcess.h"
#include "RelayCertificates.h"
#include "SmtpSink.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include <chrono>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Waits until the recipients' states are all settled (not queued) or the deadline passed.
std::vector<RecipientStatus> SettledRecipients(const GreetingStore& store, std::uint64_t id, int timeoutMs = 30000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<RecipientStatus> recipients = store.Recipients(id);
    const auto settled = [&] {
        for (const RecipientStatus& recipient : recipients)
            if (recipient.state == RecipientState::Queued)
                return false;
        return true;
    };
    while (!settled() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        recipients = store.Recipients(id);
    }
    return recipients;
}

} // namespace

// On both back ends: an SQLite file, and a database of its own in the tests' PostgreSQL cluster.
class OutboxTest : public testing::TestWithParam<std::string> {
protected:
    std::unique_ptr<ServiceStore> Open()
    {
        if (GetParam() == "sqlite")
            return std::make_unique<SqliteStore>(folder.File("parlacard.db"));
        database = std::make_unique<TestDatabase>();
        return std::make_unique<PostgresStore>(database->Address(), PostgresSettings{});
    }

    // Queues one message per recipient, each its address as the body.
    std::uint64_t SendTo(const std::string& recipients)
    {
        const std::string text = GreetingText(recipients);
        const std::uint64_t id = store.Save(text, *ParseGreeting(text), "10.0.0.1", std::time(nullptr));
        std::vector<QueuedMail> mails;
        for (const RecipientStatus& recipient : store.Recipients(id))
            mails.push_back({ recipient.token, recipient.address, "Subject: for " + recipient.address + "\r\n\r\nhi\r\n" });
        EXPECT_TRUE(store.SendOnce(id, mails, "10.0.0.1", std::time(nullptr)));
        return id;
    }

    SmtpSettings Relay(int port) const
    {
        SmtpSettings settings;
        settings.host = "127.0.0.1";
        settings.port = port;
        settings.envelopeFrom = "cards@site.example";
        settings.timeoutSeconds = 10;
        return settings;
    }

    TempFolder folder;
    std::unique_ptr<TestDatabase> database;
    std::unique_ptr<ServiceStore> opened = Open();
    ServiceStore& store = *opened;
    SmtpSink sink{ folder.File("smtp") };
    RetrySettings quickRetry{ 1, 2, 3600 };
};

INSTANTIATE_TEST_SUITE_P(BothBackEnds, OutboxTest, testing::Values("sqlite", "postgresql"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST_P(OutboxTest, DeliversEachMessageOnceToItsRecipient)
{
    const std::uint64_t id = SendTo("bob@example.com,carol@example.com,dan@example.com");
    SmtpRelay relay(Relay(sink.Port()));
    OutboxWorker worker(store, relay, quickRetry);
    worker.Start();
    for (const RecipientStatus& recipient : SettledRecipients(store, id))
        EXPECT_EQ(RecipientState::Sent, recipient.state) << recipient.address << ": " << recipient.reason;
    worker.Stop();
    const std::vector<std::string> messages = sink.Messages();
    ASSERT_EQ(3u, messages.size());
    EXPECT_EQ("for bob@example.com", HeaderOf(messages[0], "Subject"));
    EXPECT_EQ("for dan@example.com", HeaderOf(messages[2], "Subject"));
}

TEST_P(OutboxTest, TemporaryRefusalsAreTriedAgainUntilTheyGoThrough)
{
    for (const char* mode : { "450", "421" }) {
        sink.SetMode(mode);
        const std::uint64_t id = SendTo("bob@example.com");
        SmtpRelay relay(Relay(sink.Port()));
        OutboxWorker worker(store, relay, quickRetry);
        worker.Start();
        // It waits with the relay's reason shown...
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (store.Recipients(id)[0].reason.empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const RecipientStatus waiting = store.Recipients(id)[0];
        EXPECT_EQ(RecipientState::Queued, waiting.state) << mode;
        EXPECT_NE(std::string::npos, waiting.reason.find(mode)) << waiting.reason;
        // ...and goes once the relay takes it.
        const size_t before = sink.Messages().size();
        sink.SetMode("accept");
        EXPECT_EQ(RecipientState::Sent, SettledRecipients(store, id)[0].state) << mode;
        worker.Stop();
        EXPECT_EQ(before + 1, sink.Messages().size()) << mode;
    }
}

TEST_P(OutboxTest, APermanentRefusalIsRecordedAndNotTriedAgain)
{
    sink.SetMode("550");
    const std::uint64_t id = SendTo("nobody@example.com");
    SmtpRelay relay(Relay(sink.Port()));
    OutboxWorker worker(store, relay, quickRetry);
    worker.Start();
    const RecipientStatus failed = SettledRecipients(store, id)[0];
    worker.Stop();
    EXPECT_EQ(RecipientState::Failed, failed.state);
    EXPECT_NE(std::string::npos, failed.reason.find("550")) << failed.reason;
    EXPECT_FALSE(store.NextDue(std::time(nullptr) + 100000));
}

TEST_P(OutboxTest, ARelayThatIsNotThereIsTriedUntilTheDayIsOver)
{
    // A port nobody listens on: the sink's, once it is gone.
    const int port = sink.Port();
    TempFolder otherFolder;
    int closedPort;
    {
        SmtpSink gone(otherFolder.File("smtp"));
        closedPort = gone.Port();
    }
    ASSERT_NE(port, closedPort);
    const std::uint64_t id = SendTo("bob@example.com");
    SmtpRelay relay(Relay(closedPort));
    {
        OutboxWorker worker(store, relay, quickRetry);
        worker.Start();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (store.Recipients(id)[0].reason.empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(RecipientState::Queued, store.Recipients(id)[0].state);
        EXPECT_FALSE(store.Recipients(id)[0].reason.empty());
    }
    // Once the time for trying is over, it is given up.
    OutboxWorker worker(store, relay, RetrySettings{ 1, 2, 0 });
    worker.Start();
    const RecipientStatus given = SettledRecipients(store, id)[0];
    EXPECT_EQ(RecipientState::Failed, given.state);
    EXPECT_EQ(0u, given.reason.find("Given up after trying for a day: ")) << given.reason;
}

// A relay with TLS (STARTTLS, or TLS from the start) and a login, its certificate from an
// authority the site is told to trust.
class TlsOutboxTest : public OutboxTest {
protected:
    SmtpSettings TlsRelay(const SmtpSink& relay, SmtpSettings::Security security, const std::string& password) const
    {
        SmtpSettings settings = Relay(relay.Port());
        settings.security = security;
        settings.caFile = certificates.Authority();
        settings.user = "cards";
        settings.password = password;
        return settings;
    }
    std::vector<std::string> SinkOptions(const char* tls) const
    {
        return { tls, certificates.Certificate(), certificates.Key(), "--login", "cards", "secret" };
    }
    // The first recipient once the worker has tried it at least once.
    RecipientStatus TriedRecipient(std::uint64_t id)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (store.Recipients(id)[0].state == RecipientState::Queued && store.Recipients(id)[0].reason.empty() &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return store.Recipients(id)[0];
    }

    RelayCertificates certificates{ folder.File("certificates") };
};

// The relay's side does not depend on where the messages wait.
INSTANTIATE_TEST_SUITE_P(OneBackEnd, TlsOutboxTest, testing::Values("sqlite"),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST_P(TlsOutboxTest, DeliversOverStartTlsAndOverTlsWithALogin)
{
    const std::pair<const char*, SmtpSettings::Security> modes[] = { { "--starttls", SmtpSettings::Security::StartTls },
                                                                      { "--tls", SmtpSettings::Security::Tls } };
    for (const auto& [option, security] : modes) {
        SmtpSink relay(folder.File(std::string("relay") + option), SinkOptions(option));
        const std::uint64_t id = SendTo("bob@example.com");
        SmtpRelay smtp(TlsRelay(relay, security, "secret"));
        OutboxWorker worker(store, smtp, quickRetry);
        worker.Start();
        const RecipientStatus sent = SettledRecipients(store, id)[0];
        worker.Stop();
        EXPECT_EQ(RecipientState::Sent, sent.state) << option << ": " << sent.reason;
        ASSERT_EQ(1u, relay.Messages().size()) << option;
        EXPECT_EQ("for bob@example.com", HeaderOf(relay.Messages()[0], "Subject"));
    }
}

// A wrong password is not a passing trouble: the message fails, with the reason, at once.
TEST_P(TlsOutboxTest, ARefusedLoginIsAFinalFailure)
{
    SmtpSink relay(folder.File("relay"), SinkOptions("--tls"));
    const std::uint64_t id = SendTo("bob@example.com");
    SmtpRelay smtp(TlsRelay(relay, SmtpSettings::Security::Tls, "wrong"));
    OutboxWorker worker(store, smtp, quickRetry);
    worker.Start();
    const RecipientStatus failed = SettledRecipients(store, id)[0];
    worker.Stop();
    EXPECT_EQ(RecipientState::Failed, failed.state) << failed.reason;
    EXPECT_NE(std::string::npos, failed.reason.find("refused the site's login")) << failed.reason;
    EXPECT_TRUE(relay.Messages().empty());
    EXPECT_FALSE(store.NextDue(std::time(nullptr) + 100000));
}

// Required STARTTLS that the relay does not offer, or a certificate from an authority the
// site does not trust: nothing goes, in clear or otherwise, and the message waits.
TEST_P(TlsOutboxTest, NothingGoesWithoutTlsOrToAnUntrustedRelay)
{
    {
        const std::uint64_t id = SendTo("bob@example.com");
        SmtpRelay smtp(TlsRelay(sink, SmtpSettings::Security::StartTls, "secret"));
        OutboxWorker worker(store, smtp, quickRetry);
        worker.Start();
        const RecipientStatus waiting = TriedRecipient(id);
        worker.Stop();
        EXPECT_EQ(RecipientState::Queued, waiting.state) << waiting.reason;
        EXPECT_FALSE(waiting.reason.empty());
        EXPECT_TRUE(sink.Messages().empty()) << "sent in clear";
        store.MarkFailed(store.NextDue(std::time(nullptr) + 100000)->id, "test over");
    }
    SmtpSink relay(folder.File("relay"), SinkOptions("--tls"));
    const std::uint64_t id = SendTo("bob@example.com");
    SmtpSettings untrusting = TlsRelay(relay, SmtpSettings::Security::Tls, "secret");
    untrusting.caFile.clear();
    SmtpRelay smtp(untrusting);
    OutboxWorker worker(store, smtp, quickRetry);
    worker.Start();
    const RecipientStatus waiting = TriedRecipient(id);
    worker.Stop();
    EXPECT_EQ(RecipientState::Queued, waiting.state) << waiting.reason;
    EXPECT_NE(std::string::npos, waiting.reason.find("certificate")) << waiting.reason;
    EXPECT_TRUE(relay.Messages().empty());
}

TEST(OutboxRetryTest, DelaysGrowUpToTheLongest)
{
    const RetrySettings retry{ 60, 3600, 86400 };
    EXPECT_EQ(60, OutboxWorker::DelayAfter(1, retry));
    EXPECT_EQ(120, OutboxWorker::DelayAfter(2, retry));
    EXPECT_EQ(240, OutboxWorker::DelayAfter(3, retry));
    EXPECT_EQ(3600, OutboxWorker::DelayAfter(8, retry));
    EXPECT_EQ(3600, OutboxWorker::DelayAfter(1000, retry));
}

TEST(OutboxFolderTest, WritesEachMessageAsOneFileEvenWhenSentTwice)
{
    TempFolder folder;
    OutboxFolder outbox(folder.File("outbox"));
    OutboxMessage message;
    message.id = 7;
    message.envelopeTo = "bob@example.com";
    message.message = "Subject: hi\r\n\r\nhello\r\n";
    EXPECT_EQ(Delivery::Outcome::Delivered, outbox.Deliver(message).outcome);
    EXPECT_EQ(Delivery::Outcome::Delivered, outbox.Deliver(message).outcome);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("outbox")))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(std::vector<std::string>{ "7.eml" }, names);
}
