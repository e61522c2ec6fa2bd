#include "HostileSite.h"
#include "UpdateTestSupport.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/ProxySetting.h"
#include "support/StandInControl.h"
#include "support/TestRegistry.h"
#include "support/WindowText.h"
#include "update/UpdateMessages.h"
#include "update/WebUpdateDialog.h"
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

const char FileName[] = "ParlacardSetup.exe";
const char NoUpdate[] = "There are no updates available.  The latest news is dated Mar 4, 2026.";
const char Available[] = "An update is available!  Version 1.0.5 (test) was released on Mar 3, 2026, and the "
                         "download size is 12 KB.";
const char CheckFailedText[] = "Could not retrieve update information from the Internet.  Please check your "
                               "Internet settings and try again later.";
const char Cancelling[] = "Cancelling web access ... please wait.";
const char WebError[] = "An error has occurred while accessing the web.";
const char Damaged[] = "The downloaded file was damaged on its way: it is not the update the web site published.  "
                       "It has been removed.  Please try again later.";
const char NewsRefused[] = "The news cannot be shown: the document from the web site holds more than formatted text.";
const char ProgressLabel[] = "Download Progress";
const char ReadyText[] = "Please install the update at your convenience.\nExit this program and execute the file "
                         "called \"ParlacardSetup.exe\",\nlocated on your Windows Desktop.\n\nAfter installing, you "
                         "may delete this file or move it to a different location.";
const DWORD Patience = 30000;

std::string Status(HWND dialog)
{
    return DialogDriver::GetText(dialog, IDC_UPDATE_STATUS);
}

std::string Label(HWND dialog)
{
    return DialogDriver::GetText(dialog, IDC_PROGRESS_LABEL);
}

bool WaitForStatus(HWND dialog, const std::string& text)
{
    const bool reached = PumpUntil([&] { return Status(dialog) == text; }, Patience);
    EXPECT_TRUE(reached) << "status stayed \"" << Status(dialog) << "\", waited for \"" << text << "\"";
    return reached;
}

// Waits until the download has got going: the label shows a percentage.
bool WaitForProgress(HWND dialog)
{
    const bool going = PumpUntil([&] { return Label(dialog).find('%') != std::string::npos; }, Patience);
    EXPECT_TRUE(going) << "no progress shown";
    return going;
}

// An ended dialog hides at once; its window goes when its modal loop gets control back.
bool WaitForEnd(HWND dialog)
{
    const bool ended = PumpUntil([&] { return !IsWindowVisible(dialog); }, Patience);
    EXPECT_TRUE(ended) << "the dialog is still open";
    return ended;
}

void ClickLink(HWND dialog, int id)
{
    // A static with the notify style reports a click to its dialog as a command.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The update command's dialog run against the stand-in, which publishes version 1.0.5
// of a file of 12 KB, with the program at 1.0.4.0 and the Desktop in a temporary folder.
class WebUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        standIn.PublishUpdateFile("ver.txt", Manifest("1.0.5"));
        standIn.PublishUpdateFile("news.rtf", "{\\rtf1\\ansi @@Version 1.0.5\\par\nQuicker sending.\\par\n}\n");
        standIn.PublishUpdateFile(FileName, bytes);
    }

    // Runs the update command's dialog with the action as the user.
    void Run(const std::function<void(HWND)>& action, CWnd* owner = nullptr)
    {
        driver.On(IDD_WEB_UPDATE, [&](HWND dialog) {
            // The modal loop shows the dialog once it is idle, which comes after the action.
            ShowWindow(dialog, SW_SHOWNORMAL);
            action(dialog);
        });
        WebUpdateDialog dialog(owner);
        dialog.RunWebUpdate();
        downloadPath = dialog.GetDownloadPath();
    }

    void ExpectWarning(size_t index, const std::string& text)
    {
        ASSERT_LT(index, boxes.Boxes().size());
        const RecordedMessageBox& box = boxes.Boxes()[index];
        EXPECT_EQ(text, box.text);
        EXPECT_EQ("Parlacard", box.caption);
        EXPECT_EQ(UINT(MB_OK | MB_ICONWARNING), box.flags);
        EXPECT_EQ(nullptr, box.owner);
    }

    void ExpectUpdateAvailableState(HWND dialog)
    {
        EXPECT_EQ(Available, Status(dialog));
        EXPECT_EQ(ProgressLabel, Label(dialog));
        for (int id : { IDC_UPDATE_LINKS_GROUP, IDC_UPDATE_LINKS_ICON, IDC_UPDATE_LINKS_TEXT, IDC_NEWS_LINK,
                        IDC_DOWNLOAD_LINK, IDC_PROGRESS_LABEL, IDC_DOWNLOAD_PROGRESS, IDOK })
            EXPECT_TRUE(DialogDriver::IsShown(dialog, id)) << "control " << id;
        EXPECT_FALSE(DialogDriver::IsShown(dialog, IDCANCEL));
        EXPECT_EQ(IDOK, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
    }

    const std::string bytes = UpdateBytes(12 * 1024);
    TestRegistry registry;
    StandInControl standIn;
    ProxySetting proxy{ standIn.Port() };
    TemporaryDesktop desktop;
    MessageBoxAnswerer boxes;
    DialogDriver driver;
    std::string downloadPath;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(WebUpdate, NoNewerVersionOffersOnlyTheNews)
{
    standIn.PublishUpdateFile("ver.txt", Manifest("1.0.4"));
    standIn.SetUpdateReply("ver.txt", "kind=serve&delay=500");
    Run([&](HWND dialog) {
        EXPECT_EQ("Parlacard WebUpdate", WindowText(dialog));
        // The check starts at once, behind Cancel.
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDCANCEL));
        EXPECT_FALSE(DialogDriver::IsShown(dialog, IDOK));
        ASSERT_TRUE(WaitForStatus(dialog, NoUpdate));
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDC_NEWS_LINK));
        EXPECT_EQ("View News (updated Mar 4, 2026)", DialogDriver::GetText(dialog, IDC_NEWS_LINK));
        for (int id : { IDC_DOWNLOAD_LINK, IDC_PROGRESS_LABEL, IDC_DOWNLOAD_PROGRESS, IDCANCEL })
            EXPECT_FALSE(DialogDriver::IsShown(dialog, id)) << "control " << id;
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDOK));
        DialogDriver::Command(dialog, IDOK);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ("", downloadPath);
}

