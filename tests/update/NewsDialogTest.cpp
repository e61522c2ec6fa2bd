#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/WindowText.h"
#include "update/NewsDialog.h"
#include <string>
#include <vector>
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

// Many markers: every one but the first of each kind goes, in one pass over the document.
TEST(NewsDialog, TwentyThousandMarkersLeaveOneHeadingOfEachKind)
{
    std::string body;
    for (int i = 0; i < 10000; ++i)
        body += "@@Version 2.0." + std::to_string(i) + "\\par\nNew " + std::to_string(i) + ".\\par\n";
    for (int i = 0; i < 10000; ++i)
        body += "@@Version 0.9." + std::to_string(i) + "\\par\nOld " + std::to_string(i) + ".\\par\n";
    const std::string shown = Shown(Rtf(body));
    EXPECT_EQ(0u, shown.find("New in this update:\nNew 0.\nNew 1.\n"));
    EXPECT_NE(std::string::npos, shown.find("New 9999.\nAlready in your version:\nOld 0.\nOld 1.\n"));
    EXPECT_EQ(std::string::npos, shown.find("@@"));
    EXPECT_EQ(shown.size() - 9, shown.rfind("Old 9999."));
}

// The text keeps clear of the border, and the read-only text never shows a caret: not
// when it gets the focus, nor after a click or a key.
TEST(NewsDialog, TheTextHasAMarginAndNoCaret)
{
    DialogDriver driver;
    RECT formatting = {};
    std::vector<std::string> caretShown;
    driver.On(IDD_NEWS, [&](HWND dialog) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        HWND edit = GetDlgItem(dialog, IDC_NEWS_TEXT);
        SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&formatting));
        const auto noteCaret = [&](const char* after) {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndCaret == edit)
                caretShown.push_back(after);
        };
        EXPECT_EQ(edit, GetFocus());
        noteCaret("the focus");
        SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
        SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
        noteCaret("a click");
        SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(edit, WM_KEYUP, VK_DOWN, 0);
        noteCaret("a key");
        SetFocus(GetDlgItem(dialog, IDOK));
        SetFocus(edit);
        noteCaret("the focus again");
        DialogDriver::Command(dialog, IDOK);
    });
    NewsDialog dialog(Rtf("{\\fs40 A large heading}\\par\nText.\\par\nMore text.\\par\n"), NewHeading, OldHeading,
                      VersionNumber("1.0.4.0"));
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_GE(formatting.left, 4);
    EXPECT_GE(formatting.top, 2);
    EXPECT_TRUE(caretShown.empty()) << "a caret after " << caretShown.front();
}
