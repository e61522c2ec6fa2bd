#include "ServiceProcess.h"
#include "SmtpSink.h"
#include "TempFolder.h"
#include <arpa/inet.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int Connect(int port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(socket);
        return -1;
    }
    return socket;
}

std::string FirstLine(const httplib::Result& reply)
{
    return reply && reply->status == 200 ? reply->body.substr(0, reply->body.find('\r')) : std::string();
}

} // namespace

// Clients that connect and say nothing, or a byte now and then, must not keep a normal
// client waiting: each connection is served on its own.
TEST(RobustnessTest, FiveHundredSlowClientsDoNotStarveANormalOne)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    std::vector<int> slow;
    std::mutex mutex;
    // Every other one trickles a request a byte at a time, from the moment it connects;
    // the rest say nothing at all.
    std::atomic<bool> trickling{ true };
    std::thread trickle([&] {
        const std::string request = "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n\r\n";
        std::vector<size_t> sent;
        while (trickling) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                sent.resize(slow.size());
                for (size_t i = 0; i < slow.size(); i += 2)
                    send(slow[i], &request[sent[i]++ % request.size()], 1, MSG_NOSIGNAL);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
    });
    for (int i = 0; i < 500; ++i) {
        const int socket = Connect(service.Port());
        ASSERT_GE(socket, 0) << "connection " << i;
        std::lock_guard<std::mutex> lock(mutex);
        slow.push_back(socket);
    }

    httplib::Client client("127.0.0.1", service.Port());
    client.set_connection_timeout(10, 0);
    client.set_read_timeout(10, 0);
    const std::string id = FirstLine(client.Post("/upload.asp", GreetingText("bob@example.com"), "text/plain"));
    EXPECT_FALSE(id.empty());
    const httplib::Result page = client.Get("/send/default.asp?GID=" + id);
    ASSERT_TRUE(page);
    EXPECT_EQ(200, page->status);

    // The trickling ones were still being waited for, each on its own, all along.
    int open = 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        char byte;
        for (size_t i = 0; i < slow.size(); i += 2)
            open += recv(slow[i], &byte, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
    }
    EXPECT_GT(open, 240);
    trickling = false;
    trickle.join();
    for (int socket : slow)
        close(socket);
}

