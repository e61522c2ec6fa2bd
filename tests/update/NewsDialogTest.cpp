#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/WindowText.h"
#include "update/NewsDialog.h"
#include <gtest/gtest.h>

namespace {

const char NewHeading[] = "New in this update:\r\n";
const char OldHeading[] = "Already in your version:\r\n";

std::string Rtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\n" + body + "}\n";
}

// What the news dialog shows for the document, paragraph ends as line feeds and the last
// one left out, with the program at version 1.0.4.0.
std::string Shown(const std::string& news, const char* newHeading = NewHeading)
{
    DialogDriver driver;
    std::string shown;
    bool readOnly = false;
    driver.On(IDD_NEWS, [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_NEWS_TEXT);
        shown = WindowText(edit);
        readOnly = (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0;
        DialogDriver::Command(dialog, IDOK);
    });
    NewsDialog dialog(news, newHeading, OldHeading, VersionNumber("1.0.4.0"));
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(readOnly);
    std::string text;
    for (char c : shown) {
        if (c != '\r')
            text += c;
    }
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace

TEST(NewsDialog, ADocumentWithoutMarkersIsShownAsItIs)
{
    EXPECT_EQ("Thank you for using Parlacard.\nSee you soon.",
              Shown(Rtf("Thank you for using \\b Parlacard\\b0.\\par\nSee you soon.\\par\n")));
}

TEST(NewsDialog, SeveralNewerSectionsGetTheNewHeadingOnceAtTheFirst)
{
    EXPECT_EQ("New in this update:\nSeven.\nSix.\nFive.",
              Shown(Rtf("@@Version 1.0.7\\par\nSeven.\\par\n@@version 1.0.6\\par\nSix.\\par\n"
                        "@@VERSION 1.0.5\\par\nFive.\\par\n")));
}

TEST(NewsDialog, NewerAndOlderSectionsEachGetTheirHeadingAtTheirFirst)
{
    EXPECT_EQ("New in this update:\nSix.\nAlready in your version:\nFour.\nFive.\nThree.",
              Shown(Rtf("@@Version 1.0.6\\par\nSix.\\par\n@@Version 1.0.4\\par\nFour.\\par\n"
                        "@@Version 1.0.5\\par\nFive.\\par\n@@Version 1.0.3\\par\nThree.\\par\n")));
}

// The document comes in through several reads of the stream; the last marker sits far
// past the first of them.
TEST(NewsDialog, ALongDocumentIsStreamedWholeAndItsLateMarkerPlaced)
{
    std::string body;
    for (int i = 0; i < 1500; ++i)
        body += "Line " + std::to_string(i) + " of the older news.\\par\n";
    const std::string shown = Shown(Rtf(body + "@@Version 0.9\\par\nThe first release.\\par\n"));
    EXPECT_EQ(0u, shown.find("Line 0 of the older news.\nLine 1 "));
    EXPECT_NE(std::string::npos, shown.find("Line 1499 of the older news.\nAlready in your version:\nThe first release."))
        << shown.substr(shown.size() - 200);
}

// A heading that holds a marker itself must not keep the search going for ever.
TEST(NewsDialog, AHeadingThatHoldsAMarkerEndsTheSearch)
{
    const std::string shown = Shown(Rtf("@@Version 2.0\\par\nTwo.\\par\n@@Version 3.0\\par\nThree.\\par\n"),
                                    "@@Version 9.9\r\n");
    EXPECT_NE(std::string::npos, shown.find("Two.\nThree.")) << shown;
    EXPECT_EQ(std::string::npos, shown.find("@@Version 2.0"));
}
