#include "agent/ActionDlg.h"
#include "AgentFixture.h"
#include "greeting/GreetingAction.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/CharacterFiles.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TestRegistry.h"
#include "support/WindowText.h"
#include <gtest/gtest.h>

namespace {

class ActionEditor : public AgentFixture {
protected:
    void SetUp() override
    {
        AgentFixture::SetUp();
        CActionDlg::ActionState = IDC_SAY;
        CActionDlg::AnimationCache = {};
    }

    static void Choose(HWND dialog, int comboId, const std::string& text)
    {
        HWND combo = GetDlgItem(dialog, comboId);
        const LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text.c_str()));
        ASSERT_NE(CB_ERR, index) << text;
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static std::vector<std::string> Entries(HWND dialog, int comboId)
    {
        std::vector<std::string> entries;
        HWND combo = GetDlgItem(dialog, comboId);
        for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
            char text[256] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }

    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
    CharacterFiles installed{ { "Merlin", "Peedy" } };
};

} // namespace

TEST_F(ActionEditor, ANewActionOpensOnTheCommandLastChosenInAnyEditor)
{
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_EQ("New Action", WindowText(dialog));
        EXPECT_TRUE(DialogDriver::IsChecked(dialog, IDC_SAY));
        EXPECT_TRUE(DialogDriver::IsShown(dialog, IDC_SPEECH));
        EXPECT_FALSE(DialogDriver::IsShown(dialog, IDC_ARGUMENT));
        EXPECT_EQ("What should the character say?", DialogDriver::GetText(dialog, IDC_ARGUMENT_LABEL));
        EXPECT_EQ("Merlin", DialogDriver::GetText(dialog, IDC_CHARACTER));
        DialogDriver::Click(dialog, IDC_MOVE);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_TRUE(DialogDriver::IsChecked(dialog, IDC_MOVE));
        EXPECT_FALSE(DialogDriver::IsChecked(dialog, IDC_SAY));
        EXPECT_EQ("Where should the character move to?", DialogDriver::GetText(dialog, IDC_ARGUMENT_LABEL));
        EXPECT_EQ("Center", DialogDriver::GetText(dialog, IDC_ARGUMENT));
        EXPECT_EQ(9u, Entries(dialog, IDC_ARGUMENT).size());
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, CActionDlg(nullptr).DoModal());
    EXPECT_EQ(IDCANCEL, CActionDlg(nullptr).DoModal());
}

TEST_F(ActionEditor, SpeechIsStoredOnOneTrimmedLineWithApostrophes)
{
    driver.On(IDD_ACTION, [](HWND dialog) {
        DialogDriver::Type(dialog, IDC_SPEECH, "  Happy birthday,\r\ndear \"Bob\"!\r\nCheers  ");
        DialogDriver::Click(dialog, IDOK);
    });
    CActionDlg editor(nullptr);
    ASSERT_EQ(IDOK, editor.DoModal());
    EXPECT_EQ("Merlin", editor.character);
    EXPECT_EQ("Say", editor.command);
    EXPECT_EQ("Happy birthday,  dear 'Bob'!  Cheers", editor.argument);
}

TEST_F(ActionEditor, BlanksOnlyKeepOkAndPreviewDisabled)
{
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDOK));
        DialogDriver::Type(dialog, IDC_SPEECH, " \r\n\t ");
        EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDOK));
        EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_PREVIEW));
        DialogDriver::Type(dialog, IDC_SPEECH, " x ");
        EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDOK));
        EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDC_PREVIEW));
        // Other commands need no text.
        DialogDriver::Type(dialog, IDC_SPEECH, "");
        DialogDriver::Click(dialog, IDC_HIDE);
        EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDOK));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CActionDlg(nullptr).DoModal();
}

TEST_F(ActionEditor, EditingAMoveOpensOnItsPosition)
{
    GreetingAction action("Peedy", "Move", "Bottom Left");
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_EQ("Edit Action", WindowText(dialog));
        EXPECT_TRUE(DialogDriver::IsChecked(dialog, IDC_MOVE));
        EXPECT_EQ("Peedy", DialogDriver::GetText(dialog, IDC_CHARACTER));
        EXPECT_EQ("Bottom Left", DialogDriver::GetText(dialog, IDC_ARGUMENT));
        EXPECT_EQ(GetDlgItem(dialog, IDC_ARGUMENT), GetFocus());
        DialogDriver::Click(dialog, IDOK);
    });
    CActionDlg editor(nullptr, &action);
    ASSERT_EQ(IDOK, editor.DoModal());
    EXPECT_EQ("Move", editor.command);
    EXPECT_EQ("Bottom Left", editor.argument);
    EXPECT_EQ("Peedy", editor.character);
    // The choice is remembered in memory only.
    EXPECT_EQ("Peedy", GetSettings().CharacterName);
    EXPECT_FALSE(registry.GetString(HKEY_LOCAL_MACHINE, "Character", "Name"));
}

