#include "service/store/GreetingText.h"
#include "service/store/RandomToken.h"
#include "ServiceProcess.h"
#include <gtest/gtest.h>
#include <set>

TEST(GreetingIdTest, OnlyPlainDigitsNameAGreeting)
{
    EXPECT_EQ(123456789u, GreetingIdFrom("123456789"));
    EXPECT_EQ(7u, GreetingIdFrom("007"));
    for (const char* text : { "", "-", "1-", "-1", "+1", " 1", "1 ", "1.0", "0x1", "1e3", "١", "1234567890123456789" })
        EXPECT_FALSE(GreetingIdFrom(text)) << '"' << text << '"';
}

TEST(MailAddressTest, TakesPlainAddressesOnly)
{
    for (const char* good : { "bob@example.com", "a.b+c@mail.example.org", "x_y@sub-domain.example" })
        EXPECT_TRUE(IsMailAddress(good)) << good;
    for (const char* bad : { "", "bob", "bob@", "@example.com", "bob@localhost", "bob@@example.com", "bob@example..com",
                             ".bob@example.com", "bo..b@example.com", "bob@-example.com", "bob@example.com-",
                             "bob smith@example.com", "bob@exa mple.com", "bob@example.com\r\nBcc: eve@example.com",
                             "<bob@example.com>", "bob\"@example.com" })
        EXPECT_FALSE(IsMailAddress(bad)) << bad;
    EXPECT_FALSE(IsMailAddress(std::string(65, 'a') + "@example.com"));
    EXPECT_FALSE(IsMailAddress("a@" + std::string(250, 'b') + ".com"));
}

class RefusalTest : public testing::Test {
protected:
    std::string Refusal(const std::string& text)
    {
        GreetingSummary summary;
        return RefusalOf(text, limits, summary);
    }
    UploadLimits limits;
};

TEST_F(RefusalTest, TakesWhatTheProgramSends)
{
    GreetingSummary summary;
    EXPECT_EQ("", RefusalOf(GreetingText("bob@example.com,carol@example.com"), limits, summary));
    EXPECT_EQ((std::vector<std::string>{ "bob@example.com", "carol@example.com" }), summary.recipients);
    EXPECT_EQ("Ann Sender", summary.senderName);
    EXPECT_EQ(2u, summary.actionLines.size());
    // A greeting made before the user filled in any details still goes.
    EXPECT_EQ("", Refusal("Parlacard File Version : 1\r\n\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ("", Refusal(GreetingText("bob@example.com", "Ren\xE9", "")));
}

TEST_F(RefusalTest, SaysWhyInOnePlainLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        { "hello", "This is not a Parlacard greeting." },
        { "Parlacard File Version : 2\r\n\r\n\r\n\r\n\r\n\r\n", "This site takes greetings of file version 1 only." },
        { GreetingText(std::string(300 * 1024, 'x')), "The greeting is larger than the 256 KB this site takes." },
        { GreetingText("bob@x"), "The recipient address \"bob@x\" is not a valid e-mail address." },
        { GreetingText("bob@example.com", "Ann", "ann"), "Your e-mail address \"ann\" is not a valid e-mail address." },
        { GreetingText("bob@example.com", "Ann\rBcc: eve@example.com"),
          "The name \"Ann?Bcc: eve@example.com\" holds control characters or is too long." },
    };
    for (const auto& [text, reason] : cases) {
        EXPECT_EQ(reason, Refusal(text));
        EXPECT_EQ(std::string::npos, Refusal(text).find_first_of("\r\n"));
    }
}

TEST_F(RefusalTest, CountsActionsAndRecipientsUpToTheLimits)
{
    const std::string twenty = RecipientList(20);
    EXPECT_EQ("", Refusal(GreetingText(twenty)));
    EXPECT_EQ("A greeting can go to at most 20 recipients.", Refusal(GreetingText(twenty + ",r20@example.com")));

    const std::vector<std::string> actions(2000, "Merlin,Show");
    EXPECT_EQ("", Refusal(GreetingText("", "Ann", "", actions)));
    std::vector<std::string> tooMany = actions;
    tooMany.push_back("Merlin,Hide");
    EXPECT_EQ("The greeting has more than 2000 actions.", Refusal(GreetingText("", "Ann", "", tooMany)));
}

TEST(RandomTokenTest, IdsAreNineOrTenDigitsSpreadOverTheRange)
{
    std::set<std::uint64_t> ids;
    int nineDigits = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::uint64_t id = RandomGreetingId();
        ASSERT_GE(id, 100000000u);
        ASSERT_LE(id, 9999999999u);
        nineDigits += id < 1000000000u;
        ids.insert(id);
    }
    EXPECT_EQ(2000u, ids.size());
    // One id in eleven has nine digits; neither kind is left out.
    EXPECT_GT(nineDigits, 50);
    EXPECT_LT(nineDigits, 400);
}

TEST(RandomTokenTest, TokensAreLongHexAndDistinct)
{
    std::set<std::string> tokens;
    for (int i = 0; i < 1000; ++i) {
        const std::string token = RandomToken();
        ASSERT_EQ(32u, token.size());
        ASSERT_EQ(std::string::npos, token.find_first_not_of("0123456789abcdef"));
        tokens.insert(token);
    }
    EXPECT_EQ(1000u, tokens.size());
}
