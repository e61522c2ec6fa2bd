// The whole road of a greeting through the installed program, in a fresh prefix: a silent
// install, the first start, a greeting made, saved and sent, opened again by its file
// type, and the uninstall. The program is driven only from outside, through its windows;
// the site is the service stand-in behind the prefix's proxy, the browser a recorder.
// The send page the browser was asked for is left in sent-page.txt beside the test, where
// the road goes on in a real browser (web/tests/road).
#include "Installation.h"
#include "MakerWindows.h"
#include "ProgramWindows.h"
#include "RunningProgram.h"
#include "support/ProxySetting.h"
#include "support/StandInControl.h"
#include "support/FileText.h"
#include "support/RecordingBrowser.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <shellapi.h>
#include <gtest/gtest.h>

namespace {

using namespace Maker;

const char SendPage[] = "http://www.parlacard.example/send/default.asp?GID=";
const char Said[] = "Happy birthday, Pat! Have a wonderful day.";
const DWORD ExitTimeout = 30000;
const char SentPageFile[] = "sent-page.txt";

// The actions of a greeting file: the lines after its six header lines.
int ActionLines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines - 6;
}

// Every start begins with the tour while it is not switched off; Continue goes on.
void PassTheTour(const ProgramWindows& windows)
{
    HWND tour = nullptr;
    ProgramWindows::WaitUntil([&] {
        return (tour = windows.FindDialog(TourCaption)) != nullptr || windows.FindDialog(SetupCaption) ||
               windows.FindDialog(NewGreetingCaption) || windows.FindMainWindow();
    });
    ASSERT_NE(nullptr, tour) << "the start did not begin with the tour (\"" << TourCaption << "\")";
    ProgramWindows::Click(tour, TourContinue);
    windows.WaitUntilClosed(tour);
}

void DoSetup(const ProgramWindows& windows)
{
    HWND setup = windows.WaitForDialog(SetupCaption);
    ASSERT_NE(nullptr, setup);
    ProgramWindows::Type(setup, NameEdit, "Robin Sender");
    ProgramWindows::Type(setup, EmailEdit, "robin@example.com");
    ProgramWindows::Click(setup, IDOK);
    windows.WaitUntilClosed(setup);
}

void StartBirthdayGreeting(const ProgramWindows& windows)
{
    HWND dialog = windows.WaitForDialog(NewGreetingCaption);
    ASSERT_NE(nullptr, dialog) << "no \"" << NewGreetingCaption << "\" dialog after Setup";
    ASSERT_EQ(nullptr, windows.FindMainWindow()) << "the main window came before the new greeting";
    ChooseBirthday(windows, dialog, "Pat");
}

void SaveAs(const ProgramWindows& windows, HWND frame, const std::string& path)
{
    ProgramWindows::ChooseCommand(frame, FileSaveCommand);
    HWND dialog = windows.WaitForDialog(SaveCaption);
    ASSERT_NE(nullptr, dialog);
    ProgramWindows::Type(dialog, GetDlgItem(dialog, FileNameCombo) ? FileNameCombo : FileNameEdit, path);
    ProgramWindows::Click(dialog, IDOK);
    windows.WaitUntilClosed(dialog);
}

// Send Now on a greeting that was never played: the program offers a preview first.
void SendNow(const ProgramWindows& windows, HWND view, const std::string& addresses)
{
    ProgramWindows::Click(view, SendNowButton);
    HWND question = windows.WaitForDialog(MessageCaption);
    ASSERT_NE(nullptr, question);
    EXPECT_NE(std::string::npos, ProgramWindows::MessageText(question).find("not previewed"))
        << ProgramWindows::MessageText(question);
    ProgramWindows::Click(question, IDNO);
    windows.WaitUntilClosed(question);
    HWND send = windows.WaitForDialog(SendCaption);
    ASSERT_NE(nullptr, send);
    ProgramWindows::Type(send, AddressesEdit, addresses);
    ProgramWindows::Click(send, IDOK);
    windows.WaitUntilClosed(send);
}

// The program is through with the file once its caption names it.
bool CaptionNames(HWND frame, const std::string& name)
{
    return ProgramWindows::Text(frame).find(name) != std::string::npos;
}

