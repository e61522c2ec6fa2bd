#include "app/NewGreetingDlg.h"
#include "greeting/GreetingAction.h"
#include "greeting/NewGreetingChoice.h"
#include "greeting/ParloDoc.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/DialogDriver.h"
#include "support/KeyPresses.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>

namespace {

class NewGreetingDlg : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetSettings() = AppSettings{};
        GetSettings().UserName = "Ann";
        GetSettings().Gender = "Male";
        GetSettings().DefaultGreetingType = "Say Hi";
        SetNewGreetingDialog(&AskForNewGreeting);
    }
    void TearDown() override { SetNewGreetingDialog(nullptr); }

    static void ChooseType(HWND dialog, const char* type)
    {
        HWND types = GetDlgItem(dialog, IDC_GREETING_TYPES);
        ASSERT_NE(LB_ERR, SendMessageA(types, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(type)));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GREETING_TYPES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    }
    static void DoubleClickType(HWND dialog)
    {
        HWND types = GetDlgItem(dialog, IDC_GREETING_TYPES);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GREETING_TYPES, LBN_DBLCLK), reinterpret_cast<LPARAM>(types));
    }
    static std::string SelectedType(HWND dialog)
    {
        HWND types = GetDlgItem(dialog, IDC_GREETING_TYPES);
        char text[128] = "";
        SendMessageA(types, LB_GETTEXT, SendMessageA(types, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
        return text;
    }

    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
};

} // namespace

TEST_F(NewGreetingDlg, OpensOnTheStoredChoicesWithTheTypesInTheirOrder)
{
    GetSettings().DefaultGreetingType = "birthday";
    GetSettings().Gender = "Female";
    std::vector<std::string> types;
    std::vector<bool> recipientEnabled;
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_GREETING_TYPES);
        for (LRESULT i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            char text[128] = "";
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        EXPECT_EQ("Birthday", SelectedType(dialog));
        EXPECT_EQ("Female", DialogDriver::GetText(dialog, IDC_GENDER));
        EXPECT_EQ("Ann", DialogDriver::GetText(dialog, IDC_NAME));
        EXPECT_EQ("New Parlacard", DialogDriver::GetText(dialog, IDC_NEW_TITLE));
        recipientEnabled.push_back(DialogDriver::IsEnabled(dialog, IDC_RECIPIENT));
        for (const char* type : { "Mom", "Dad", "Start with an empty greeting", "Thank You" }) {
            ChooseType(dialog, type);
            recipientEnabled.push_back(DialogDriver::IsEnabled(dialog, IDC_RECIPIENT));
        }
        // Choosing a type takes the user on to the recipient.
        EXPECT_EQ(GetDlgItem(dialog, IDC_RECIPIENT), GetFocus());
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CNewGreetingDlg dialog;
    dialog.userName = GetSettings().UserName;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{ "Start with an empty greeting", "Say Hi", "I Miss You", "Thank You",
                                         "Send A Joke", "Send A Story", "Recommend A Web Site", "Birthday", "Mom",
                                         "Dad", "Recommend Parlacard To Friends" }),
              types);
    EXPECT_EQ((std::vector<bool>{ true, false, false, false, true }), recipientEnabled);
}

// A user who arrows through the types finds the keyboard where the next thing to type goes:
// in the list while the type has no recipient, in the recipient's name once it has one, with
// the name there selected so that what is typed replaces it.
TEST_F(NewGreetingDlg, ChoosingATypeByKeyTakesTheKeyboardToTheRecipientWhenThereIsOne)
{
    GetSettings().DefaultGreetingType = "Birthday";
    std::vector<std::string> focusAfterKeys;
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        HWND types = GetDlgItem(dialog, IDC_GREETING_TYPES);
        HWND recipient = GetDlgItem(dialog, IDC_RECIPIENT);
        auto focused = [&] {
            HWND focus = GetFocus();
            return focus == types ? "types" : focus == recipient ? "recipient" : focus == GetDlgItem(dialog, IDC_NAME) ? "name" : "other";
        };
        auto typeKeys = [&](const std::string& keys) {
            for (char c : keys)
                PressKey(static_cast<WORD>(c), { VK_SHIFT });
            PumpDialogUntil(dialog, [&] { return DialogDriver::GetText(dialog, IDC_RECIPIENT).find(keys) != std::string::npos; }, 5000);
        };
        ASSERT_TRUE(PumpDialogUntil(dialog, [&] { return GetFocus() == types; }, 5000)) << focused();
        PressKey(VK_TAB);
        ASSERT_TRUE(PumpDialogUntil(dialog, [&] { return GetFocus() == recipient; }, 5000)) << focused();
        typeKeys("BOB");
        PressKey(VK_TAB, { VK_SHIFT });
        ASSERT_TRUE(PumpDialogUntil(dialog, [&] { return GetFocus() == types; }, 5000)) << focused();
        for (WORD key : { VK_DOWN, VK_DOWN, VK_UP, VK_UP }) {
            const LRESULT before = SendMessageA(types, LB_GETCURSEL, 0, 0);
            PressKey(key);
            ASSERT_TRUE(PumpDialogUntil(dialog, [&] { return SendMessageA(types, LB_GETCURSEL, 0, 0) != before; }, 5000));
            focusAfterKeys.push_back(SelectedType(dialog) + ": " + focused());
        }
        typeKeys("PAT");
        DialogDriver::Click(dialog, IDOK);
    });
    CNewGreetingDlg dialog;
    dialog.userName = GetSettings().UserName;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{ "Mom: types", "Dad: types", "Mom: types", "Birthday: recipient" }), focusAfterKeys);
    EXPECT_EQ("PAT", dialog.recipientName);
    EXPECT_EQ("Ann", dialog.userName);
}