// Killed in the middle of 200 uploads, the service keeps every greeting whose id it
// answered, byte for byte.
TEST(RobustnessTest, EveryAnsweredUploadSurvivesAKill)
{
    TempFolder folder;
    std::map<std::string, std::string> answered;
    std::mutex mutex;
    {
        ServiceProcess service(folder.Path(), { "--uploads-per-hour", "1000" });
        std::atomic<int> next{ 0 };
        std::vector<std::thread> clients;
        for (int c = 0; c < 4; ++c) {
            clients.emplace_back([&] {
                httplib::Client client = service.Client();
                for (int n; (n = next++) < 200;) {
                    const std::string greeting = GreetingText("bob@example.com", "Sender " + std::to_string(n),
                                                              "ann@example.com", { "Merlin,Speak,Number " + std::to_string(n) });
                    const std::string id = FirstLine(client.Post("/upload.asp", greeting, "text/plain"));
                    if (!id.empty()) {
                        std::lock_guard<std::mutex> lock(mutex);
                        answered[id] = greeting;
                    }
                }
            });
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (answered.size() >= 80)
                    break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        service.Stop(SIGKILL);
        for (std::thread& client : clients)
            client.join();
    }
    ASSERT_GE(answered.size(), 80u);
    EXPECT_LT(answered.size(), 200u) << "the kill came after the last upload";

    ServiceProcess again(folder.Path(), {});
    httplib::Client client = again.Client();
    for (const auto& [id, greeting] : answered) {
        const httplib::Result stored = client.Get("/play/greeting.asp?GID=" + id);
        ASSERT_TRUE(stored);
        ASSERT_EQ(200, stored->status) << id;
        EXPECT_EQ(greeting, stored->body) << id;
    }
}

// Killed while the outbox is being sent, the service sends the rest on its next start:
// every message arrives, and only the one that was on its way may arrive twice.
TEST(RobustnessTest, AKillDuringSendingLosesNoMessageAndRepeatsAtMostOne)
{
    TempFolder folder;
    SmtpSink sink(folder.File("smtp"));
    sink.SetMode("slow");
    const std::vector<std::string> settings = { "--smtp-host", "127.0.0.1", "--smtp-port", std::to_string(sink.Port()),
                                                "--mail-first-retry-seconds", "1" };
    const std::string recipients = RecipientList(6);
    {
        ServiceProcess service(folder.File("service"), settings);
        httplib::Client client = service.Client();
        const std::string id = FirstLine(client.Post("/upload.asp", GreetingText(recipients), "text/plain"));
        ASSERT_FALSE(id.empty());
        ASSERT_TRUE(PressSend(client, client, id));
        sink.WaitForMessages(2, 60000);
        // Killed while the third waits for the slow relay.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        service.Stop(SIGKILL);
    }
    sink.SetMode("accept");
    ServiceProcess again(folder.File("service"), settings);
    std::vector<std::string> messages = sink.WaitForMessages(6, 60000);
    // A repeat would come right after the others; give it the time to show.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    messages = sink.Messages();
    std::map<std::string, int> received;
    for (const std::string& message : messages)
        ++received[HeaderOf(message, "To")];
    int repeats = 0;
    for (int i = 0; i < 6; ++i) {
        const int count = received["<r" + std::to_string(i) + "@example.com>"];
        EXPECT_GE(count, 1) << "r" << i;
        repeats += count - 1;
    }
    EXPECT_LE(repeats, 1);
    EXPECT_EQ(6u + repeats, messages.size());
}

// Stopped (SIGTERM) while the outbox is being sent, the service finishes the message on
// its way and records it before it ends; the next start sends the rest. Every message
// arrives exactly once.
TEST(RobustnessTest, AStopDuringSendingFinishesTheMessageOnItsWayAndSendsEachOnce)
{
    TempFolder folder;
    SmtpSink sink(folder.File("smtp"));
    sink.SetMode("slow");
    const std::vector<std::string> settings = { "--smtp-host", "127.0.0.1", "--smtp-port", std::to_string(sink.Port()),
                                                "--mail-first-retry-seconds", "1" };
    const std::string recipients = RecipientList(6);
    {
        ServiceProcess service(folder.File("service"), settings);
        httplib::Client client = service.Client();
        const std::string id = FirstLine(client.Post("/upload.asp", GreetingText(recipients), "text/plain"));
        ASSERT_FALSE(id.empty());
        ASSERT_TRUE(PressSend(client, client, id));
        ASSERT_EQ(2u, sink.WaitForMessages(2, 60000).size());
        // Stopped while the third waits for the slow relay: the stop waits for it.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_EQ(0, service.Stop(SIGTERM)) << service.Output();
        EXPECT_EQ(3u, sink.Messages().size());
    }
    sink.SetMode("accept");
    ServiceProcess again(folder.File("service"), settings);
    sink.WaitForMessages(6, 60000);
    // A repeat would come right after the others; give it the time to show.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    std::map<std::string, int> received;
    for (const std::string& message : sink.Messages())
        ++received[HeaderOf(message, "To")];
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(1, received["<r" + std::to_string(i) + "@example.com>"]) << "r" << i;
    EXPECT_EQ(6u, sink.Messages().size());
}

namespace {

// What the socket brings until the text has come that many times, the other side closes
// or 20 s pass.
std::string ReceiveUntil(int socket, const std::string& text, int times)
{
    timeval wait{ 1, 0 };
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const auto count = [&](const std::string& received) {
        int found = 0;
        for (size_t at = received.find(text); at != std::string::npos; at = received.find(text, at + 1))
            ++found;
        return found;
    };
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (count(received) < times && std::chrono::steady_clock::now() < deadline) {
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got == 0)
            break;
        if (got > 0)
            received.append(buffer, static_cast<size_t>(got));
    }
    return received;
}

} // namespace

