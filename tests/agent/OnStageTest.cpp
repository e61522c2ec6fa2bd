#include "agent/ActionDlg.h"
#include "agent/AgentApp.h"
#include "agent/HelpDlg.h"
#include "agent/IntroDlg.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "settings/FileUtil.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/MessagePump.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>

namespace {

// Waits are generous: a loaded machine makes the stage slow, never wrong.
const DWORD Deadline = 20000;

bool Shown(const char* className)
{
    const std::vector<HWND> windows = ThreadWindows(className);
    return windows.size() == 1 && IsWindowVisible(windows[0]);
}

bool CharacterShown()
{
    return Shown("ParlacardStageCharacter");
}

bool BalloonShown()
{
    return Shown("ParlacardStageBalloon");
}

HWND CharacterWindow()
{
    const std::vector<HWND> windows = ThreadWindows("ParlacardStageCharacter");
    return windows.size() == 1 ? windows[0] : nullptr;
}

// How the character's window and the dialog lie once he has come on, as the user sees them.
std::string CharacterBesideDialog(HWND dialog)
{
    RECT character{}, bounds{}, both{};
    if (!GetWindowRect(CharacterWindow(), &character) || !GetWindowRect(dialog, &bounds))
        return "no character or no dialog";
    const auto text = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    };
    return IntersectRect(&both, &character, &bounds) ? "character " + text(character) + " on dialog " + text(bounds)
                                                     : "beside";
}

// The editor and the help with the real character control of this machine, which under
// Wine is the built-in stage, and the bundled Merlin.
class OnStage : public testing::Test {
protected:
    void SetUp() override
    {
        FillVocabulary();
        GetSettings() = AppSettings{};
        GetSettings().CharacterName = "Merlin";
        GetSettings().CharacterAnimation = NoAnimation;
        const std::string merlin = FindCharacterFile("Merlin");
        WIN32_FILE_ATTRIBUTE_DATA file = {};
        ASSERT_TRUE(GetFileAttributesExA(merlin.c_str(), GetFileExInfoStandard, &file)) << "Merlin is installed";
        ASSERT_GT(file.nFileSizeLow, 10000u) << "the bundled Merlin, not a stand-in file";
        CAgentCtlEx::SetControlFactory(nullptr);
        ASSERT_TRUE(app.CreateAgentControl(nullptr));
        CActionDlg::ActionState = IDC_SAY;
        CActionDlg::AnimationCache = {};
    }
    void TearDown() override { app.ExitInstance(); }

    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
    CAgentApp app;
};

} // namespace