TEST_F(NewGreetingDlg, NamesStopAtFiftyCharacters)
{
    std::string recipient, name;
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        DialogDriver::Type(dialog, IDC_RECIPIENT, std::string(51, 'r'));
        DialogDriver::Type(dialog, IDC_NAME, std::string(60, 'n'));
        recipient = DialogDriver::GetText(dialog, IDC_RECIPIENT);
        name = DialogDriver::GetText(dialog, IDC_NAME);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CNewGreetingDlg().DoModal();
    EXPECT_EQ(std::string(50, 'r'), recipient);
    EXPECT_EQ(std::string(50, 'n'), name);
}

TEST_F(NewGreetingDlg, OkWaitsForTheUsersNameAndADoubleClickSaysSo)
{
    std::vector<bool> okStates;
    bool focusOnName = false;
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        DialogDriver::SetText(dialog, IDC_NAME, "  \t ");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        ChooseType(dialog, "Birthday");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        DoubleClickType(dialog);
        EXPECT_TRUE(IsWindow(dialog));
        focusOnName = GetFocus() == GetDlgItem(dialog, IDC_NAME);
        DialogDriver::SetText(dialog, IDC_NAME, "Bo");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        // With a name a double click is OK.
        DoubleClickType(dialog);
    });
    CNewGreetingDlg dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<bool>{ false, false, false, true }), okStates);
    EXPECT_TRUE(focusOnName);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Please type in your name before continuing.", boxes.Boxes()[0].text);
    EXPECT_EQ("Parlacard", boxes.Boxes()[0].caption);
    EXPECT_EQ("Birthday", dialog.greetingType);
    EXPECT_EQ("Bo", dialog.userName);
}

// OK stores the choices for the next greeting, even one that is then thrown away; Cancel
// stores nothing and leaves the greeting as it was.
TEST_F(NewGreetingDlg, OkStoresTheChoicesAndCancelKeepsTheGreeting)
{
    CParloDoc doc;
    doc.InsertAction(new GreetingAction("Merlin", "Say", "kept"), 0);
    driver.On(IDD_NEW_GREETING, [](HWND dialog) {
        ChooseType(dialog, "Recommend Parlacard To Friends");
        DialogDriver::SetText(dialog, IDC_NAME, " Bob ");
        SendDlgItemMessageA(dialog, IDC_GENDER, CB_SETCURSEL, 1, 0);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(1, doc.GetActionCount());
    EXPECT_EQ("Say Hi", GetSettings().DefaultGreetingType);
    EXPECT_FALSE(registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName").has_value());

    driver.On(IDD_NEW_GREETING, [](HWND dialog) {
        ChooseType(dialog, "Start with an empty greeting");
        DialogDriver::SetText(dialog, IDC_NAME, " Bob ");
        SendDlgItemMessageA(dialog, IDC_GENDER, CB_SETCURSEL, 1, 0);
        DialogDriver::Click(dialog, IDOK);
    });
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(0, doc.GetActionCount());
    EXPECT_EQ("Female", doc.GetSenderGender());
    EXPECT_EQ("Start with an empty greeting", registry.GetString(HKEY_LOCAL_MACHINE, "General", "DefaultGreetingType"));
    EXPECT_EQ(" Bob ", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));
    EXPECT_EQ("Female", registry.GetString(HKEY_LOCAL_MACHINE, "General", "Gender"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// At start-up this dialog comes before the main window is shown, so no window of the
// program can own the help it opens but this dialog itself: the help stays in front of
// it, however the dialog is brought forward, and the dialog waits until the help closes.
TEST_F(NewGreetingDlg, TheHelpStaysInFrontOfTheDialogItWasOpenedFrom)
{
    const auto inFront = [](HWND front, HWND back) {
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            if (window == front || window == back)
                return window == front;
        }
        return false;
    };
    HWND newGreeting = nullptr;
    bool dialogEnabled = true, helpInFront = false;
    driver.On(IDD_NEW_GREETING, [&](HWND dialog) {
        newGreeting = dialog;
        DialogDriver::Click(dialog, IDC_HELP_BUTTON);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    driver.On(IDD_HELP, [&](HWND help) {
        dialogEnabled = IsWindowEnabled(newGreeting) != FALSE;
        // As a click on the dialog behind, or a window of the character, would bring it up.
        SetWindowPos(newGreeting, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        helpInFront = inFront(help, newGreeting);
        DialogDriver::Click(help, IDOK);
    });
    CNewGreetingDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(dialogEnabled);
    EXPECT_TRUE(helpInFront);
    EXPECT_EQ((std::vector<UINT>{ IDD_NEW_GREETING, IDD_HELP }), driver.Seen());
}
