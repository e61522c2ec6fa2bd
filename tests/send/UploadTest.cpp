#include "framework/InternetException.h"
#include "greeting/ParloDoc.h"
#include "send/GreetingPost.h"
#include "send/Upload.h"
#include "settings/AppSettings.h"
#include "support/MessageBoxAnswerer.h"
#include "support/ProxySetting.h"
#include "support/RecordingBrowser.h"
#include "support/StandInControl.h"
#include "support/TempFolder.h"
#include "support/TestRegistry.h"
#include <windows.h>
#include <wininet.h>
#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

const std::string SendPage = "http://www.parlacard.example/send/default.asp";
const std::string SendFailed = "Failed to send greeting to the Parlacard web site.\n\nError Description: ";
const std::string NoId = "Failed to send greeting to the Parlacard web site.\n\nCould not obtain ID from web server.";
const std::string NotAnId = "Failed to send greeting to the Parlacard web site.\nCould not obtain ID from web server."
                            "\n\nThe response from the server was:\n";

// Headers that WinInet adds to a request by itself; a request of ours carries no others.
const char* const LibraryHeaders[] = { "Host", "User-Agent", "Content-Length", "Connection", "Proxy-Connection",
                                       "Cache-Control", "Pragma" };

using Texts = std::vector<std::string>;

bool IsLibraryHeader(const std::string& name)
{
    return std::any_of(std::begin(LibraryHeaders), std::end(LibraryHeaders),
                       [&](const char* known) { return lstrcmpiA(known, name.c_str()) == 0; });
}

// The greeting of every upload here: a recipient, two addresses, a text with a letter of
// the upper half of the code page and a comma, and the site pointed at the stand-in.
class UploadTest : public testing::Test {
protected:
    void SetUp() override
    {
        GetSettings().UserName = "Ann Sender";
        GetSettings().UserEmail = "ann@example.com";
        folder.Write("in.pcg", "Parlacard File Version : 1\r\nBob\r\n\r\n\r\n\r\n\r\n"
                               "Merlin,Show,Animate\r\nMerlin,Say,\"Caf\xE9, anyone?\"\r\nGenie,Move,Center\r\n");
        ASSERT_EQ(GreetingFileResult::Done, doc.ReadGreetingFile(folder.File("in.pcg")));
        doc.SetRecipientAddresses("bob@example.com,carol@example.com");
    }

    // Uploads, checks that every message box was an ownerless error box captioned like
    // every box of the program, and returns their texts.
    Texts Upload(bool expected)
    {
        MessageBoxAnswerer answerer;
        EXPECT_EQ(expected, UploadGreeting(doc));
        Texts texts;
        for (const RecordedMessageBox& box : answerer.Boxes()) {
            EXPECT_EQ("Parlacard", box.caption);
            EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), box.flags);
            EXPECT_EQ(nullptr, box.owner);
            // Whatever the server said, the box fits a screen 1024 pixels wide.
            EXPECT_LE(box.window.right - box.window.left, 1024) << box.text;
            texts.push_back(box.text);
        }
        return texts;
    }

    // The id of the one send page the browser was asked to open.
    std::string OpenedId()
    {
        const std::vector<std::string> opened = browser.WaitForAddresses(1);
        if (opened.size() != 1 || opened[0].compare(0, SendPage.size() + 5, SendPage + "?GID=") != 0) {
            ADD_FAILURE() << "expected one send page, got " << testing::PrintToString(opened);
            return std::string();
        }
        return opened[0].substr(SendPage.size() + 5);
    }

    TestRegistry registry;
    StandInControl standIn;
    ProxySetting proxy{ standIn.Port() };
    RecordingBrowser browser;
    TempFolder folder;
    CParloDoc doc;
};

TEST_F(UploadTest, PostsTheGreetingAsItIsSavedAndOpensItsSendPage)
{
    doc.SetPreviewed(true);
    EXPECT_EQ(Texts(), Upload(true));

    const RecordedRequest request = standIn.LastRequest();
    // Through a proxy the request names the site in full; the port may be spelled out.
    EXPECT_TRUE(request.requestLine == "POST http://www.parlacard.example/upload.asp HTTP/1.1" ||
                request.requestLine == "POST http://www.parlacard.example:80/upload.asp HTTP/1.1")
        << request.requestLine;
    EXPECT_EQ("www.parlacard.example", request.Header("Host"));
    EXPECT_EQ("Parlacard (http://www.parlacard.example)", request.Header("User-Agent"));
    EXPECT_EQ(std::to_string(request.body.size()), request.Header("Content-Length"));
    for (const auto& header : request.headers)
        EXPECT_TRUE(IsLibraryHeader(header.first)) << "extra header " << header.first << ": " << header.second;

    // The saved file's bytes, line ends and all: the body is that text with CR LF.
    ASSERT_EQ(GreetingFileResult::Done, doc.WriteGreetingFile(folder.File("saved.pcg")));
    EXPECT_EQ(folder.Read("saved.pcg"), request.body);
    EXPECT_EQ(0u, request.body.find("Parlacard File Version : 1\r\nBob\r\nbob@example.com,carol@example.com\r\n"
                                    "Ann Sender\r\nann@example.com\r\n\r\nMerlin,Show,Animate\r\n"));
    EXPECT_NE(std::string::npos, request.body.find("Caf\xE9"));

    const std::string id = OpenedId();
    ASSERT_FALSE(id.empty());
    EXPECT_TRUE(IsGreetingId(id)) << id;
    EXPECT_EQ(request.body, standIn.StoredGreeting(id));

    // The document is as it was.
    EXPECT_EQ(3, doc.GetActionCount());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.IsPreviewed());
    EXPECT_EQ("bob@example.com,carol@example.com", doc.GetRecipientAddresses());
}