// Requests sent back to back in one packet are each answered, in order, on the one connection.
TEST(RobustnessTest, PipelinedRequestsAreAnsweredInOrder)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int socket = Connect(service.Port());
    ASSERT_GE(socket, 0);
    const std::string upload = GreetingText("bob@example.com");
    const std::string requests = "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n"
                                 "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                                 std::to_string(upload.size()) + "\r\n\r\n" + upload +
                                 "GET /no/such/page HTTP/1.1\r\nHost: x\r\n\r\n";
    ASSERT_EQ(static_cast<ssize_t>(requests.size()), send(socket, requests.data(), requests.size(), MSG_NOSIGNAL));
    const std::string replies = ReceiveUntil(socket, "HTTP/1.1 ", 3);
    close(socket);
    const size_t health = replies.find("HTTP/1.1 200");
    const size_t id = replies.find("HTTP/1.1 200", health + 1);
    const size_t missing = replies.find("HTTP/1.1 404");
    ASSERT_NE(std::string::npos, missing) << replies;
    EXPECT_LT(health, id) << replies;
    EXPECT_LT(id, missing) << replies;
    EXPECT_NE(std::string::npos, replies.find("\r\n\r\nok\n", health)) << replies;
}

// A client that asks whether to send its body hears "100 Continue" before it sends it.
TEST(RobustnessTest, AClientWaitingToContinueIsToldToGoOn)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int socket = Connect(service.Port());
    ASSERT_GE(socket, 0);
    const std::string upload = GreetingText("bob@example.com");
    const std::string head = "POST /upload.asp HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\nContent-Length: " +
                             std::to_string(upload.size()) + "\r\n\r\n";
    send(socket, head.data(), head.size(), MSG_NOSIGNAL);
    const std::string goOn = ReceiveUntil(socket, "\r\n\r\n", 1);
    EXPECT_EQ(0u, goOn.find("HTTP/1.1 100 Continue\r\n")) << goOn;
    send(socket, upload.data(), upload.size(), MSG_NOSIGNAL);
    const std::string reply = ReceiveUntil(socket, "\r\n\r\n", 1);
    close(socket);
    EXPECT_EQ(0u, reply.find("HTTP/1.1 200 OK\r\n")) << reply;
}

namespace {

// Whether the service closed the connection within 20 s (whatever it sent first is kept).
bool ClosedByService(int socket, std::string& received)
{
    timeval wait{ 1, 0 };
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return true;
        if (got > 0)
            received.append(buffer, static_cast<size_t>(got));
    }
    return false;
}

void SendText(int socket, const std::string& text)
{
    send(socket, text.data(), text.size(), MSG_NOSIGNAL);
}

int ThreadsOf(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Threads:", 0) == 0)
            return std::stoi(line.substr(8));
    return -1;
}

} // namespace

// A request that arrives in pieces, cut anywhere (inside a line, inside the body), is
// answered once, when its last byte is in, and not before.
TEST(RobustnessTest, ARequestInPiecesIsAnsweredWhenItIsWhole)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int socket = Connect(service.Port());
    ASSERT_GE(socket, 0);
    const std::string upload = GreetingText("bob@example.com");
    const std::string request = "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                                std::to_string(upload.size()) + "\r\n\r\n" + upload;
    const size_t cuts[] = { 0, 7, 30, request.size() - upload.size() - 1, request.size() - 3, request.size() };
    for (size_t i = 0; i + 1 < std::size(cuts); ++i) {
        char byte;
        EXPECT_LT(recv(socket, &byte, 1, MSG_DONTWAIT), 0) << "a reply before the request was whole";
        SendText(socket, request.substr(cuts[i], cuts[i + 1] - cuts[i]));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::string reply = ReceiveUntil(socket, "\r\n\r\n", 1);
    close(socket);
    EXPECT_EQ(0u, reply.find("HTTP/1.1 200 OK\r\n")) << reply;
}

