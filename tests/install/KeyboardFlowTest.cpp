// A greeting made, played, saved and sent in the installed program by a user who never
// touches the mouse: every step is a key press that goes to whatever has the focus, so a
// window that leaves the keyboard nowhere stops the flow at that step.
#include "Installation.h"
#include "KeyboardUser.h"
#include "MakerWindows.h"
#include "ProgramWindows.h"
#include "RunningProgram.h"
#include "support/FileText.h"
#include "support/ProxySetting.h"
#include "support/RecordingBrowser.h"
#include "support/StandInControl.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

using namespace Maker;

const char Said[] = "Happy birthday, Pat";
const char Edited[] = "Happy birthday, dear Pat";
const DWORD ExitTimeout = 30000;

// Enter takes the dialog's default button; the dialog then goes.
void Confirm(const ProgramWindows& windows, HWND dialog)
{
    KeyboardUser::Press(VK_RETURN);
    windows.WaitUntilClosed(dialog);
}

void StartTheProgram(const ProgramWindows& windows)
{
    HWND tour = windows.WaitForDialog(TourCaption);
    ASSERT_NE(nullptr, tour);
    Confirm(windows, tour);

    HWND setup = windows.WaitForDialog(SetupCaption);
    ASSERT_NE(nullptr, setup);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(ProgramWindows::Control(setup, NameEdit)));
    KeyboardUser::Type(setup, "Robin Sender");
    ASSERT_TRUE(KeyboardUser::TabTo(setup, EmailEdit));
    KeyboardUser::Type(setup, "robin@example.com");
    Confirm(windows, setup);
}

// The types list first: B chooses Birthday, which takes the keyboard on to the recipient.
// Back in the list, the arrows pass Mom and Dad (no recipient) and come back to Birthday,
// which must take it there again: a name typed after that is the recipient's.
void ChooseBirthdayWithTheArrows(const ProgramWindows& windows)
{
    HWND dialog = windows.WaitForDialog(NewGreetingCaption);
    ASSERT_NE(nullptr, dialog);
    HWND types = ProgramWindows::Control(dialog, GreetingTypes);
    HWND recipient = ProgramWindows::Control(dialog, RecipientEdit);
    ASSERT_TRUE(KeyboardUser::TabTo(dialog, GreetingTypes));
    KeyboardUser::Press('B');
    ASSERT_TRUE(KeyboardUser::WaitForFocus(recipient)) << "choosing Birthday left the recipient behind";
    ASSERT_TRUE(KeyboardUser::TabTo(dialog, GreetingTypes, true));
    for (WORD key : { VK_DOWN, VK_DOWN, VK_UP, VK_UP }) {
        const LRESULT before = SendMessageA(types, LB_GETCURSEL, 0, 0);
        KeyboardUser::Press(key);
        ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return SendMessageA(types, LB_GETCURSEL, 0, 0) != before; }));
        if (key == VK_DOWN) {
            ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return !IsWindowEnabled(recipient); }));
            // Nothing to type there: the arrows go on in the list.
            ASSERT_TRUE(KeyboardUser::WaitForFocus(types));
        }
    }
    ASSERT_TRUE(KeyboardUser::WaitForFocus(recipient)) << "arrowing back to Birthday left the recipient behind";
    KeyboardUser::Type(dialog, "Pat");
    EXPECT_EQ("Robin Sender", ProgramWindows::Text(ProgramWindows::Control(dialog, NameEdit)));
    Confirm(windows, dialog);
}