TEST_F(UploadTest, AnEmptyGreetingStillSendsItsSixHeadLines)
{
    GetSettings().UserName.clear();
    GetSettings().UserEmail.clear();
    CParloDoc empty;
    MessageBoxAnswerer answerer;
    EXPECT_TRUE(UploadGreeting(empty));
    EXPECT_TRUE(answerer.Boxes().empty());
    const std::string sent = standIn.LastRequest().body;
    EXPECT_EQ("Parlacard File Version : 1\r\n\r\n\r\n\r\n\r\n\r\n", sent);
    EXPECT_EQ(sent, standIn.StoredGreeting(OpenedId()));
}

TEST_F(UploadTest, ASlowSiteIsWaitedFor)
{
    standIn.StoreAfter(1500);
    const DWORD start = GetTickCount();
    EXPECT_EQ(Texts(), Upload(true));
    EXPECT_GE(GetTickCount() - start, 1400u);
    EXPECT_FALSE(OpenedId().empty());
}

// What the site answers, and what the user sees of it.
struct Reply {
    const char* name;
    int status;
    std::string body;
    std::string id;        // the send page opens for it...
    std::string message;   // ...or the user is told this
};

class ReplyTest : public UploadTest, public testing::WithParamInterface<Reply> {
};

TEST_P(ReplyTest, OnlyAnIdOnTheFirstLineOpensTheSendPage)
{
    const Reply& reply = GetParam();
    standIn.ReplyWith(reply.status, reply.body);
    if (reply.message.empty()) {
        EXPECT_EQ(Texts(), Upload(true));
        EXPECT_EQ(reply.id, OpenedId());
    } else {
        EXPECT_EQ(Texts{ reply.message }, Upload(false));
    }
    EXPECT_EQ(3, doc.GetActionCount());
    EXPECT_FALSE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyTest,
    testing::Values(Reply{ "Digits", 200, "12345\r\nThank you.\r\n", "12345", "" },
                    Reply{ "DigitsWithoutLineEnd", 200, "12345", "12345", "" },
                    Reply{ "DigitsBeforeBlanksAndTab", 200, "12345 \t\r\n", "12345", "" },
                    Reply{ "DigitsBetweenBlanks", 200, "  42  \r\n", "42", "" },
                    Reply{ "ErrorStatusWithAnId", 500, "77\r\n", "", NotAnId + "HTTP status 500\n77" },
                    Reply{ "RedirectWithAnId", 302, "77\r\n", "", NotAnId + "HTTP status 302\n77" },
                    Reply{ "NotFoundWithoutBody", 404, "", "", NotAnId + "HTTP status 404\n" },
                    Reply{ "TenDigits", 200, "1234567890\r\n", "1234567890", "" },
                    Reply{ "ElevenDigits", 200, "12345678901\r\n", "", NotAnId + "12345678901" },
                    Reply{ "WordBeforeDigits", 200, "id 12345\r\n", "", NotAnId + "id 12345" },
                    Reply{ "MinusSign", 200, "-42\r\n", "", NotAnId + "-42" },
                    Reply{ "EmptyFirstLine", 200, "\r\n12345\r\n", "", NoId },
                    Reply{ "NoBody", 200, "", "", NoId },
                    Reply{ "ErrorPage", 500, "<html><body>Internal Server Error</body></html>\r\n<p>\r\n", "",
                           NotAnId + "HTTP status 500\n<html><body>Internal Server Error</body></html>" }),
    [](const testing::TestParamInfo<Reply>& info) { return std::string(info.param.name); });

TEST_F(UploadTest, ARefusedConnectionIsReportedWithTheSystemsTextAndCanBeRetried)
{
    proxy.PointAtClosedPort();
    EXPECT_EQ(Texts{ SendFailed + CInternetException(ERROR_INTERNET_CANNOT_CONNECT).GetErrorMessage() },
              Upload(false));
    EXPECT_EQ(3, doc.GetActionCount());

    proxy.PointAt(standIn.Port());
    EXPECT_EQ(Texts(), Upload(true));
    EXPECT_FALSE(OpenedId().empty());
}