TEST_F(ActionEditor, AnUninstalledCharacterFallsBackToMerlinAskingTwiceWhenMerlinIsMissingToo)
{
    // Neither Tolvan nor Merlin is installed for this test.
    installed.Uninstall("Merlin");
    installed.Uninstall("Tolvan");
    GetSettings().CharacterName = "Peedy";
    for (int button : { IDNO, IDNO, IDOK, IDNO, IDNO, IDOK })
        boxes.Answer(button);
    driver.On(IDD_ACTION, [](HWND dialog) {
        Choose(dialog, IDC_CHARACTER, "Tolvan");
        EXPECT_EQ("Merlin", DialogDriver::GetText(dialog, IDC_CHARACTER));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CActionDlg(nullptr).DoModal();
    const std::string notInstalled = ") is not installed on your computer.\n\nWould you like to go to the Parlacard "
                                     "character gallery and download ";
    const std::string merlinMissing = "Merlin, the default character is not installed on your computer.\n\nYou must "
                                      "install him in order to use this product.\nWould you like to go to the "
                                      "Parlacard character gallery and download him?";
    const std::string disabled = "Without the default character (Merlin) some of the features of this product are "
                                 "disabled.";
    const std::vector<std::string> expected = {
        "The character you selected (Tolvan" + notInstalled + "Tolvan now?", merlinMissing, disabled,
        "The character you selected (Merlin" + notInstalled + "Merlin now?", merlinMissing, disabled,
    };
    ASSERT_EQ(expected.size(), boxes.Boxes().size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], boxes.Boxes()[i].text);
        EXPECT_EQ("Parlacard", boxes.Boxes()[i].caption);
    }
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].flags);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.Boxes()[2].flags);
}

TEST_F(ActionEditor, AnimationsAreEnumeratedOnceAndTheLastOneIsPreselected)
{
    agent.animationNames = { "Wave", "Explain", "Read" };
    GetSettings().CharacterAnimation = "Read";
    CActionDlg::ActionState = IDC_ANIMATE;
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_EQ((std::vector<std::string>{ "(None)", "Explain", "Read", "Wave" }), Entries(dialog, IDC_ARGUMENT));
        EXPECT_EQ("Read", DialogDriver::GetText(dialog, IDC_ARGUMENT));
        Choose(dialog, IDC_ARGUMENT, "Wave");
        DialogDriver::Click(dialog, IDOK);
    });
    driver.On(IDD_ACTION, [](HWND dialog) {
        EXPECT_EQ("Wave", DialogDriver::GetText(dialog, IDC_ARGUMENT));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CActionDlg first(nullptr);
    ASSERT_EQ(IDOK, first.DoModal());
    EXPECT_EQ("Animate", first.command);
    EXPECT_EQ("Wave", GetSettings().CharacterAnimation);
    CActionDlg(nullptr).DoModal();
    EXPECT_EQ(1, agent.enumerations);
}

TEST_F(ActionEditor, PreviewPerformsEachCommandAndClosingResetsTheCharacter)
{
    struct Case {
        int radio;
        std::string argument;
        Calls calls;
    } cases[] = {
        { IDC_SHOW, "Don't Animate", { "Show(true)", "Balloon.Style=15", "Speak(Showing,)", "Hide(true)" } },
        { IDC_HIDE, "Animate", { "Show(false)", "Balloon.Style=15", "Speak(Hiding,)", "Hide(false)" } },
        { IDC_SAY, "Hi there", { "Show(true)", "Balloon.Style=15", "Speak(Hi there,)", "Hide(true)" } },
        { IDC_ANIMATE, "Wave", { "Show(true)", "Balloon.Style=15", "Play(Wave)", "Speak(Wave,)", "Hide(true)" } },
        { IDC_MOVE, "Center",
          { "MoveTo(512,0,)", "Show(true)", "Balloon.Style=15", "Speak(Moving,)", "MoveTo(512,384,)", "Show(true)",
            "Balloon.Style=15", "Speak(Center,)", "Hide(true)" } },
        { IDC_MOVE, "Bottom Right",
          { "MoveTo(512,384,)", "Show(true)", "Balloon.Style=15", "Speak(Moving,)", "MoveTo(896,640,)", "Show(true)",
            "Balloon.Style=15", "Speak(Bottom Right,)", "Hide(true)" } },
    };
    agent.animationNames = { "Wave" };
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    const Calls reset = { "StopAll()", "Hide(true)", "MoveTo(512,384,)" };
    for (const Case& c : cases) {
        CActionDlg::ActionState = IDC_SAY;
        Calls first, second;
        driver.On(IDD_ACTION, [&](HWND dialog) {
            DialogDriver::Click(dialog, c.radio);
            if (c.radio == IDC_SAY)
                DialogDriver::Type(dialog, IDC_SPEECH, c.argument);
            else
                Choose(dialog, IDC_ARGUMENT, c.argument);
            TakeCalls();
            DialogDriver::Click(dialog, IDC_PREVIEW);
            first = TakeCalls();
            DialogDriver::Click(dialog, IDC_PREVIEW);
            second = TakeCalls();
            DialogDriver::Click(dialog, IDCANCEL);
        });
        CActionDlg(nullptr).DoModal();
        // Listing the animations loaded the character, so even the first preview resets it.
        Calls again = reset;
        again.insert(again.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(c.radio == IDC_ANIMATE ? again : c.calls, first) << c.argument;
        EXPECT_EQ(again, second) << c.argument;
        EXPECT_EQ(reset, TakeCalls()) << "closing resets the character";
    }
}
