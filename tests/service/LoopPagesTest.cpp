#include "Gunzip.h"
#include "ServiceProcess.h"
#include "TempFolder.h"
#include "service/pages/PlainGetRequest.h"
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <regex>
#include <set>

namespace {

// The whole exchange of one request on a connection of its own, which the client closes
// for writing once the request is out: the service replies and closes.
std::string Exchange(int port, const std::string& request)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        send(socket, request.data(), request.size(), MSG_NOSIGNAL);
        shutdown(socket, SHUT_WR);
        timeval wait{ 20, 0 };
        setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        char buffer[4096];
        for (ssize_t got; (got = recv(socket, buffer, sizeof buffer, 0)) > 0;)
            reply.append(buffer, static_cast<size_t>(got));
    }
    close(socket);
    return reply;
}

// A reply's status line and headers (in any order), and its body as sent, or unpacked
// when gzipped (compressors may differ in their bytes; the length goes with them).
struct Reply {
    std::set<std::string> head;
    std::string body;
};

Reply Understood(const std::string& reply)
{
    Reply understood;
    const size_t end = reply.find("\r\n\r\n");
    const std::string head = reply.substr(0, end == std::string::npos ? reply.size() : end + 2);
    understood.body = end == std::string::npos ? std::string() : reply.substr(end + 4);
    const bool gzipped = head.find("\r\nContent-Encoding: gzip\r\n") != std::string::npos;
    for (size_t at = 0, next; (next = head.find("\r\n", at)) != std::string::npos; at = next + 2) {
        const std::string line = head.substr(at, next - at);
        if (!(gzipped && line.rfind("Content-Length: ", 0) == 0))
            understood.head.insert(line);
    }
    if (gzipped && !understood.body.empty())
        understood.body = Gunzip(understood.body);
    return understood;
}

} // namespace

TEST(LoopPagesTest, APlainRequestIsReadAsTheLibraryReadsItAndAnOddOneIsLeftToIt)
{
    const ConnectionAddresses addresses{ "127.0.0.1", 5000, "127.0.0.1", 80 };
    httplib::Request request;
    ASSERT_TRUE(ReadPlainGet("GET /play%2Easp?GID=12&r=a+b%21 HTTP/1.1\r\nHost: x\r\nIf-None-Match:  \"abc\", W/\"d\" \t\r\n"
                             "accept-encoding:gzip\r\n\r\n",
                             addresses, request));
    EXPECT_EQ("GET", request.method);
    EXPECT_EQ("/play.asp", request.path);
    EXPECT_EQ("12", request.get_param_value("GID"));
    EXPECT_EQ("a b!", request.get_param_value("r"));
    EXPECT_EQ("\"abc\", W/\"d\"", request.get_header_value("If-None-Match"));
    EXPECT_EQ("gzip", request.get_header_value("Accept-Encoding"));
    EXPECT_EQ("127.0.0.1", request.remote_addr);
    EXPECT_EQ(5000, request.remote_port);

    const char* const odd[] = {
        "POST /upload.asp HTTP/1.1\r\nContent-Length: 0\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nRange: bytes=0-9\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello",
        "GET /play.asp HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nExpect: 100-continue\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nX-Escaped: %41\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nX-Bare: a\nHost: x\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nNo colon here\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nX-Empty:\r\n\r\n",
        "GET /play.asp HTTP/1.1\r\nX-Eight-Bit: caf\xc3\xa9\r\n\r\n",
        "GET http://www.parlacard.example/play.asp HTTP/1.1\r\n\r\n",
        "GET /play.asp?a=1?b=2 HTTP/1.1\r\n\r\n",
        "GET /play.asp HTTP/2.0\r\n\r\n",
        "GET  /play.asp HTTP/1.1\r\n\r\n",
    };
    for (const char* request : odd) {
        httplib::Request declined;
        EXPECT_FALSE(ReadPlainGet(request, addresses, declined)) << request;
    }
}

// The pages answered on the connection loops (greeting, send page, scripts and styles)
// are answered just as the library answers them: asked for by path (a loop answers) and in full as a proxy asks (a worker answers
// through the library), the replies match, for GET and HEAD, compressed or not, kept or
// closed (HTTP/1.0 too), found, unchanged or missing.
TEST(LoopPagesTest, ALoopAnswersAPageAsTheLibraryDoes)
{
    TempFolder folder;
    ServiceProcess service(folder.Path(), {});
    httplib::Client client = service.Client();
    const httplib::Result uploaded = client.Post("/upload.asp", GreetingText("bob@example.com,carol@example.com"), "text/plain");
    ASSERT_TRUE(uploaded);
    const std::string id = uploaded->body.substr(0, uploaded->body.find('\r'));
    const httplib::Result page = client.Get("/play.asp?GID=" + id);
    ASSERT_TRUE(page);
    std::smatch hashed;
    ASSERT_TRUE(std::regex_search(page->body, hashed, std::regex("/play/main\\.[0-9a-f]{16}\\.js")));

    const std::string pages[] = { "/play.asp?GID=" + id, "/play/greeting.asp?GID=" + id, "/send/default.asp?GID=" + id,
                                  "/send/default.asp?GID=123", "/play.asp?GID=x", "/play/main.js", hashed.str(),
                                  "/play/player.css" };
    const std::string variants[] = { "GET % HTTP/1.1\r\nHost: x\r\n\r\n", "HEAD % HTTP/1.1\r\nHost: x\r\n\r\n",
                                      "GET % HTTP/1.1\r\nHost: x\r\nAccept-Encoding: gzip, deflate\r\n\r\n",
                                      "GET % HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
                                      "GET % HTTP/1.1\r\nHost: x\r\nIf-None-Match: *\r\n\r\n",
                                      // Not kept, and the reply says so either way.
                                      "GET % HTTP/1.0\r\n\r\n" };
    for (const std::string& page : pages) {
        for (const std::string& variant : variants) {
            const size_t at = variant.find('%');
            const std::string byPath = variant.substr(0, at) + page + variant.substr(at + 1);
            const std::string inFull = variant.substr(0, at) + "http://www.parlacard.example" + page + variant.substr(at + 1);
            const Reply onLoop = Understood(Exchange(service.Port(), byPath));
            const Reply throughLibrary = Understood(Exchange(service.Port(), inFull));
            ASSERT_FALSE(onLoop.head.empty()) << byPath;
            EXPECT_EQ(throughLibrary.head, onLoop.head) << byPath;
            EXPECT_EQ(throughLibrary.body, onLoop.body) << byPath;
        }
    }
}