// The editor, by keys: Alt+F chooses "Say the following...", Tab goes to its text, which is
// typed over, and OK is pressed.
void SayInTheEditor(const ProgramWindows& windows, const char* caption, const std::string& text)
{
    HWND editor = windows.WaitForDialog(caption);
    ASSERT_NE(nullptr, editor);
    HWND say = ProgramWindows::Control(editor, SayRadio);
    KeyboardUser::Press('F', { VK_MENU });
    ASSERT_TRUE(ProgramWindows::WaitUntil([say] { return SendMessageA(say, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
        << "Alt+F did not choose Say";
    ASSERT_TRUE(KeyboardUser::TabTo(editor, SpeechEdit));
    KeyboardUser::ReplaceText(editor, text);
    KeyboardUser::PressButton(editor, IDOK);
    windows.WaitUntilClosed(editor);
}

TEST(KeyboardFlow, AGreetingMadePlayedSavedAndSentWithTheKeysAlone)
{
    StandInControl site;
    ProxySetting proxy(site.Port());
    RecordingBrowser browser;
    TempFolder documents;
    const std::string greeting = documents.File("Keys for Pat.pcg");

    ASSERT_EQ(0u, InstallSilently());
    RunningProgram maker(DefaultInstallFolder() + "\\Parlacard.exe", "");
    ASSERT_TRUE(maker.Started());
    ProgramWindows windows(maker.Id());
    ASSERT_NO_FATAL_FAILURE(StartTheProgram(windows));
    ASSERT_NO_FATAL_FAILURE(ChooseBirthdayWithTheArrows(windows));

    HWND frame = windows.WaitForMainWindow();
    ASSERT_NE(nullptr, frame);
    HWND list = ProgramWindows::Control(frame, ActionList);
    HWND view = GetParent(list);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRows(list) > 0; }));
    const int templateRows = ProgramWindows::ListRows(list);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "the main window does not give the keyboard to its list";

    // The first row has the keyboard's mark: Down chooses the second, Add puts the new
    // action after it, and the keyboard comes back to the list.
    KeyboardUser::Press(VK_DOWN);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListSelection(list) == 1; })) << ProgramWindows::ListSelection(list);
    KeyboardUser::PressButton(view, AddButton);
    ASSERT_NO_FATAL_FAILURE(SayInTheEditor(windows, ActionCaption, Said));
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRows(list) == templateRows + 1; }));
    EXPECT_EQ(2, ProgramWindows::ListSelection(list));
    EXPECT_EQ("Merlin says: \"" + std::string(Said) + "\"", ProgramWindows::ListRowText(list, 2));
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after the editor";

    // Enter edits the chosen row.
    KeyboardUser::Press(VK_RETURN);
    ASSERT_NO_FATAL_FAILURE(SayInTheEditor(windows, EditActionCaption, Edited));
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRowText(list, 2).find(Edited) != std::string::npos; }))
        << ProgramWindows::ListRowText(list, 2);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after editing";

    // F6 goes to the buttons below the list; Space on Up moves the row up.
    KeyboardUser::Press(VK_F6);
    KeyboardUser::Press(VK_F6);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(ProgramWindows::Control(view, MoveUpButton)));
    KeyboardUser::Press(VK_SPACE);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ProgramWindows::ListRowText(list, 1).find(Edited) != std::string::npos; }))
        << "row 1: " << ProgramWindows::ListRowText(list, 1);
    EXPECT_EQ(1, ProgramWindows::ListSelection(list));

    // Play Greeting hands the greeting to the player, which speaks it; then it is ended.
    KeyboardUser::PressButton(view, PlayGreetingButton);
    HWND balloon = nullptr;
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return (balloon = FindWindowA("ParlacardStageBalloon", nullptr)) != nullptr; }))
        << "the player did not speak";
    DWORD player = 0;
    GetWindowThreadProcessId(balloon, &player);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, player)) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, ExitTimeout);
        CloseHandle(process);
    }

    // Ctrl+S on a greeting never saved asks for its name.
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return KeyboardUser::Focus(frame) != nullptr; }));
    KeyboardUser::Press('S', { VK_CONTROL });
    HWND save = windows.WaitForDialog(SaveCaption);
    ASSERT_NE(nullptr, save);
    HWND name = ProgramWindows::Control(save, GetDlgItem(save, FileNameCombo) ? FileNameCombo : FileNameEdit);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return IsChild(name, KeyboardUser::Focus(save)) || KeyboardUser::Focus(save) == name; }));
    KeyboardUser::ReplaceText(save, greeting);
    Confirm(windows, save);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return ReadFileText(greeting).find(Edited) != std::string::npos; }))
        << "the saved greeting: " << ReadFileText(greeting);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after Save As";

    // Played already, so Send Now goes straight to the recipients.
    KeyboardUser::PressButton(view, SendNowButton);
    HWND send = windows.WaitForDialog(SendCaption);
    ASSERT_NE(nullptr, send);
    ASSERT_TRUE(KeyboardUser::TabTo(send, AddressesEdit));
    KeyboardUser::Type(send, "pat@example.com");
    // The addresses take Tab and Enter as text: Alt+S presses Send.
    KeyboardUser::Press('S', { VK_MENU });
    windows.WaitUntilClosed(send);
    const std::vector<std::string> pages = browser.WaitForAddresses(1, ProgramWindows::DefaultWait);
    ASSERT_EQ(1u, pages.size()) << "the browser was not asked to open the send page";
    EXPECT_NE(std::string::npos, pages[0].find("send/default.asp?GID=")) << pages[0];
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after Send Now";

    // The view's Help reads its text aloud; OK closes it.
    KeyboardUser::PressButton(view, HelpButton);
    HWND help = windows.WaitForDialog(HelpCaption);
    ASSERT_NE(nullptr, help);
    KeyboardUser::PressButton(help, IDOK);
    windows.WaitUntilClosed(help);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after Help";

    KeyboardUser::ChooseFromMenu(windows, frame, 'H', 'A');
    HWND about = windows.WaitForDialog(AboutCaption);
    ASSERT_NE(nullptr, about);
    KeyboardUser::PressButton(about, IDOK);
    windows.WaitUntilClosed(about);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after About";

    // The update check asks the site; once it has answered, Close (or Cancel) ends it.
    KeyboardUser::ChooseFromMenu(windows, frame, 'H', 'D');
    HWND update = windows.WaitForDialog(UpdateCaption);
    ASSERT_NE(nullptr, update);
    HWND status = ProgramWindows::Control(update, UpdateStatus);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return !ProgramWindows::Text(status).empty(); }));
    HWND close = ProgramWindows::Control(update, IDOK);
    ASSERT_TRUE(ProgramWindows::WaitUntil([&] { return IsWindowVisible(close) != FALSE; }))
        << "the check ends with: " << ProgramWindows::Text(status);
    KeyboardUser::PressButton(update, IDOK);
    windows.WaitUntilClosed(update);
    ASSERT_TRUE(KeyboardUser::WaitForFocus(list)) << "after the update check";

    // Ctrl+S keeps the recipients typed at Send with the greeting; Exit then asks nothing.
    KeyboardUser::Press('S', { VK_CONTROL });
    EXPECT_TRUE(ProgramWindows::WaitUntil(
        [&] { return ReadFileText(greeting).find("\r\npat@example.com\r\n") != std::string::npos; }))
        << ReadFileText(greeting);
    // Alt+F opens the File menu from the list, although Play From underlines the same letter.
    KeyboardUser::ChooseFromMenu(windows, frame, 'F', 'X', true);
    EXPECT_TRUE(maker.WaitForExit(ExitTimeout));
}

} // namespace