TEST(EndToEnd, AGreetingFromInstallToSendPageAndUninstall)
{
    StandInControl site;
    ProxySetting proxy(site.Port());
    RecordingBrowser browser;
    DeleteFileA(BesideTest(SentPageFile).c_str());  // a run that fails must leave none
    TempFolder documents;
    const std::string greeting = documents.File("Birthday for Pat.pcg");
    const int templateActions = ActionLines(ReadFileText(BesideTest("Templates\\Birthday.pcg")));
    ASSERT_GT(templateActions, 0) << "the Birthday template is not beside the test";

    ASSERT_EQ(0u, InstallSilently());
    const std::string folder = DefaultInstallFolder();
    ASSERT_TRUE(PathExists(folder + "\\Parlacard.exe"));

    std::string greetingId;
    {
        RunningProgram maker(folder + "\\Parlacard.exe", "");
        ASSERT_TRUE(maker.Started());
        ProgramWindows windows(maker.Id());
        ASSERT_NO_FATAL_FAILURE(PassTheTour(windows));
        ASSERT_NO_FATAL_FAILURE(DoSetup(windows));
        ASSERT_NO_FATAL_FAILURE(StartBirthdayGreeting(windows));

        HWND frame = windows.WaitForMainWindow();
        ASSERT_NE(nullptr, frame);
        HWND list = ProgramWindows::Control(frame, ActionList);
        ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRows(list) == templateActions; }))
            << "the list shows " << ProgramWindows::ListRows(list) << " actions, the Birthday template has " << templateActions;
        HWND view = GetParent(list);

        ASSERT_NO_FATAL_FAILURE(AddAction(windows, view, SayRadio, Said));
        ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRows(list) == templateActions + 1; }))
            << "the list shows " << ProgramWindows::ListRows(list) << " actions after adding one";

        ASSERT_NO_FATAL_FAILURE(SaveAs(windows, frame, greeting));
        ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return CaptionNames(frame, "Birthday for Pat"); }))
            << "caption after saving: " << ProgramWindows::Text(frame);
        const std::string saved = ReadFileText(greeting);
        EXPECT_EQ(templateActions + 1, ActionLines(saved));
        EXPECT_NE(std::string::npos, saved.find("\r\nPat\r\n")) << saved;
        // A text with a comma stands in quotation marks on its line.
        EXPECT_NE(std::string::npos, saved.find("Merlin,Say,\"" + std::string(Said) + "\"\r\n")) << saved;
        EXPECT_NE(std::string::npos, saved.find("\r\nRobin Sender\r\nrobin@example.com\r\n")) << saved;

        ASSERT_NO_FATAL_FAILURE(SendNow(windows, view, "pat@example.com"));
        const std::vector<std::string> pages = browser.WaitForAddresses(1, ProgramWindows::DefaultWait);
        ASSERT_EQ(1u, pages.size()) << "the browser was not asked to open the send page";
        ASSERT_EQ(0u, pages[0].rfind(SendPage, 0)) << pages[0];
        greetingId = pages[0].substr(sizeof(SendPage) - 1);
        ASSERT_FALSE(greetingId.empty());
        ASSERT_EQ(std::string::npos, greetingId.find_first_not_of("0123456789")) << pages[0];
        ASSERT_TRUE(WriteFileText(BesideTest(SentPageFile), pages[0]));

        // The recipients typed at Send belong to the greeting: saving again writes them.
        ProgramWindows::ChooseCommand(frame, FileSaveCommand);
        ASSERT_TRUE(ProgramWindows::WaitUntil(
            [&] { return ReadFileText(greeting).find("\r\npat@example.com\r\n") != std::string::npos; }))
            << ReadFileText(greeting);
        EXPECT_EQ(ReadFileText(greeting), site.StoredGreeting(greetingId));

        ProgramWindows::ChooseCommand(frame, AppExitCommand);
        EXPECT_TRUE(maker.WaitForExit(ExitTimeout));
    }

    {
        // As a double click on the file: the shell's default verb for its type.
        SHELLEXECUTEINFOA open{};
        open.cbSize = sizeof(open);
        open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // a failure must not wait on a box
        open.lpFile = greeting.c_str();
        open.nShow = SW_SHOWNORMAL;
        ASSERT_TRUE(ShellExecuteExA(&open)) << "the shell could not open the greeting: error " << GetLastError();
        RunningProgram opened(open.hProcess);
        ProgramWindows windows(opened.Id());
        // The tour was left on at the first start, so it comes again.
        ASSERT_NO_FATAL_FAILURE(PassTheTour(windows));
        HWND frame = windows.WaitForMainWindow();
        ASSERT_NE(nullptr, frame);
        EXPECT_TRUE(ProgramWindows::WaitUntil([&] { return CaptionNames(frame, "Birthday for Pat"); }))
            << "caption: " << ProgramWindows::Text(frame);
        HWND list = ProgramWindows::Control(frame, ActionList);
        EXPECT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRows(list) == templateActions + 1; }))
            << "the opened greeting shows " << ProgramWindows::ListRows(list) << " actions";
        ProgramWindows::ChooseCommand(frame, AppExitCommand);
        EXPECT_TRUE(opened.WaitForExit(ExitTimeout));
    }

    {
        // The file type's second verb hands the greeting to the player, which performs it.
        SHELLEXECUTEINFOA play{};
        play.cbSize = sizeof(play);
        play.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // a failure must not wait on a box
        play.lpVerb = "Play";
        play.lpFile = greeting.c_str();
        play.nShow = SW_SHOWNORMAL;
        ASSERT_TRUE(ShellExecuteExA(&play)) << "the shell could not play the greeting: error " << GetLastError();
        RunningProgram player(play.hProcess);
        ProgramWindows windows(player.Id());
        EXPECT_TRUE(ProgramWindows::WaitUntil([&] { return windows.FindWindowOfClass("ParlacardStageBalloon"); }))
            << "the player did not speak the greeting; " << windows.Describe();
        // Ending the player here ends the performance; the rest would take a minute.
    }

    ASSERT_EQ(0u, UninstallSilently(folder));
    EXPECT_FALSE(PathExists(folder)) << "the program folder is still there";
    EXPECT_FALSE(PathExists(StartMenuFolder()));
    for (const std::string& name : BundledCharacters())
        EXPECT_FALSE(PathExists(CharacterFolder() + "\\" + name + ".ACS")) << name;
    EXPECT_TRUE(PathExists(greeting)) << "the user's greeting went with the program";
}

} // namespace
