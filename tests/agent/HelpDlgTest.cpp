#include "AgentFixture.h"
#include "support/CharacterFiles.h"
#include "agent/HelpDlg.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include <gtest/gtest.h>

namespace {
class HelpDialog : public AgentFixture {
protected:
    DialogDriver driver;
};
} // namespace

TEST_F(HelpDialog, MerlinReadsTheTextAndClosingCutsItShort)
{
    CharacterFiles installed({ "Merlin" });
    const std::string text = LoadResourceString(IDS_HELP_ACTION);
    ASSERT_NE(std::string::npos, text.find("www.parlacard.example web site"));
    TakeCalls();
    Calls whileOpen;
    driver.On(IDD_HELP, [&](HWND dialog) {
        EXPECT_EQ(text, DialogDriver::GetText(dialog, IDC_HELP_TEXT));
        whileOpen = TakeCalls();
        DialogDriver::Click(dialog, IDOK);
    });
    CHelpDlg help(IDS_HELP_ACTION);
    EXPECT_EQ(IDOK, help.DoModal());
    EXPECT_EQ((Calls{ "Unload(PQ)", "Load(PQ," + installed.PathOf("Merlin") + ")", "LanguageID=1033",
                      "MoveTo(512,384,)", "Show(false)", "Balloon.Style=15", "Play(Read)", "Speak(" + text + ",)",
                      "Hide(false)" }),
              whileOpen);
    EXPECT_EQ((Calls{ "StopAll()", "Hide(true)" }), TakeCalls());
}

TEST_F(HelpDialog, AnAlreadyCurrentMerlinStartsReadingAtOnce)
{
    CharacterFiles installed({ "Merlin" });
    ASSERT_TRUE(app.LoadCharacter("Merlin"));
    TakeCalls();
    driver.On(IDD_HELP, [&](HWND dialog) {
        const Calls calls = TakeCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ("Show(false)", calls.front());
        DialogDriver::Click(dialog, IDOK);
    });
    CHelpDlg(IDS_HELP_MAIN).DoModal();
}

TEST_F(HelpDialog, WithoutMerlinTheTextIsShownAndNothingPerformed)
{
    CharacterFiles installed({});
    installed.Uninstall("Merlin");
    TakeCalls();
    driver.On(IDD_HELP, [](HWND dialog) {
        EXPECT_EQ(0u, DialogDriver::GetText(dialog, IDC_HELP_TEXT).find("This is where you start"));
        DialogDriver::Click(dialog, IDOK);
    });
    CHelpDlg(IDS_HELP_NEW_GREETING).DoModal();
    EXPECT_TRUE(TakeCalls().empty());
}
