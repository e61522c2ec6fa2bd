#include "controls/BrowserLaunch.h"
#include "support/MessageBoxAnswerer.h"
#include "support/RecordingBrowser.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <thread>
#include <gtest/gtest.h>

namespace {
const std::string Address = "http://www.parlacard.example/send.asp?GID=42";
const std::string ByHand = "Please open your browser and goto the following link:\n" + Address;
const std::string Pasting = "\n\nFor your convenience, the link has been copied to the Clipboard.\n"
                            "Select Edit | Paste in your browser to quickly paste the link.";

std::string ClipboardText()
{
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    return text;
}

void ClearClipboard()
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

// Keeps the clipboard open from another thread. It opens it for a window of its own:
// Wine lets a second thread open a clipboard that was opened for no window.
class ClipboardHolder {
public:
    ClipboardHolder()
        : opened(CreateEventA(nullptr, TRUE, FALSE, nullptr)), release(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          holder([this] {
              HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
              const bool open = owner && OpenClipboard(owner);
              SetEvent(opened);
              WaitForSingleObject(release, INFINITE);
              if (open)
                  CloseClipboard();
              DestroyWindow(owner);
          })
    {
        WaitForSingleObject(opened, INFINITE);
    }
    ~ClipboardHolder()
    {
        SetEvent(release);
        holder.join();
        CloseHandle(opened);
        CloseHandle(release);
    }

private:
    HANDLE opened;
    HANDLE release;
    std::thread holder;
};

class BrowserLaunchTest : public testing::Test {
protected:
    RecordingBrowser browser;
    MessageBoxAnswerer boxes;
};
}

TEST_F(BrowserLaunchTest, TheBrowserIsTheProgramBeforeTheArguments)
{
    TempFolder folder;
    ASSERT_TRUE(CreateDirectoryA(folder.File("Web Browser").c_str(), nullptr));
    folder.Write("Web Browser\\browse.exe", "MZ");
    const std::string program = folder.File("Web Browser\\browse.exe");

    std::string found;
    browser.SetHtmCommand("\"" + program + "\" -nohome \"%1\"");
    EXPECT_TRUE(FindDefaultBrowser(found));
    EXPECT_EQ(program, found);
    browser.SetHtmCommand("  " + program + " %1\t");
    found.clear();
    EXPECT_TRUE(FindDefaultBrowser(found));
    EXPECT_EQ(program, found);

    // Nothing after the program's name, a folder, a missing program, or a command too
    // long to read: no browser.
    for (const std::string& command : { "\"" + program + "\"", "\"" + folder.File("Web Browser") + "\" %1",
                                        std::string("C:\\nowhere\\browse.exe %1"), program + " " + std::string(300, 'x') }) {
        browser.SetHtmCommand(command);
        found.clear();
        EXPECT_FALSE(FindDefaultBrowser(found)) << command;
    }

    browser.RemoveHtmType();
    found = "as passed";
    EXPECT_FALSE(FindDefaultBrowser(found));
    EXPECT_EQ("as passed", found);
}

TEST_F(BrowserLaunchTest, TheShellOpensTheAddress)
{
    OpenWebPage("");
    EXPECT_TRUE(OpenUrlInBrowser(Address, true, true, true));
    EXPECT_EQ(std::vector<std::string>{ Address }, browser.WaitForAddresses(2, 1000));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BrowserLaunchTest, WhenTheShellFailsTheHtmProgramOpensTheAddress)
{
    browser.BreakShell();
    EXPECT_TRUE(OpenUrlInBrowser(Address, false, true, true));
    EXPECT_EQ(std::vector<std::string>{ Address }, browser.WaitForAddresses(1));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BrowserLaunchTest, WithNoBrowserTheUserGetsTheAddressOnTheClipboard)
{
    browser.BreakShell();
    browser.SetHtmCommand("\"" + browser.RecorderPath() + "\"");
    ClearClipboard();
    EXPECT_FALSE(OpenUrlInBrowser(Address, true, true, true));
    EXPECT_EQ(Address, ClipboardText());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Could not launch browser", boxes.Boxes()[0].caption);
    EXPECT_EQ(ByHand + Pasting, boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.Boxes()[0].flags & MB_ICONMASK);

    // Told nothing when not asked to report; a clipboard not to be touched stays as it is.
    EXPECT_FALSE(OpenUrlInBrowser(Address, true, false, true));
    ClearClipboard();
    EXPECT_FALSE(OpenUrlInBrowser(Address, true, true, false));
    EXPECT_EQ("", ClipboardText());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(ByHand, boxes.Boxes()[1].text);
    EXPECT_TRUE(browser.WaitForAddresses(1, 500).empty());
}

TEST_F(BrowserLaunchTest, WhenTheClipboardIsBusyTheMessageLeavesItOut)
{
    browser.BreakShell();
    browser.RemoveHtmType();
    {
        ClipboardHolder busy;
        EXPECT_FALSE(OpenUrlInBrowser(Address, true, true, true));
    }
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(ByHand, boxes.Boxes()[0].text);
}
