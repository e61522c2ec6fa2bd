#include "AgentFixture.h"
#include "agent/IntroDlg.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/CharacterFiles.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>

namespace {

class IntroTour : public AgentFixture {
protected:
    void SetUp() override
    {
        AgentFixture::SetUp();
        GetSettings().ShowPromo = 1;
        TakeCalls();
    }

    // The calls one spoken line of the tour makes.
    static void Line(Calls& calls, const std::string& before, const std::string& text, const std::string& after,
                     bool hide = false)
    {
        calls.push_back("Show(false)");
        calls.push_back("Balloon.Style=15");
        if (!before.empty())
            calls.push_back("Play(" + before + ")");
        calls.push_back("Speak(" + text + ",)");
        if (!after.empty())
            calls.push_back("Play(" + after + ")");
        if (hide)
            calls.push_back("Hide(false)");
    }

    static int FontWeight(HWND dialog, int controlId)
    {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, controlId, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        return font.lfWeight;
    }

    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
};

} // namespace

TEST_F(IntroTour, MerlinQueuesTheTwelveLinesInOrderWhileTheDialogShowsTheText)
{
    CharacterFiles installed({ "Merlin" });
    Calls whileOpen;
    driver.On(IDD_INTRO, [&](HWND dialog) {
        whileOpen = TakeCalls();
        const std::string text = DialogDriver::GetText(dialog, IDC_INTRO_TEXT);
        EXPECT_EQ(LoadResourceString(IDS_INTRODUCTION), text);
        EXPECT_EQ(0u, text.find("Hello and welcome to Parlacard Maker.\n\nThis free product allows you"));
        EXPECT_NE(std::string::npos, text.find("please press the 'Continue' button now.\n\nThank You."));
        EXPECT_EQ("Parlacard Maker 1.04", DialogDriver::GetText(dialog, IDC_INTRO_TITLE));
        EXPECT_EQ(FW_BOLD, FontWeight(dialog, IDC_INTRO_TITLE));
        EXPECT_FALSE(DialogDriver::IsChecked(dialog, IDC_DONT_SHOW_AGAIN));
        DialogDriver::Click(dialog, IDC_CONTINUE);
    });
    EXPECT_EQ(IDCANCEL, CIntroDlg().DoModal());

    // A control of the dialog's own, then Merlin, then the script.
    Calls expected = { "RaiseRequestErrors=false", "Unload(PQ)", "Load(PQ," + installed.PathOf("Merlin") + ")",
                       "LanguageID=1033", "MoveTo(512,384,)" };
    Line(expected, "Wave", "Hello and welcome to the Parlacard Maker.", "");
    Line(expected, "GetAttention",
         "This free product allows you to make parlacards that feature me and my friends. You will meet my friends "
         "later on.",
         "");
    Line(expected, "Explain",
         "Using this program, you can send talking animated greetings to your friends, family or anyone else on the "
         "Web.",
         "");
    Line(expected, "Surprised",
         "Your friends will be amazed when I pop-up on their screen and start reading your message.", "Surprised");
    Line(expected, "Surprised", "I mean, truly amazed.", "Surprised");
    Line(expected, "",
         "Making a parlacard is as easy as baking a cake. You can choose from a list of pre-defined greetings or "
         "make your own.",
         "Process");
    Line(expected, "", "Sorry about that. I got carried away with the cake thing.", "Sad");
    Line(expected, "Explain",
         "When making a greeting, you can specify what I will say, which animations I will perform and where I'll "
         "stand on your friends screen.",
         "");
    Line(expected, "", "You have all the freedom you want to express yourself.", "DoMagic1");
    Line(expected, "Explain", "Parlacard is simple to use, fun, and best of all it's free!", "Congratulate_2");
    Line(expected, "Explain", "To start using Parlacard, please press the 'Continue' button now.", "Wave");
    Line(expected, "", "Thank You.", "DoMagic2", true);
    EXPECT_EQ(expected, whileOpen);

    // Continue stops the rest of the script; the character is not hidden by a call of ours.
    EXPECT_EQ((Calls{ "StopAll()" }), TakeCalls());
    EXPECT_EQ(1, GetSettings().ShowPromo);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(IntroTour, StopTalkingQuietsMerlinAndKeepsTheDialogOpen)
{
    CharacterFiles installed({ "Merlin" });
    driver.On(IDD_INTRO, [&](HWND dialog) {
        TakeCalls();
        DialogDriver::Click(dialog, IDC_STOP_TALKING);
        EXPECT_EQ((Calls{ "StopAll()" }), TakeCalls());
        EXPECT_TRUE(IsWindowVisible(dialog));
        // The title bar's close box stops him too.
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(IDCANCEL, CIntroDlg().DoModal());
    EXPECT_EQ((Calls{ "StopAll()" }), TakeCalls());
}

TEST_F(IntroTour, TheCheckBoxDecidesWhetherTheTourComesBack)
{
    CharacterFiles installed({ "Merlin" });
    driver.On(IDD_INTRO, [](HWND dialog) {
        DialogDriver::Click(dialog, IDC_DONT_SHOW_AGAIN);
        DialogDriver::Click(dialog, IDC_CONTINUE);
    });
    CIntroDlg().DoModal();
    EXPECT_EQ(0, GetSettings().ShowPromo);

    // Off, it opens ticked; untick it and the Escape key ends the dialog, still taking the box.
    driver.On(IDD_INTRO, [](HWND dialog) {
        EXPECT_TRUE(DialogDriver::IsChecked(dialog, IDC_DONT_SHOW_AGAIN));
        DialogDriver::Click(dialog, IDC_DONT_SHOW_AGAIN);
        DialogDriver::Command(dialog, IDCANCEL);
    });
    CIntroDlg().DoModal();
    EXPECT_EQ(1, GetSettings().ShowPromo);
    // The settings reach the registry only when they are all saved.
    EXPECT_FALSE(registry.GetDword(HKEY_LOCAL_MACHINE, "General", "ShowPromo"));
}

TEST_F(IntroTour, WithoutMerlinTheTextStandsAloneAndTheUserIsTold)
{
    const std::string message = "Failed to load default character (Merlin).\n\n"
                                "This is probably due to an incomplete installation.\n"
                                "Please visit our web site at http://www.parlacard.example/ to download and install "
                                "the latest version.";
    CharacterFiles installed({});
    installed.Uninstall("Merlin");
    agent.loadStatus = 1;   // and where his file is there, it does not load
    const auto tourWithoutCharacter = [&](HWND dialog) {
        EXPECT_EQ(LoadResourceString(IDS_INTRODUCTION), DialogDriver::GetText(dialog, IDC_INTRO_TEXT));
        TakeCalls();
        DialogDriver::Click(dialog, IDC_STOP_TALKING);
        DialogDriver::Click(dialog, IDC_CONTINUE);
    };
    driver.On(IDD_INTRO, tourWithoutCharacter);
    CIntroDlg().DoModal();
    EXPECT_TRUE(TakeCalls().empty()) << "nothing to stop";

    CharacterFiles reinstalled({ "Merlin" });
    driver.On(IDD_INTRO, tourWithoutCharacter);
    CIntroDlg().DoModal();
    EXPECT_TRUE(TakeCalls().empty());

    ASSERT_EQ(2u, boxes.Boxes().size());
    for (const RecordedMessageBox& box : boxes.Boxes()) {
        EXPECT_EQ(message, box.text);
        EXPECT_EQ("Parlacard", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), box.flags);
    }
}
