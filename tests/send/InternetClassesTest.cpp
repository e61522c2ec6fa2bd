#include "framework/HttpConnection.h"
#include "framework/HttpFile.h"
#include "framework/InternetException.h"
#include "framework/InternetSession.h"
#include "support/ProxySetting.h"
#include "support/StandInControl.h"
#include <memory>
#include <gtest/gtest.h>

namespace {

// A session, a connection to the site and one request on it, in the order they must close.
struct Exchange {
    Exchange(const std::string& verb, const std::string& object, const char* referer = nullptr,
             const char** acceptTypes = nullptr)
        : session("Internet classes test", 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
          connection(session.GetHttpConnection("www.parlacard.example", INTERNET_DEFAULT_HTTP_PORT, nullptr, nullptr)),
          request(connection->OpenRequest(verb, object, referer, 1, acceptTypes, nullptr, 0))
    {
    }

    CInternetSession session;
    std::unique_ptr<CHttpConnection> connection;
    std::unique_ptr<CHttpFile> request;
};

std::vector<std::string> ReadLines(CHttpFile& file, size_t maxLength)
{
    std::vector<std::string> lines;
    for (std::string line; file.ReadString(line, maxLength);)
        lines.push_back(line);
    return lines;
}

// Every byte value, many times over: more than one block of the reader.
std::string BinaryBytes(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// The error code of the exception that the call throws; 0 when it throws none.
template <class Call> DWORD ThrownError(Call call)
{
    try {
        call();
    } catch (const CInternetException& error) {
        return error.m_dwError;
    }
    return 0;
}

class InternetClassesTest : public testing::Test {
protected:
    StandInControl standIn;
    ProxySetting proxy{ standIn.Port() };
};

TEST_F(InternetClassesTest, RequestGoesOutAsOpenedWithTheSessionsAgent)
{
    const char* accept[] = { "text/html", "text/plain", nullptr };
    Exchange exchange("GET", "/help/index.htm?topic=send", "http://referer.example/", accept);
    exchange.request->SendRequest("X-Test: one\r\n", nullptr, 0);
    EXPECT_EQ(200u, exchange.request->QueryInfoStatusCode());

    const RecordedRequest request = standIn.LastRequest();
    EXPECT_NE(std::string::npos, request.requestLine.find("/help/index.htm?topic=send HTTP/1.1"))
        << request.requestLine;
    EXPECT_EQ(0u, request.requestLine.find("GET http://www.parlacard.example")) << request.requestLine;
    EXPECT_EQ("Internet classes test", request.Header("User-Agent"));
    EXPECT_EQ("http://referer.example/", request.Header("Referer"));
    EXPECT_NE(std::string::npos, request.Header("Accept").find("text/html")) << request.Header("Accept");
    EXPECT_EQ("one", request.Header("X-Test"));
}

TEST_F(InternetClassesTest, ReadStringGivesTheBodyLineByLine)
{
    standIn.ReplyWith(201, "first\r\nsecond\n\nabcdefghij\nlast");
    Exchange exchange("POST", "/upload.asp");
    const std::string body = "anything";
    exchange.request->SendRequest("", body.data(), static_cast<DWORD>(body.size()));
    EXPECT_EQ(201u, exchange.request->QueryInfoStatusCode());
    // Only the line feed goes; a longer line comes in pieces of the most asked for.
    EXPECT_EQ((std::vector<std::string>{ "first\r", "second", "", "abcdefgh", "ij", "last" }),
              ReadLines(*exchange.request, 8));
    EXPECT_EQ(standIn.LastRequest().body, body);
}

TEST_F(InternetClassesTest, ReadGoesOnWhereReadStringStopped)
{
    const std::string rest = BinaryBytes(100000);
    standIn.ReplyWith(200, "head\n" + rest);
    Exchange exchange("POST", "/upload.asp");
    exchange.request->SendRequest("", nullptr, 0);
    std::string line;
    ASSERT_TRUE(exchange.request->ReadString(line, 100));
    EXPECT_EQ("head", line);

    std::string read;
    char block[1000];
    for (UINT count; (count = exchange.request->Read(block, sizeof(block))) != 0;)
        read.append(block, count);
    EXPECT_TRUE(read == rest) << "read " << read.size() << " bytes of " << rest.size();
}

TEST_F(InternetClassesTest, FailuresThrowWithWinInetsErrorCode)
{
    proxy.PointAtClosedPort();
    Exchange refused("POST", "/upload.asp");
    EXPECT_EQ(DWORD(ERROR_INTERNET_CANNOT_CONNECT), ThrownError([&] { refused.request->SendRequest("", nullptr, 0); }));

    proxy.PointAt(standIn.Port());
    standIn.ReplyRaw("");
    Exchange silent("POST", "/upload.asp");
    EXPECT_EQ(DWORD(ERROR_HTTP_INVALID_SERVER_RESPONSE),
              ThrownError([&] { silent.request->SendRequest("", nullptr, 0); }));

    // The head promises more than comes before the connection closes.
    standIn.ReplyRaw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst line\r\nand a part");
    Exchange cut("POST", "/upload.asp");
    cut.request->SendRequest("", nullptr, 0);
    std::string line;
    ASSERT_TRUE(cut.request->ReadString(line, 100));
    EXPECT_EQ("first line\r", line);
    EXPECT_EQ(DWORD(ERROR_INTERNET_CONNECTION_ABORTED), ThrownError([&] { cut.request->ReadString(line, 100); }));
}

TEST(InternetExceptionTest, DescribesTheErrorInTheSystemsWords)
{
    const std::string known = CInternetException(ERROR_INTERNET_CANNOT_CONNECT).GetErrorMessage();
    const std::string unknown = CInternetException(0x7FFF0000).GetErrorMessage();
    EXPECT_EQ("Internet error 2147418112.", unknown);
    EXPECT_NE(std::string::npos, known.find_first_not_of(" ")) << known;
    EXPECT_EQ(std::string::npos, known.find("12029")) << known;
    EXPECT_NE('\n', known.back());
    EXPECT_NE('\r', known.back());
}

} // namespace