TEST_F(WebUpdate, AFailedCheckSaysSoAndOffersNoLinks)
{
    standIn.SetUpdateReply("ver.txt", "kind=notfound");
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, CheckFailedText));
        for (int id : { IDC_UPDATE_LINKS_GROUP, IDC_NEWS_LINK, IDC_DOWNLOAD_LINK, IDCANCEL })
            EXPECT_FALSE(DialogDriver::IsShown(dialog, id)) << "control " << id;
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDOK));
        DialogDriver::Command(dialog, IDCANCEL);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WebUpdate, CancelDuringTheCheckClosesTheDialogWhenTheCheckEnds)
{
    standIn.SetUpdateReply("ver.txt", "kind=serve&delay=1500");
    bool stayedOpen = false;
    bool closedByItself = false;
    Run([&](HWND dialog) {
        DialogDriver::Command(dialog, IDCANCEL);
        EXPECT_EQ(Cancelling, Status(dialog));
        // Neither Enter nor a second Cancel ends it while the check runs.
        DialogDriver::Command(dialog, IDOK);
        DialogDriver::Command(dialog, IDCANCEL);
        PumpFor(300);
        stayedOpen = IsWindowVisible(dialog) && Status(dialog) == Cancelling;
        closedByItself = WaitForEnd(dialog);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(closedByItself);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(WebUpdate, TheUpdateIsDownloadedToTheDesktopWithProgressAndTheUserIsToldItsName)
{
    standIn.SetUpdateReply(FileName, "kind=serve&rate=4000");
    bool sawDownloading = false;
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ExpectUpdateAvailableState(dialog);
        EXPECT_EQ("Download the update (12 KB)", DialogDriver::GetText(dialog, IDC_DOWNLOAD_LINK));
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDCANCEL));
        EXPECT_FALSE(DialogDriver::IsShown(dialog, IDOK));
        EXPECT_EQ(IDCANCEL, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        ASSERT_TRUE(WaitForProgress(dialog));
        sawDownloading = Label(dialog).find("Downloading the update to your Windows Desktop ... ") == 0;
        // A second click while the download runs starts nothing.
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        // The dialog closes by itself once the file is there.
        WaitForEnd(dialog);
    });
    EXPECT_TRUE(sawDownloading);
    EXPECT_EQ(desktop.Folder().File(FileName), downloadPath);
    EXPECT_EQ(bytes, desktop.Folder().Read(FileName));
    EXPECT_EQ(Names{ FileName }, desktop.Files());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Update ready for installation", boxes.Boxes()[0].caption);
    EXPECT_EQ(ReadyText, boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND), boxes.Boxes()[0].flags);
    EXPECT_EQ(nullptr, boxes.Boxes()[0].owner);
}