// A head too large, a body larger than the site takes, a body without a length: each is
// refused with its status before the body is read, and the connection ends.
TEST(RobustnessTest, WhatIsTooLargeIsRefusedBeforeItIsRead)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), { "--upload-max-bytes", "2048" });
    const struct {
        std::string head;
        const char* status;
        const char* says;
    } cases[] = {
        { "GET /play.asp?" + std::string(20000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 431 ", "" },
        { "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 5000000\r\n\r\n", "HTTP/1.1 413 ",
          "larger than the 2 KB" },
        { "POST /upload.asp HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n", "HTTP/1.1 411 ", "" },
        { "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 12x\r\n\r\n", "HTTP/1.1 400 ", "" },
    };
    for (const auto& refused : cases) {
        const int socket = Connect(service.Port());
        ASSERT_GE(socket, 0);
        SendText(socket, refused.head);
        // A client that sends its body all the same still gets to read the refusal.
        if (std::string(refused.status) == "HTTP/1.1 413 ")
            SendText(socket, std::string(200000, 'x'));
        std::string reply;
        EXPECT_TRUE(ClosedByService(socket, reply)) << refused.status;
        close(socket);
        EXPECT_EQ(0u, reply.find(refused.status)) << reply.substr(0, 200);
        EXPECT_NE(std::string::npos, reply.find(refused.says)) << reply.substr(0, 200);
    }
}

// A connection that says nothing more is let go; one whose request stops coming is told
// so (408) and let go.
TEST(RobustnessTest, SilentAndStalledClientsAreLetGo)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int silent = Connect(service.Port());
    const int stalled = Connect(service.Port());
    ASSERT_GE(silent, 0);
    ASSERT_GE(stalled, 0);
    SendText(stalled, "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\nhalf");
    std::string toSilent;
    std::string toStalled;
    EXPECT_TRUE(ClosedByService(silent, toSilent));
    EXPECT_TRUE(ClosedByService(stalled, toStalled));
    close(silent);
    close(stalled);
    EXPECT_EQ("", toSilent);
    EXPECT_EQ(0u, toStalled.find("HTTP/1.1 408 ")) << toStalled;
}

// Open connections cost no thread of their own: five hundred idle ones leave the service
// with its fixed set of threads, and a normal client is answered beside them.
TEST(RobustnessTest, IdleConnectionsHoldNoThreads)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), { "--request-threads", "8" });
    std::vector<int> idle;
    for (int i = 0; i < 500; ++i) {
        const int socket = Connect(service.Port());
        ASSERT_GE(socket, 0) << "connection " << i;
        idle.push_back(socket);
        // Half of them start a request and leave it hanging.
        if (i % 2 == 0)
            SendText(socket, "GET /healthz HTTP/1.1\r\n");
    }
    httplib::Client client = service.Client();
    const httplib::Result health = client.Get("/healthz");
    ASSERT_TRUE(health);
    EXPECT_EQ(200, health->status);
    EXPECT_LT(ThreadsOf(service.Pid()), 50);
    for (int socket : idle)
        close(socket);
}

// Pages are read beside the uploads: with every upload thread waiting, a page is still
// answered, and before the upload in hand.
TEST(RobustnessTest, APageIsAnsweredWhileEveryUploadThreadWaits)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), { "--test-switches", "--request-threads", "1" });
    httplib::Client control = service.Client();
    ASSERT_TRUE(control.Post("/_test/upload-reply?kind=store&delay=2000", "", "text/plain"));
    const int uploading = Connect(service.Port());
    ASSERT_GE(uploading, 0);
    const std::string upload = GreetingText("bob@example.com");
    SendText(uploading, "POST /upload.asp HTTP/1.1\r\nHost: x\r\nContent-Length: " + std::to_string(upload.size()) +
                            "\r\n\r\n" + upload);
    // The upload is in hand once the service logged it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ReadWholeFile(folder.File("requests/000001.http")).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    httplib::Client reader = service.Client();
    const httplib::Result page = reader.Get("/help/");
    ASSERT_TRUE(page);
    EXPECT_EQ(200, page->status);
    char byte;
    EXPECT_LT(recv(uploading, &byte, 1, MSG_DONTWAIT), 0) << "the upload was answered before the page";
    const std::string reply = ReceiveUntil(uploading, "\r\n\r\n", 1);
    close(uploading);
    EXPECT_EQ(0u, reply.find("HTTP/1.1 200 OK\r\n")) << reply;
}

