#include "ServiceProcess.h"
#include "TempFolder.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// The first line of a reply, as the program reads it.
std::string FirstLine(const std::string& body)
{
    return body.substr(0, body.find_first_of("\r\n"));
}

} // namespace

class UploadPageTest : public testing::Test {
protected:
    httplib::Result Post(const std::string& body)
    {
        return client.Post("/upload.asp", body, "application/octet-stream");
    }
    std::string Upload(const std::string& body)
    {
        const httplib::Result reply = Post(body);
        EXPECT_TRUE(reply);
        if (!reply)
            return std::string();
        EXPECT_EQ(200, reply->status) << reply->body;
        return FirstLine(reply->body);
    }

    TempFolder folder;
    ServiceProcess service{ folder.Path(), { "--test-switches", "--uploads-per-hour", "5" } };
    httplib::Client client = service.Client();
};

TEST_F(UploadPageTest, AnswersARandomIdThatReadsBackByteForByte)
{
    const std::string greeting = GreetingText("bob@example.com", "Ren\xE9 <b>", "rene@example.com");
    const std::string first = Upload(greeting);
    const std::string second = Upload(greeting);
    for (const std::string& id : { first, second }) {
        ASSERT_TRUE(id.size() == 9 || id.size() == 10) << id;
        EXPECT_EQ(std::string::npos, id.find_first_not_of("0123456789"));
        const httplib::Result stored = client.Get("/play/greeting.asp?GID=" + id);
        ASSERT_TRUE(stored);
        EXPECT_EQ(200, stored->status);
        EXPECT_EQ(greeting, stored->body);
    }
    EXPECT_NE(first, second);
}

TEST_F(UploadPageTest, RefusesWithAFourHundredAndOnePlainLine)
{
    const std::pair<std::string, int> cases[] = {
        { "GET / HTTP/1.0", 400 },
        { GreetingText("bob@example.com,not an address"), 400 },
        { GreetingText(std::string(1024 * 1024, 'a')), 413 },
    };
    for (const auto& [body, status] : cases) {
        const httplib::Result reply = Post(body);
        ASSERT_TRUE(reply);
        EXPECT_EQ(status, reply->status);
        const std::string line = FirstLine(reply->body);
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(std::string::npos, line.find_first_of("<>")) << line;
        EXPECT_EQ(line + "\r\n", reply->body);
    }
}

TEST_F(UploadPageTest, TooManyUploadsFromOneAddressGetTooManyRequests)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_FALSE(Upload(GreetingText("bob@example.com")).empty());
    const httplib::Result refused = Post(GreetingText("bob@example.com"));
    ASSERT_TRUE(refused);
    EXPECT_EQ(429, refused->status);
    EXPECT_EQ("Too many greetings came from your address in the last hour; please try again later.\r\n",
              refused->body);
}

// Whatever the id looks like, a page that takes one answers the friendly missing page.
TEST_F(UploadPageTest, AnIdOfAnythingButDigitsGetsTheMissingPage)
{
    const std::string id = Upload(GreetingText("bob@example.com"));
    const std::string queries[] = { "GID=" + id + "-", "GID=1-",   "GID=-",        "GID=%2B1",  "GID=%201",
                                    "GID=",           "",         "GID=12345678901", "GID=" + id + "%00",
                                    "GID=99999999999999999999999", "GID=%FF",  "GID=" + id + "&GID=1" };
    for (const char* page : { "/play.asp", "/play/greeting.asp", "/send/default.asp" }) {
        for (const std::string& query : queries) {
            const httplib::Result reply = client.Get(page + ("?" + query));
            ASSERT_TRUE(reply);
            EXPECT_EQ(404, reply->status) << page << "?" << query;
            EXPECT_NE(std::string::npos, reply->body.find("We could not find this greeting")) << page << "?" << query;
        }
        const httplib::Result good = client.Get(page + ("?GID=" + id));
        ASSERT_TRUE(good);
        EXPECT_EQ(200, good->status) << page;
    }
}

TEST_F(UploadPageTest, TheTestSwitchesExistOnlyUnderTheTestOption)
{
    const std::string id = Upload(GreetingText("bob@example.com"));
    httplib::Result reset = client.Post("/_test/reset", "", "text/plain");
    ASSERT_TRUE(reset);
    EXPECT_EQ(200, reset->status);

    TempFolder otherFolder;
    ServiceProcess production(otherFolder.Path(), {});
    httplib::Client plain = production.Client();
    for (const char* page : { "/_test/reset", "/_test/upload-reply?kind=fixed" }) {
        const httplib::Result reply = plain.Post(page, "", "text/plain");
        ASSERT_TRUE(reply);
        EXPECT_EQ(404, reply->status) << page;
    }
    const httplib::Result greeting = plain.Get("/_test/greetings/" + id);
    ASSERT_TRUE(greeting);
    EXPECT_EQ(404, greeting->status);
    // Nor does the production service keep a copy of every request.
    EXPECT_FALSE(std::filesystem::exists(otherFolder.File("requests")));
}