// The fault this guards against: a cut download once counted as complete and left a
// damaged installer in place of the user's file.
TEST_F(WebUpdate, ACutDownloadIsANetworkErrorThatLeavesTheDesktopAsItWasAndCanBeRetried)
{
    desktop.Folder().Write(FileName, "the installer from last year");
    standIn.SetUpdateReply(FileName, "kind=cut");
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes().size() == 1; }, Patience));
        ExpectWarning(0, WebError);
        PumpUntil([&] { return DialogDriver::IsShown(dialog, IDOK); }, Patience);
        ExpectUpdateAvailableState(dialog);
        EXPECT_EQ("the installer from last year", desktop.Folder().Read(FileName));
        EXPECT_EQ(Names{ FileName }, desktop.Files());

        standIn.SetUpdateReply(FileName, "kind=serve");
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        WaitForEnd(dialog);
    });
    // The user's file stays; the update takes a free name, and the message names it.
    EXPECT_EQ("the installer from last year", desktop.Folder().Read(FileName));
    EXPECT_EQ(bytes, desktop.Folder().Read("ParlacardSetup (2).exe"));
    EXPECT_EQ(desktop.Folder().File("ParlacardSetup (2).exe"), downloadPath);
    EXPECT_EQ((Names{ "ParlacardSetup (2).exe", FileName }), desktop.Files());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_NE(std::string::npos, boxes.Boxes()[1].text.find("called \"ParlacardSetup (2).exe\",\n"))
        << boxes.Boxes()[1].text;
}

TEST_F(WebUpdate, CancellingTwiceKeepsTheDialogUntilTheDownloadStopsThenOffersItAgain)
{
    standIn.SetUpdateReply(FileName, "kind=serve&rate=2000");
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        ASSERT_TRUE(WaitForProgress(dialog));
        DialogDriver::Command(dialog, IDCANCEL);
        EXPECT_EQ(Cancelling, Status(dialog));
        DialogDriver::Command(dialog, IDCANCEL);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(Cancelling, Status(dialog));
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ExpectUpdateAvailableState(dialog);
        EXPECT_EQ(0, SendDlgItemMessageA(dialog, IDC_DOWNLOAD_PROGRESS, PBM_GETPOS, 0, 0));
        EXPECT_EQ(Names{}, desktop.Files());
        DialogDriver::Command(dialog, IDOK);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ("", downloadPath);
}

TEST_F(WebUpdate, EnterWhileADownloadRunsDoesNothingAndTheNewsStillOpens)
{
    standIn.SetUpdateReply(FileName, "kind=serve&rate=4000");
    std::string news;
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        ASSERT_TRUE(WaitForProgress(dialog));
        DialogDriver::Command(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        driver.On(IDD_NEWS, [&](HWND newsDialog) {
            news = WindowText(GetDlgItem(newsDialog, IDC_NEWS_TEXT));
            DialogDriver::Command(newsDialog, IDOK);
        });
        ClickLink(dialog, IDC_NEWS_LINK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        WaitForEnd(dialog);
    });
    EXPECT_EQ(0u, news.find("New in this update:")) << news;
    EXPECT_NE(std::string::npos, news.find("Quicker sending."));
    EXPECT_EQ(bytes, desktop.Folder().Read(FileName));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Update ready for installation", boxes.Boxes()[0].caption);
}

// The owner window going takes the dialog with it: the download stops by itself, reports
// to nobody and leaves nothing behind.
TEST_F(WebUpdate, ClosingTheMainWindowDuringADownloadLeavesNothingBehind)
{
    standIn.SetUpdateReply(FileName, "kind=serve&rate=2000");
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "Parlacard Maker", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               RECT{ 0, 0, 400, 300 }, nullptr, 0));
    Run(
        [&](HWND dialog) {
            ASSERT_TRUE(WaitForStatus(dialog, Available));
            ClickLink(dialog, IDC_DOWNLOAD_LINK);
            ASSERT_TRUE(WaitForProgress(dialog));
            EXPECT_EQ(1u, desktop.Files().size()) << "the partial file";
            owner.DestroyWindow();
        },
        &owner);
    EXPECT_EQ("", downloadPath);
    EXPECT_TRUE(PumpUntil([&] { return desktop.Files().empty(); }, Patience));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Updates beyond 42.9 MB once showed a wrong percentage: the product overflowed 32 bits.
TEST_F(WebUpdate, TheProgressOfALargeUpdateIsShownRight)
{
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        SendMessageA(dialog, DownloadProgress, 45000000, 50000000);
        EXPECT_EQ("Downloading the update to your Windows Desktop ... 90%", Label(dialog));
        EXPECT_EQ(50000000, SendDlgItemMessageA(dialog, IDC_DOWNLOAD_PROGRESS, PBM_GETRANGE, FALSE, 0));
        EXPECT_EQ(45000000, SendDlgItemMessageA(dialog, IDC_DOWNLOAD_PROGRESS, PBM_GETPOS, 0, 0));
        SendMessageA(dialog, DownloadProgress, 4000000000u, 4200000000u);
        EXPECT_EQ("Downloading the update to your Windows Desktop ... 95%", Label(dialog));
        DialogDriver::Command(dialog, IDOK);
    });
}