namespace {

// How many times the text occurs in the file as it is now.
int CountIn(const std::string& path, const std::string& text)
{
    const std::string whole = ReadWholeFile(path);
    int found = 0;
    for (size_t at = whole.find(text); at != std::string::npos; at = whole.find(text, at + 1))
        ++found;
    return found;
}

// One whole reply, its body as long as its Content-Length says; what came so far after 20 s.
std::string ReceiveReply(int socket)
{
    std::string reply = ReceiveUntil(socket, "\r\n\r\n", 1);
    const size_t length = reply.find("\r\nContent-Length: ");
    const size_t head = reply.find("\r\n\r\n");
    if (length == std::string::npos || head == std::string::npos)
        return reply;
    const size_t whole = head + 4 + std::stoul(reply.substr(length + 18));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (reply.size() < whole && std::chrono::steady_clock::now() < deadline) {
        char buffer[4096];
        const ssize_t got = recv(socket, buffer, std::min(sizeof buffer, whole - reply.size()), 0);
        if (got == 0)
            break;
        if (got > 0)
            reply.append(buffer, static_cast<size_t>(got));
    }
    return reply;
}

} // namespace

// A kept connection serves request after request, pages answered on the connection's own
// thread and by workers alike, and each reply's Keep-Alive header promises no fewer
// requests than the connection then serves.
TEST(RobustnessTest, AKeptConnectionServesManyRequestsAsItsHeaderSays)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int socket = Connect(service.Port());
    ASSERT_GE(socket, 0);
    const int requests = 20;
    for (int i = 0; i < requests; ++i) {
        SendText(socket, i % 2 ? "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n"
                               : "GET /send/default.asp?GID=123 HTTP/1.1\r\nHost: x\r\n\r\n");
        const std::string reply = ReceiveReply(socket);
        ASSERT_EQ(0u, reply.find(i % 2 ? "HTTP/1.1 200 " : "HTTP/1.1 404 ")) << "request " << i << ": " << reply;
        const size_t header = reply.find("\r\nKeep-Alive: timeout=5, max=");
        ASSERT_NE(std::string::npos, header) << "request " << i << ": " << reply;
        ASSERT_GE(std::stoi(reply.substr(header + 29)), requests) << reply;
        EXPECT_EQ(std::string::npos, reply.find("Connection: close")) << reply;
    }
    close(socket);
}

// At a stop, an idle kept connection is closed at once, and a client that sends request
// after request but reads none of the replies holds the stop up only briefly; it never
// got more replies made than it took (the rest would have waited in the service).
TEST(RobustnessTest, AClientThatReadsNothingGetsNoMoreRepliesMadeAndDoesNotHoldUpAStop)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    const int idle = Connect(service.Port());
    ASSERT_GE(idle, 0);
    SendText(idle, "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n");
    ASSERT_EQ(0u, ReceiveUntil(idle, "ok\n", 1).find("HTTP/1.1 200 "));

    const int reading = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    setsockopt(reading, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(service.Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(0, connect(reading, reinterpret_cast<sockaddr*>(&address), sizeof address));
    // Fewer than a connection serves (1000).
    const int asked = 900;
    std::string requests;
    for (int i = 0; i < asked; ++i)
        requests += "GET /play/character.js HTTP/1.1\r\nHost: x\r\n\r\n";
    SendText(reading, requests);
    // Every reply would be made and logged within moments if they were made regardless.
    const std::string log = folder.File("access.log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (CountIn(log, "/play/character.js") < asked && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int made = CountIn(log, "/play/character.js");
    EXPECT_GT(made, 0);
    EXPECT_LT(made, asked);

    const auto stopped = std::chrono::steady_clock::now();
    EXPECT_EQ(0, service.Stop(SIGTERM)) << service.Output();
    // The service gives a client that takes nothing 10 s before it lets it go; a stop
    // does not wait that long.
    const auto stopping = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - stopped);
    EXPECT_LT(stopping.count(), 8000);
    std::string toIdle;
    EXPECT_TRUE(ClosedByService(idle, toIdle));
    EXPECT_EQ("", toIdle);
    close(idle);
    close(reading);
}
