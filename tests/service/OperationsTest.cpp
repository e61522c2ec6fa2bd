#include "ServiceProcess.h"
#include "TempFolder.h"
#include <chrono>
#include <csignal>
#include <fstream>
#include <future>
#include <memory>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sstream>
#include <thread>

namespace {

std::string FirstLine(const httplib::Result& reply)
{
    return reply ? reply->body.substr(0, reply->body.find('\r')) : std::string();
}

// Runs the statement on a connection of the test's own (the service has the file open
// too) and counts the rows it yields; -1 when it failed.
int CountRows(const std::string& database, const std::string& sql)
{
    sqlite3* connection = nullptr;
    sqlite3_open(database.c_str(), &connection);
    sqlite3_busy_timeout(connection, 10000);
    sqlite3_stmt* statement = nullptr;
    int rows = -1;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        int step;
        for (rows = 0; (step = sqlite3_step(statement)) == SQLITE_ROW;)
            ++rows;
        if (step != SQLITE_DONE)
            rows = -1;
    }
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return rows;
}

} // namespace

TEST(OperationsTest, HealthAndOneLogLinePerRequestWithoutQueries)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    httplib::Client client = service.Client();
    const httplib::Result health = client.Get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ(200, health->status);
    EXPECT_EQ("ok\n", health->body);
    ASSERT_TRUE(client.Get("/play.asp?GID=123&r=secret-token"));
    ASSERT_TRUE(client.Get("/no/such/page%0D%0Aforged"));
    const httplib::Result script = client.Get("/play/main.js");
    ASSERT_TRUE(script);
    ASSERT_EQ(200, script->status);
    service.Stop(SIGTERM);

    std::istringstream log(ReadWholeFile(folder.File("access.log")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    ASSERT_EQ(4u, lines.size()) << ReadWholeFile(folder.File("access.log"));
    EXPECT_NE(std::string::npos, lines[0].find(" 127.0.0.1 \"GET /healthz\" 200 3"));
    EXPECT_NE(std::string::npos, lines[1].find(" 127.0.0.1 \"GET /play.asp\" 404 "));
    EXPECT_EQ(std::string::npos, lines[1].find("secret"));
    // A file's line counts the bytes that went out.
    EXPECT_NE(std::string::npos, lines[3].find("\"GET /play/main.js\" 200 " + std::to_string(script->body.size())))
        << lines[3];
}

TEST(OperationsTest, AClientAddressComesFromAProxyOnlyWhenTheProxyIsTrusted)
{
    const std::string greeting = GreetingText("bob@example.com");
    for (const bool trusted : { false, true }) {
        TempFolder folder;
        std::vector<std::string> settings = { "--uploads-per-hour", "1" };
        if (trusted)
            settings.insert(settings.end(), { "--trusted-proxies", "127.0.0.1" });
        ServiceProcess service(folder.Path(), settings);
        httplib::Client client = service.Client();
        int answered = 0;
        for (const char* forwarded : { "203.0.113.1", "203.0.113.2", "203.0.113.2" }) {
            const httplib::Result reply =
                client.Post("/upload.asp", { { "X-Forwarded-For", forwarded } }, greeting, "text/plain");
            ASSERT_TRUE(reply);
            answered += reply->status == 200;
        }
        // Trusted, two clients get one upload each; otherwise it is all the proxy's one.
        EXPECT_EQ(trusted ? 2 : 1, answered) << (trusted ? "trusted" : "not trusted");
    }
}

TEST(OperationsTest, AStopLetsTheRequestInHandFinishAndKeepsWhatItAnswered)
{
    TempFolder folder;
    const std::string greeting = GreetingText("bob@example.com");
    std::string id;
    {
        ServiceProcess service(folder.Path(), { "--test-switches" });
        httplib::Client control = service.Client();
        ASSERT_TRUE(control.Post("/_test/upload-reply?kind=store&delay=1500", "", "text/plain"));
        std::future<std::string> upload = std::async(std::launch::async, [&] {
            httplib::Client client = service.Client();
            return FirstLine(client.Post("/upload.asp", greeting, "text/plain"));
        });
        // The upload is on its way once the service logged it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (ReadWholeFile(folder.File("requests/000001.http")).empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(0, service.Stop(SIGTERM)) << service.Output();
        id = upload.get();
        ASSERT_FALSE(id.empty());
        EXPECT_NE(std::string::npos, service.Output().find("parlacard-service: stopped"));
    }
    ServiceProcess again(folder.Path(), {});
    httplib::Client client = again.Client();
    const httplib::Result stored = client.Get("/play/greeting.asp?GID=" + id);
    ASSERT_TRUE(stored);
    EXPECT_EQ(greeting, stored->body);
}

// A second service on the same SQLite file would show stale pages and send the first
// one's messages again: it does not start, says why, and the first goes on serving.
TEST(OperationsTest, ASecondServiceOnTheSameSqliteFileDoesNotStart)
{
    TempFolder folder;
    const std::vector<std::string> sameFile = { "--database", folder.File("first/parlacard.db") };
    auto first = std::make_unique<ServiceProcess>(folder.File("first"), std::vector<std::string>{});
    try {
        ServiceProcess second(folder.File("second"), sameFile);
        ADD_FAILURE() << "a second service started on the same file";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string::npos, std::string(error.what())
                                         .find("is in use by another running service (process " +
                                               std::to_string(first->Pid()) + ")"))
            << error.what();
    }
    httplib::Client client = first->Client();
    const httplib::Result health = client.Get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ(200, health->status);

    // Killed, the first lets go of the file with its life.
    first->Stop(SIGKILL);
    first.reset();
    ServiceProcess after(folder.File("second"), sameFile);
    httplib::Client again = after.Client();
    const httplib::Result healthAfter = again.Get("/healthz");
    ASSERT_TRUE(healthAfter);
    EXPECT_EQ(200, healthAfter->status);
}