TEST_F(WebUpdate, TheLinksAreReachedWithTabAndOpenWithSpaceOrEnter)
{
    standIn.SetUpdateReply(FileName, "kind=serve&rate=4000");
    std::vector<int> focused;
    bool newsShown = false;
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        for (int i = 0; i < 4 && GetFocus() != GetDlgItem(dialog, IDC_NEWS_LINK); ++i)
            DialogDriver::PressKey(dialog, VK_TAB);
        focused.push_back(GetDlgCtrlID(GetFocus()));
        driver.On(IDD_NEWS, [&](HWND newsDialog) {
            newsShown = true;
            DialogDriver::Command(newsDialog, IDOK);
        });
        DialogDriver::PressKey(dialog, VK_SPACE);
        EXPECT_TRUE(IsWindowVisible(dialog));
        DialogDriver::PressKey(dialog, VK_TAB);
        focused.push_back(GetDlgCtrlID(GetFocus()));
        DialogDriver::PressKey(dialog, VK_RETURN);
        EXPECT_TRUE(WaitForProgress(dialog)) << "Enter on the link starts the download";
        WaitForEnd(dialog);
    });
    EXPECT_EQ((std::vector<int>{ IDC_NEWS_LINK, IDC_DOWNLOAD_LINK }), focused);
    EXPECT_TRUE(newsShown);
    EXPECT_TRUE(bytes == desktop.Folder().Read(FileName)) << "the update on the Desktop";
}

// A site that sends a byte a tenth of a second: Cancel brings the dialog back at once,
// with nothing on the Desktop, whatever the site goes on doing.
TEST_F(WebUpdate, CancelEndsATricklingDownloadAtOnceAndLeavesNothingOnTheDesktop)
{
    HostileSite site;
    site.SetReply(HostileSite::Trickle(bytes, 100));
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        proxy.PointAt(site.Port());
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        ASSERT_TRUE(PumpUntil([&] { return site.Requests() == 1; }, Patience));
        DialogDriver::Command(dialog, IDCANCEL);
        EXPECT_EQ(Cancelling, Status(dialog));
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ExpectUpdateAvailableState(dialog);
        EXPECT_EQ(Names{}, desktop.Files());
        DialogDriver::Command(dialog, IDOK);
    });
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ("", downloadPath);
}

TEST_F(WebUpdate, AFileThatDoesNotMatchItsChecksumIsReportedAsDamaged)
{
    std::string wrong = Sha256Of(bytes);
    wrong.back() = wrong.back() == 'f' ? 'e' : 'f';
    standIn.PublishUpdateFile("ver.txt", Manifest("1.0.5", FileName, "FILE SHA256: " + wrong + "\r\n"));
    Run([&](HWND dialog) {
        ASSERT_TRUE(WaitForStatus(dialog, Available));
        ClickLink(dialog, IDC_DOWNLOAD_LINK);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes().size() == 1; }, Patience));
        ExpectWarning(0, Damaged);
        PumpUntil([&] { return DialogDriver::IsShown(dialog, IDOK); }, Patience);
        ExpectUpdateAvailableState(dialog);
        EXPECT_EQ(Names{}, desktop.Files());
        DialogDriver::Command(dialog, IDOK);
    });
}

// Fifty nested groups once took the program down inside the rich edit control.
TEST_F(WebUpdate, NewsThatIsNotPlainFormattedTextIsRefusedWithAMessage)
{
    const std::string deep = "{\\rtf1\\ansi " + std::string(50, '{') + "x" + std::string(50, '}') + "}";
    const std::string embedded = "{\\rtf1\\ansi News.{\\object\\objemb{\\*\\objdata 01050000}}}";
    for (const std::string& news : { deep, embedded }) {
        const size_t before = boxes.Boxes().size();
        standIn.PublishUpdateFile("news.rtf", news);
        // No action for the news dialog: the driver fails the test should it open.
        Run([&](HWND dialog) {
            ASSERT_TRUE(WaitForStatus(dialog, Available));
            ClickLink(dialog, IDC_NEWS_LINK);
            EXPECT_TRUE(IsWindowVisible(dialog));
            DialogDriver::Command(dialog, IDOK);
        });
        EXPECT_EQ(0, std::count(driver.Seen().begin(), driver.Seen().end(), UINT(IDD_NEWS)));
        ASSERT_EQ(before + 1, boxes.Boxes().size());
        ExpectWarning(before, NewsRefused);
    }
}