TEST_F(UploadTest, ASiteThatDiesBeforeOrDuringItsReplyIsASendFailure)
{
    standIn.ReplyRaw("");
    EXPECT_EQ(Texts{ SendFailed + CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE).GetErrorMessage() },
              Upload(false));

    // The id's digits are cut off: what did arrive must not pass for the whole id.
    standIn.ReplyRaw("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n123");
    EXPECT_EQ(Texts{ SendFailed + CInternetException(ERROR_INTERNET_CONNECTION_ABORTED).GetErrorMessage() },
              Upload(false));
}

TEST_F(UploadTest, GarbageInPlaceOfAReplyIsRefused)
{
    standIn.ReplyRaw(std::string("\x01\x02\xFF garbage\r\n\0more garbage\r\n", 28));
    const Texts texts = Upload(false);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(0u, texts[0].find("Failed to send greeting to the Parlacard web site.\n")) << texts[0];
}

// Cut short at 300 characters, and in lines of 80, so that the box fits the screen.
std::string QuotedInLines(char c)
{
    std::string lines;
    for (int i = 0; i < 3; ++i)
        lines += std::string(80, c) + "\n";
    return lines + std::string(60, c) + "...";
}

TEST_F(UploadTest, AHugeFirstLineIsShownCutShortInLinesThatFitTheScreen)
{
    const std::string line(200000, 'x');
    standIn.ReplyWith(200, line + "\r\n");
    EXPECT_EQ(Texts{ NotAnId + QuotedInLines('x') }, Upload(false));
}

// Read in part, a long line of digits would look like an id; the send page must not open
// for it (an address that long also brings the shell down).
TEST_F(UploadTest, ALineOfDigitsLongerThanIsReadIsNoId)
{
    for (size_t length : { 1024u, 1025u, 1500u, 5000u }) {
        standIn.ReplyWith(200, std::string(length, '7') + "\r\n");
        EXPECT_EQ(Texts{ NotAnId + QuotedInLines('7') }, Upload(false)) << length;
    }
    // The only page the browser is ever asked for is that of the real id that follows.
    standIn.StoreAfter(0);
    EXPECT_EQ(Texts(), Upload(true));
    const std::vector<std::string> opened = browser.WaitForAddresses(2, 3000);
    ASSERT_EQ(1u, opened.size());
    EXPECT_LT(opened[0].size(), SendPage.size() + 5 + 11);
}

// A server that takes the greeting and never answers must not block the program for ever.
TEST_F(UploadTest, AServerThatStopsAnsweringTimesOut)
{
    standIn.ReplyWith(200, "12345\r\n", 20000);
    GreetingPostReply reply;
    std::string failure;
    EXPECT_FALSE(PostGreeting("Parlacard File Version : 1\r\n", reply, failure, 1000));
    // Windows calls it a time-out; Wine's WinInet reports a receive time-out as a
    // connection ended by the server.
    EXPECT_THAT(failure, testing::AnyOf(SendFailed + CInternetException(ERROR_INTERNET_TIMEOUT).GetErrorMessage(),
                                        SendFailed +
                                            CInternetException(ERROR_INTERNET_CONNECTION_ABORTED).GetErrorMessage()));
    standIn.StoreAfter(0);
}

class SendPageTest : public testing::Test {
protected:
    TestRegistry registry;
    RecordingBrowser browser;
};

TEST_F(SendPageTest, OpensTheSitesSendPageForTheId)
{
    EXPECT_TRUE(OpenSendPage("12345"));
    EXPECT_EQ(std::vector<std::string>{ SendPage + "?GID=12345" }, browser.WaitForAddresses(1));
}

TEST_F(SendPageTest, TakesTheInstalledPageAsItStandsEvenWithAQuery)
{
    registry.SetString(HKEY_LOCAL_MACHINE, "SiteInfo", "SendGreetingPage", "http://cards.example/send.asp?x=1");
    EXPECT_TRUE(OpenSendPage("42"));
    EXPECT_EQ(std::vector<std::string>{ "http://cards.example/send.asp?x=1?GID=42" }, browser.WaitForAddresses(1));
}

TEST(GreetingIdTest, IsMadeOfDecimalDigitsOnly)
{
    for (const char* id : { "", "0", "0123456789", "12345" })
        EXPECT_TRUE(IsGreetingId(id)) << id;
    // "\xB2" is the superscript two of the Western code page, a digit to some classifiers.
    for (const char* id : { " 1", "1 ", "1a", "-1", "+1", "1.0", "\xB2", "\x31\xB9" })
        EXPECT_FALSE(IsGreetingId(id)) << id;
}

} // namespace