TEST_F(OnStage, TheEditorsPreviewShowsTheCharacterSpeakingAndHidesItAfterwards)
{
    std::vector<std::string> animations;
    driver.On(IDD_ACTION, [&](HWND dialog) {
        DialogDriver::Type(dialog, IDC_SPEECH, "Hello from the stage.");
        DialogDriver::Click(dialog, IDC_PREVIEW);
        EXPECT_TRUE(PumpUntil(CharacterShown, Deadline));
        EXPECT_TRUE(PumpUntil(BalloonShown, Deadline));
        EXPECT_TRUE(PumpUntil([] { return !CharacterShown() && !BalloonShown(); }, Deadline));

        // The animation list comes from the character itself.
        DialogDriver::Click(dialog, IDC_ANIMATE);
        HWND list = GetDlgItem(dialog, IDC_ARGUMENT);
        for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char name[256] = "";
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            animations.push_back(name);
        }
        const LRESULT wave = SendMessageA(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Wave"));
        ASSERT_NE(CB_ERR, wave);
        SendMessageA(list, CB_SETCURSEL, wave, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ARGUMENT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        DialogDriver::Click(dialog, IDC_PREVIEW);
        EXPECT_TRUE(PumpUntil(CharacterShown, Deadline));
        EXPECT_TRUE(PumpUntil([] { return !CharacterShown(); }, Deadline));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CActionDlg(nullptr).DoModal();
    EXPECT_EQ("Merlin", app.GetCurrentCharacterName());
    EXPECT_GT(animations.size(), 20u);
    EXPECT_EQ(NoAnimation, animations.front());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(OnStage, TheSpokenHelpIsReadAloudUntilTheDialogCloses)
{
    bool readingWhileOpen = false;
    driver.On(IDD_HELP, [&](HWND dialog) {
        readingWhileOpen = PumpUntil([] { return CharacterShown() && BalloonShown(); }, Deadline);
        DialogDriver::Click(dialog, IDOK);
    });
    CHelpDlg(IDS_HELP_MAIN).DoModal();
    EXPECT_TRUE(readingWhileOpen);
    // Closing cuts the reading short: the character goes at once, not after the text.
    EXPECT_TRUE(PumpUntil([] { return !CharacterShown() && !BalloonShown(); }, Deadline));
}

TEST_F(OnStage, TheHelpThePreviewAndTheTourStandBesideTheCharacterNotUnderIt)
{
    std::string help, preview, tour;
    driver.On(IDD_HELP, [&](HWND dialog) {
        EXPECT_TRUE(PumpUntil(CharacterShown, Deadline));
        help = CharacterBesideDialog(dialog);
        DialogDriver::Click(dialog, IDOK);
    });
    CHelpDlg(IDS_HELP_MAIN).DoModal();

    driver.On(IDD_ACTION, [&](HWND dialog) {
        DialogDriver::Type(dialog, IDC_SPEECH, "Beside the editor.");
        DialogDriver::Click(dialog, IDC_PREVIEW);
        EXPECT_TRUE(PumpUntil(CharacterShown, Deadline));
        preview = CharacterBesideDialog(dialog);
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CActionDlg(nullptr).DoModal();

    GetSettings().ShowPromo = 1;
    driver.On(IDD_INTRO, [&](HWND dialog) {
        EXPECT_TRUE(PumpUntil(CharacterShown, Deadline));
        tour = CharacterBesideDialog(dialog);
        DialogDriver::Click(dialog, IDC_CONTINUE);
    });
    CIntroDlg().DoModal();

    EXPECT_EQ("beside", help);
    EXPECT_EQ("beside", preview);
    EXPECT_EQ("beside", tour);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(OnStage, StopTalkingQuietsTheTourAndMerlinStaysWhereHeIs)
{
    GetSettings().ShowPromo = 1;
    bool speaking = false, quiet = false, balloonAgain = false, hidden = false;
    driver.On(IDD_INTRO, [&](HWND dialog) {
        speaking = PumpUntil([] { return CharacterShown() && BalloonShown(); }, Deadline);
        DialogDriver::Click(dialog, IDC_STOP_TALKING);
        quiet = PumpUntil([] { return !BalloonShown(); }, Deadline) && CharacterShown();
        // A hide queued now comes at once, unless lines were still waiting: their
        // balloon would be seen first.
        app.HideCharacter(true);
        hidden = PumpUntil([&] { return (balloonAgain = balloonAgain || BalloonShown()) || !CharacterShown(); },
                           Deadline);
        DialogDriver::Click(dialog, IDC_CONTINUE);
    });
    CIntroDlg().DoModal();
    EXPECT_TRUE(speaking);
    EXPECT_TRUE(quiet);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(balloonAgain);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(OnStage, ContinueDuringTheTourEndsItAndMerlinLeavesWithTheDialog)
{
    GetSettings().ShowPromo = 1;
    bool speaking = false;
    driver.On(IDD_INTRO, [&](HWND dialog) {
        speaking = PumpUntil([] { return CharacterShown() && BalloonShown(); }, Deadline);
        DialogDriver::Click(dialog, IDC_CONTINUE);
    });
    CIntroDlg().DoModal();
    EXPECT_TRUE(speaking);
    EXPECT_TRUE(PumpUntil([] { return !CharacterShown() && !BalloonShown(); }, Deadline));
    // His control went with the dialog: he is not the current character of another one.
    EXPECT_FALSE(app.LoadCharacter("Merlin"));
    ASSERT_TRUE(app.CreateAgentControl(nullptr));
    EXPECT_TRUE(app.LoadCharacter("Merlin"));
}
