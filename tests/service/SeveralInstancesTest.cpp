#include "ServiceProcess.h"
#include "SmtpSink.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Calls the check until it holds or the deadline passes; whether it held.
bool WaitFor(const std::function<bool()>& check, int seconds)
{
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (!check()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Runs the work for each number below count on a few threads at once.
void InParallel(int count, int threads, const std::function<void(int)>& work)
{
    std::atomic<int> next{ 0 };
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back([&] {
            for (int n; (n = next++) < count;)
                work(n);
        });
    for (std::thread& thread : running)
        thread.join();
}

// The id an upload answered with, or empty.
std::string IdOf(const httplib::Result& reply)
{
    if (!reply || reply->status != 200)
        return std::string();
    return reply->body.substr(0, reply->body.find('\r'));
}

// A greeting of its own for each number, with bytes beyond ASCII in its text.
std::string NumberedGreeting(int n, const std::string& recipients = "bob@example.com")
{
    return GreetingText(recipients, "Sender " + std::to_string(n), "ann@example.com",
                        { "Merlin,Show", "Merlin,Speak,Gr\xFC\xDF" "e Nummer " + std::to_string(n) });
}

int HealthOf(const ServiceProcess& instance)
{
    httplib::Client client = instance.Client();
    const httplib::Result reply = client.Get("/healthz");
    return reply ? reply->status : 0;
}

} // namespace

// Two instances of the service on one PostgreSQL database, mailing through one relay.
class SeveralInstancesTest : public testing::Test {
protected:
    SeveralInstancesTest()
    {
        const std::vector<std::string> settings = {
            "--database", database.Address(), "--smtp-host", "127.0.0.1", "--smtp-port", std::to_string(relayPort),
            "--uploads-per-hour", "1000000", "--messages-per-day", "1000000", "--mail-first-retry-seconds", "1",
            "--mail-longest-retry-seconds", "2", "--mail-lease-seconds", "8", "--tell-sender-of-pickups", "no",
            "--access-log", ""
        };
        for (int i = 0; i < 2; ++i)
            instances.push_back(std::make_unique<ServiceProcess>(folder.File("instance" + std::to_string(i)), settings));
    }

    ServiceProcess& Instance(int n) { return *instances[n % 2]; }

    // Uploads the greetings, each to three recipients of its own, and presses Send on
    // each, its page from one instance and its Send on the other; every address.
    std::vector<std::string> SendGreetings(int count)
    {
        std::vector<std::string> addresses;
        for (int n = 0; n < count; ++n)
            for (int r = 0; r < 3; ++r)
                addresses.push_back("g" + std::to_string(n) + "r" + std::to_string(r) + "@example.com");
        InParallel(count, 4, [&](int n) {
            httplib::Client first = Instance(n).Client();
            httplib::Client second = Instance(n + 1).Client();
            const std::string id = IdOf(first.Post("/upload.asp", NumberedGreeting(n, addresses[3 * n] + "," +
                                                                                       addresses[3 * n + 1] + "," +
                                                                                       addresses[3 * n + 2]),
                                                   "text/plain"));
            ASSERT_FALSE(id.empty()) << n;
            const httplib::Result sent = PressSend(second, first, id);
            ASSERT_TRUE(sent && sent->status < 400) << n;
        });
        return addresses;
    }

    int Outbox(const std::string& condition) const
    {
        return std::stoi(database.Value("SELECT count(*) FROM outbox WHERE " + condition));
    }

    // How many messages the relay took for each address.
    std::map<std::string, int> Received() const
    {
        std::map<std::string, int> received;
        for (const std::string& message : sink->Messages())
            ++received[HeaderOf(message, "To")];
        return received;
    }

    TempFolder folder;
    TestDatabase database;
    std::unique_ptr<SmtpSink> sink = std::make_unique<SmtpSink>(folder.File("smtp"));
    int relayPort = sink->Port();
    std::vector<std::unique_ptr<ServiceProcess>> instances;
};

TEST_F(SeveralInstancesTest, UploadsToEitherGetDistinctIdsAndReadBackFromTheOther)
{
    const int count = 1000;
    std::vector<std::string> ids(count);
    InParallel(count, 8, [&](int n) {
        httplib::Client client = Instance(n).Client();
        ids[n] = IdOf(client.Post("/upload.asp", NumberedGreeting(n), "text/plain"));
    });
    EXPECT_EQ(size_t(count), std::set<std::string>(ids.begin(), ids.end()).size());
    std::atomic<int> same{ 0 };
    InParallel(count, 8, [&](int n) {
        httplib::Client client = Instance(n + 1).Client();
        const httplib::Result stored = client.Get("/play/greeting.asp?GID=" + ids[n]);
        ASSERT_TRUE(stored && stored->status == 200) << n << ": " << ids[n];
        EXPECT_EQ(NumberedGreeting(n), stored->body) << n;
        same += NumberedGreeting(n) == stored->body;
    });
    EXPECT_EQ(count, same.load());
}

TEST_F(SeveralInstancesTest, EveryMessageGoesOutOnceThroughTwoInstances)
{
    const std::vector<std::string> addresses = SendGreetings(200);
    sink->WaitForMessages(600, 180000);
    ASSERT_TRUE(WaitFor([&] { return Outbox("state<>'sent'") == 0; }, 60)) << Outbox("state<>'sent'");
    const std::map<std::string, int> received = Received();
    EXPECT_EQ(600u, sink->Messages().size());
    for (const std::string& address : addresses) {
        const auto found = received.find("<" + address + ">");
        EXPECT_TRUE(found != received.end() && found->second == 1) << address;
    }
}

// One instance killed in the middle of sending: the other sends the rest, and takes over
// the message the dead one had taken once its lease ran out. Only that message may
// arrive twice (it may have reached the relay before the kill).
TEST_F(SeveralInstancesTest, AKilledInstancesMessagesAreTakenOverByTheOther)
{
    const std::vector<std::string> addresses = SendGreetings(200);
    sink->WaitForMessages(300, 180000);
    // A slow relay holds each instance inside a delivery, its message taken.
    sink->SetMode("slow");
    ASSERT_TRUE(WaitFor([&] { return Outbox("state='queued' AND leased_until > extract(epoch from now())") == 2; },
                        30));
    instances[0]->Stop(SIGKILL);
    sink->SetMode("accept");
    ASSERT_TRUE(WaitFor([&] { return Outbox("state<>'sent'") == 0; }, 180)) << Outbox("state<>'sent'");
    sink->WaitForMessages(600, 30000);
    const std::map<std::string, int> received = Received();
    int repeats = 0;
    for (const std::string& address : addresses) {
        const auto found = received.find("<" + address + ">");
        ASSERT_TRUE(found != received.end()) << address;
        repeats += found->second - 1;
    }
    EXPECT_LE(repeats, 1);
    EXPECT_EQ(600u + repeats, sink->Messages().size());
}

// The database stopped for 20 s under a stream of uploads: meanwhile both instances
// answer 503 with a reason and say so on /healthz; every upload answered with an id is
// kept; once the database is back they are healthy again by themselves.
TEST_F(SeveralInstancesTest, ADatabaseAwayForAWhileLosesNoAnsweredUpload)
{
    struct Answer {
        int status;
        std::string body;
        std::string greeting;
    };
    std::vector<Answer> answers;
    std::mutex mutex;
    std::atomic<bool> stop{ false };
    std::atomic<int> stored{ 0 };
    std::vector<std::thread> clients;
    for (int c = 0; c < 4; ++c) {
        clients.emplace_back([&, c] {
            for (int n = c; !stop; n += 4) {
                httplib::Client client = Instance(n).Client();
                const std::string greeting = NumberedGreeting(n);
                const httplib::Result reply = client.Post("/upload.asp", greeting, "text/plain");
                std::lock_guard<std::mutex> lock(mutex);
                answers.push_back({ reply ? reply->status : 0, reply ? reply->body : std::string(), greeting });
                stored += reply && reply->status == 200;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    const auto storedAtLeast = [&](int count) { return WaitFor([&] { return stored >= count; }, 60); };
    EXPECT_TRUE(storedAtLeast(50));
    TestDatabase::HaltCluster();
    EXPECT_TRUE(WaitFor([&] { return HealthOf(Instance(0)) == 503 && HealthOf(Instance(1)) == 503; }, 30));
    httplib::Client watcher = Instance(0).Client();
    const httplib::Result health = watcher.Get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ("database unreachable\n", health->body);
    std::this_thread::sleep_for(std::chrono::seconds(20));
    const int storedBefore = stored;
    TestDatabase::ResumeCluster();
    EXPECT_TRUE(WaitFor([&] { return HealthOf(Instance(0)) == 200 && HealthOf(Instance(1)) == 200; }, 60));
    EXPECT_TRUE(storedAtLeast(storedBefore + 50));
    stop = true;
    for (std::thread& client : clients)
        client.join();

    int refused = 0;
    for (const Answer& answer : answers) {
        if (answer.status == 503) {
            ++refused;
            EXPECT_EQ("The site's database cannot be reached just now; please try again later.\r\n", answer.body);
            continue;
        }
        ASSERT_EQ(200, answer.status) << answer.body;
        httplib::Client client = Instance(0).Client();
        const httplib::Result kept =
            client.Get("/play/greeting.asp?GID=" + answer.body.substr(0, answer.body.find('\r')));
        ASSERT_TRUE(kept && kept->status == 200) << answer.body;
        EXPECT_EQ(answer.greeting, kept->body);
    }
    EXPECT_GT(refused, 0);
}

// The relay away for 30 s only delays the messages.
TEST_F(SeveralInstancesTest, ARelayAwayForAWhileOnlyDelaysTheMessages)
{
    sink.reset();
    const std::vector<std::string> addresses = SendGreetings(10);
    EXPECT_TRUE(WaitFor([&] { return Outbox("attempts>0 AND state='queued'") > 0; }, 30));
    std::this_thread::sleep_for(std::chrono::seconds(30));
    EXPECT_EQ(0, Outbox("state<>'queued'"));
    sink = std::make_unique<SmtpSink>(folder.File("smtp"), std::vector<std::string>{ "--port", std::to_string(relayPort) });
    EXPECT_TRUE(WaitFor([&] { return Outbox("state<>'sent'") == 0; }, 60)) << Outbox("state<>'sent'");
    const std::map<std::string, int> received = Received();
    EXPECT_EQ(addresses.size(), sink->Messages().size());
    for (const std::string& address : addresses)
        EXPECT_EQ(1, received.count("<" + address + ">")) << address;
}

// The limits per client address count what the address did at every instance.
TEST(SeveralInstancesLimitTest, LimitsHoldAcrossInstances)
{
    TempFolder folder;
    TestDatabase database;
    const std::vector<std::string> settings = { "--database", database.Address(), "--uploads-per-hour", "6",
                                                "--messages-per-day", "4", "--access-log", "" };
    ServiceProcess first(folder.File("first"), settings);
    ServiceProcess second(folder.File("second"), settings);
    httplib::Client clients[2] = { first.Client(), second.Client() };
    std::vector<std::string> ids;
    int refused = 0;
    for (int n = 0; n < 12; ++n) {
        const httplib::Result reply =
            clients[n % 2].Post("/upload.asp", NumberedGreeting(n, "bob@example.com,carol@example.com,dan@example.com"),
                                "text/plain");
        ASSERT_TRUE(reply);
        if (reply->status == 200)
            ids.push_back(IdOf(reply));
        else
            refused += reply->status == 429;
    }
    EXPECT_EQ(6u, ids.size());
    EXPECT_EQ(6, refused);
    // Three messages went out through the first; three more would pass four at the second.
    const httplib::Result sent = PressSend(clients[0], clients[0], ids[0]);
    ASSERT_TRUE(sent);
    EXPECT_LT(sent->status, 400);
    const httplib::Result over = PressSend(clients[1], clients[1], ids[1]);
    ASSERT_TRUE(over);
    EXPECT_EQ(429, over->status);
}