// A second service told the port of a running one does not start beside it: it would
// take every other connection to a database of its own.
TEST(OperationsTest, ASecondServiceOnTheSamePortDoesNotStart)
{
    TempFolder folder;
    ServiceProcess first(folder.File("first"), {});
    httplib::Client client = first.Client();
    const std::string id = FirstLine(client.Post("/upload.asp", GreetingText("bob@example.com"), "text/plain"));
    ASSERT_FALSE(id.empty());
    try {
        ServiceProcess second(folder.File("second"), { "--port", std::to_string(first.Port()) });
        ADD_FAILURE() << "a second service started on the same port";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("cannot listen on")) << error.what();
    }
    // Every connection still reaches the first, and its greeting.
    for (int i = 0; i < 20; ++i) {
        httplib::Client fresh = first.Client();
        const httplib::Result page = fresh.Get("/play/greeting.asp?GID=" + id);
        ASSERT_TRUE(page);
        EXPECT_EQ(200, page->status);
    }
}

// The purge runs by itself while the service runs: a greeting past its retention goes,
// with its recipients and its messages, and a recent one stays.
TEST(OperationsTest, ThePurgeLoopRemovesExpiredGreetingsByItself)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), { "--retention-days", "1", "--purge-interval-seconds", "1" });
    httplib::Client client = service.Client();
    const std::string old = FirstLine(client.Post("/upload.asp", GreetingText("bob@example.com"), "text/plain"));
    const std::string recent = FirstLine(client.Post("/upload.asp", GreetingText("carol@example.com"), "text/plain"));
    ASSERT_FALSE(old.empty());
    ASSERT_FALSE(recent.empty());
    ASSERT_TRUE(PressSend(client, client, old));

    // Made two days old behind the service's back, as time would make it.
    const std::string database = folder.File("parlacard.db");
    EXPECT_EQ(1, CountRows(database, "UPDATE greetings SET created=created-2*86400 WHERE id=" + old + " RETURNING id"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    const auto status = [&](const std::string& id) {
        const httplib::Result stored = client.Get("/play/greeting.asp?GID=" + id);
        return stored ? stored->status : -1;
    };
    while (status(old) == 200 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(404, status(old));
    EXPECT_EQ(0, CountRows(database, "SELECT 1 FROM recipients WHERE greeting=" + old));
    EXPECT_EQ(0, CountRows(database, "SELECT 1 FROM outbox WHERE greeting=" + old));
    EXPECT_EQ(200, status(recent));
    EXPECT_EQ(1, CountRows(database, "SELECT 1 FROM recipients WHERE greeting=" + recent));
}
