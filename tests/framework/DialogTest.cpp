#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/MessageBoxAnswerer.h"
#include <gtest/gtest.h>

namespace {

// The Setup template, exchanged through the framework's generic routines.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_SETUP) {}
    std::string name;
    std::string gender;
    int maxName = 10;
    int initialisations = 0;

protected:
    bool OnInitDialog() override
    {
        ++initialisations;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_NAME, name);
        DDV_MaxChars(dx, name, maxName);
        DDX_CBStringExact(dx, IDC_GENDER, gender);
    }
};

// A button subclassed onto an object of ours: it counts clicks and leaves the rest to
// the button's own procedure.
class CountingButton : public CWnd {
public:
    int clicks = 0;
    LRESULT OnClick(WPARAM, LPARAM)
    {
        ++clicks;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingButton, CWnd)
    ON_MESSAGE(BM_CLICK, OnClick)
END_MESSAGE_MAP()

class SubclassingDialog : public CDialog {
public:
    SubclassingDialog() : CDialog(IDD_OPTIONS) {}
    CountingButton cancel;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDCANCEL, cancel); }
};

class Dialogs : public ::testing::Test {
protected:
    DialogDriver driver;
    MessageBoxAnswerer boxes;
};

} // namespace

TEST_F(Dialogs, ListsGetTheirInitialEntriesAndExactStringsSelectThem)
{
    ExchangeDialog dialog;
    dialog.gender = "female";  // the match ignores case, the value read back is the entry's
    driver.On(IDD_SETUP, [](HWND hwnd) {
        EXPECT_EQ(2, SendDlgItemMessageA(hwnd, IDC_GENDER, CB_GETCOUNT, 0, 0));
        EXPECT_EQ("Female", DialogDriver::GetText(hwnd, IDC_GENDER));
        DialogDriver::SetText(hwnd, IDC_NAME, "Ann");
        DialogDriver::Command(hwnd, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.initialisations);
    EXPECT_EQ("Ann", dialog.name);
    EXPECT_EQ("Female", dialog.gender);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST_F(Dialogs, AnUnknownStringSelectsNothingInADropDownList)
{
    ExchangeDialog dialog;
    dialog.gender = "Other";
    driver.On(IDD_SETUP, [](HWND hwnd) {
        EXPECT_EQ(CB_ERR, SendDlgItemMessageA(hwnd, IDC_GENDER, CB_GETCURSEL, 0, 0));
        DialogDriver::Command(hwnd, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("", dialog.gender);
}

TEST_F(Dialogs, TooLongTextIsRefusedWithTheLimitAndTheEditGetsTheFocus)
{
    ExchangeDialog dialog;
    dialog.name = "Twelve chars";
    driver.On(IDD_SETUP, [](HWND hwnd) {
        // Typing stops at the limit, text set by the program does not.
        EXPECT_EQ(10, SendDlgItemMessageA(hwnd, IDC_NAME, EM_GETLIMITTEXT, 0, 0));
        DialogDriver::Command(hwnd, IDOK);
        ASSERT_TRUE(IsWindow(hwnd));
        EXPECT_EQ(GetDlgItem(hwnd, IDC_NAME), GetFocus());
        DWORD start = 1, end = 0;
        SendDlgItemMessageA(hwnd, IDC_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(12u, end);
        DialogDriver::SetText(hwnd, IDC_NAME, "Ten chars!");
        DialogDriver::Command(hwnd, IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("Ten chars!", dialog.name);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Please enter no more than 10 characters.", boxes.Boxes()[0].text);
}

TEST_F(Dialogs, CancelLeavesTheMembersAsTheyWere)
{
    ExchangeDialog dialog;
    dialog.name = "Before";
    driver.On(IDD_SETUP, [](HWND hwnd) {
        DialogDriver::SetText(hwnd, IDC_NAME, "After");
        DialogDriver::Click(hwnd, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ("Before", dialog.name);
}

TEST_F(Dialogs, ControlsBoundByExchangeReceiveTheirMessagesFirst)
{
    SubclassingDialog dialog;
    driver.On(IDD_OPTIONS, [&](HWND hwnd) {
        EXPECT_EQ(&dialog.cancel, CWnd::FromHandlePermanent(GetDlgItem(hwnd, IDCANCEL)));
        EXPECT_EQ(&dialog, CDialog::FromHandle(hwnd));
        DialogDriver::Click(hwnd, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.cancel.clicks);
    EXPECT_EQ(nullptr, dialog.cancel.m_hWnd);
}

// A dialog opened from a modal dialog belongs to that one, not to the main window: the
// main window must stay disabled until the outer dialog ends, and the outer one gets the
// focus back.
TEST_F(Dialogs, ADialogOpenedFromAModalDialogIsOwnedByIt)
{
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, "STATIC", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{ 0, 0, 300, 200 }, nullptr, 0));
    app.m_pMainWnd = &main;
    HWND outerWindow = nullptr;
    HWND innerOwner = nullptr;
    bool mainEnabledAfterInner = true;
    driver.On(IDD_OPTIONS, [&](HWND outer) {
        outerWindow = outer;
        ExchangeDialog inner;
        driver.On(IDD_SETUP, [&](HWND dialog) {
            innerOwner = GetWindow(dialog, GW_OWNER);
            DialogDriver::Command(dialog, IDCANCEL);
        });
        inner.DoModal();
        mainEnabledAfterInner = IsWindowEnabled(main.m_hWnd) != FALSE;
        DialogDriver::Command(outer, IDCANCEL);
    });
    SubclassingDialog outer;
    EXPECT_EQ(IDCANCEL, outer.DoModal());
    EXPECT_EQ(outerWindow, innerOwner);
    EXPECT_FALSE(mainEnabledAfterInner);
    EXPECT_TRUE(IsWindowEnabled(main.m_hWnd));
    app.m_pMainWnd = nullptr;
}
