#include "app/OptionsDlg.h"
#include "app/ParloApp.h"
#include "app/SetupDlg.h"
#include "res/resource.h"
#include "settings/AppSettings.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TestRegistry.h"
#include <gtest/gtest.h>

namespace {

class UserDetailsDialogs : public ::testing::Test {
protected:
    void SetUp() override { GetSettings() = AppSettings{}; }
    TestRegistry registry;
    DialogDriver driver;
    MessageBoxAnswerer boxes;
};

void Fill(HWND dialog, const std::string& name, const std::string& email)
{
    DialogDriver::SetText(dialog, IDC_NAME, name);
    DialogDriver::SetText(dialog, IDC_EMAIL, email);
}

} // namespace

TEST_F(UserDetailsDialogs, SetupEnablesOkOnlyWhenNameAndAddressHoldMoreThanBlanks)
{
    std::vector<bool> okStates;
    driver.On(IDD_SETUP, [&](HWND dialog) {
        EXPECT_EQ("Male", DialogDriver::GetText(dialog, IDC_GENDER));
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        Fill(dialog, "   ", "ann@example.org");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        Fill(dialog, "Ann", " \t ");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        Fill(dialog, "Ann", "ann@example.org");
        okStates.push_back(DialogDriver::IsEnabled(dialog, IDOK));
        DialogDriver::Click(dialog, IDCANCEL);
    });
    CSetupDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<bool>{ false, false, false, true }), okStates);
}

TEST_F(UserDetailsDialogs, FirstSetupStoresTheEntriesExactlyAsTyped)
{
    driver.On(IDD_SETUP, [](HWND dialog) {
        Fill(dialog, "  Ann Example ", " ann@example.org");
        SendDlgItemMessageA(dialog, IDC_GENDER, CB_SETCURSEL, 1, 0);
        DialogDriver::Click(dialog, IDOK);
    });
    CParloApp app;
    ASSERT_TRUE(app.RunFirstSetup());
    EXPECT_EQ("  Ann Example ", GetSettings().UserName);
    EXPECT_EQ("Female", GetSettings().Gender);
    EXPECT_EQ("  Ann Example ", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));
    EXPECT_EQ(" ann@example.org", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserEmail"));
    EXPECT_EQ("Female", registry.GetString(HKEY_LOCAL_MACHINE, "General", "Gender"));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(UserDetailsDialogs, FirstSetupIsSkippedWithANameAndCancelEndsIt)
{
    CParloApp app;
    driver.On(IDD_SETUP, [](HWND dialog) { DialogDriver::Click(dialog, IDCANCEL); });
    EXPECT_FALSE(app.RunFirstSetup());
    EXPECT_FALSE(registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserName"));

    GetSettings().UserName = "Ann";
    EXPECT_TRUE(app.RunFirstSetup());
    EXPECT_EQ((std::vector<UINT>{ IDD_SETUP }), driver.Seen());
}

TEST_F(UserDetailsDialogs, SetupTakesEightyCharacterAddressesAndRefusesLongerOnes)
{
    const std::string accepted = std::string(71, 'a') + "@exam.ple";
    ASSERT_EQ(80u, accepted.size());
    driver.On(IDD_SETUP, [&](HWND dialog) {
        Fill(dialog, "Ann", accepted + "y");
        DialogDriver::Click(dialog, IDOK);
        // The dialog stays after the refusal; a shorter address passes.
        ASSERT_TRUE(IsWindow(dialog));
        DialogDriver::SetText(dialog, IDC_EMAIL, accepted);
        DialogDriver::Click(dialog, IDOK);
    });
    CSetupDlg dialog;
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(accepted, dialog.email);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Please enter no more than 80 characters.", boxes.Boxes()[0].text);
    EXPECT_EQ("Parlacard", boxes.Boxes()[0].caption);
}

TEST_F(UserDetailsDialogs, OptionsRefusesAnAddressOverFiftyUntilShortened)
{
    GetSettings().loaded = 1;
    GetSettings().UserName = "Ann";
    GetSettings().UserEmail = std::string(60, 'a') + "@example.org";
    driver.On(IDD_OPTIONS, [](HWND dialog) {
        EXPECT_EQ("Ann", DialogDriver::GetText(dialog, IDC_NAME));
        DialogDriver::Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));
        DialogDriver::SetText(dialog, IDC_EMAIL, "ann@example.org");
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_TRUE(RunOptions(nullptr));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Please enter no more than 50 characters.", boxes.Boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.Boxes()[0].flags & MB_ICONMASK);
    EXPECT_EQ("ann@example.org", GetSettings().UserEmail);
    EXPECT_EQ("ann@example.org", registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserEmail"));
}

TEST_F(UserDetailsDialogs, OptionsCancelChangesNothingAndLoadsSettingsFirstWhenNeeded)
{
    registry.SetString(HKEY_LOCAL_MACHINE, "General", "UserName", "Stored Name");
    driver.On(IDD_OPTIONS, [](HWND dialog) {
        EXPECT_EQ("Stored Name", DialogDriver::GetText(dialog, IDC_NAME));
        Fill(dialog, "Other", "other@example.org");
        DialogDriver::Click(dialog, IDCANCEL);
    });
    EXPECT_TRUE(RunOptions(nullptr));
    EXPECT_EQ("Stored Name", GetSettings().UserName);
    EXPECT_FALSE(registry.GetString(HKEY_LOCAL_MACHINE, "General", "UserEmail"));
}
