#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/ParloApp.h"
#include "app/ParloView.h"
#include "controls/LinkColours.h"
#include "framework/DocTemplate.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "support/ApplicationShutdown.h"
#include "support/DialogDriver.h"
#include "support/RecordingBrowser.h"
#include "support/StaticColour.h"
#include "support/TestRegistry.h"
#include "support/WindowText.h"
#include <gtest/gtest.h>

namespace {

const COLORREF DarkBlue = RGB(0, 0, 128);
const COLORREF BrightBlue = RGB(0, 0, 255);

class AboutBox : public ::testing::Test {
protected:
    // The colours belong to the process: every test starts from and leaves the initial ones.
    void SetUp() override { GetLinkColours(initial); }
    void TearDown() override { SetLinkColours(initial); }

    static COLORREF Colour(HWND dialog, int controlId)
    {
        return LinkTextColour(dialog, GetDlgItem(dialog, controlId));
    }
    static void ClickLink(HWND dialog, int controlId)
    {
        HWND link = GetDlgItem(dialog, controlId);
        SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }

    LinkColours initial;
    TestRegistry registry;
    DialogDriver driver;
};

} // namespace

TEST_F(AboutBox, ShowsTheProductAndTwoDarkBlueLinksThatOpenTheirSites)
{
    RecordingBrowser browser;
    driver.On(IDD_ABOUTBOX, [&](HWND dialog) {
        EXPECT_EQ("Parlacard Maker", WindowText(dialog));
        EXPECT_EQ("Parlacard Maker 1.04", DialogDriver::GetText(dialog, IDC_ABOUT_TITLE));
        LOGFONTA title{};
        GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_ABOUT_TITLE, WM_GETFONT, 0, 0)),
                   sizeof(title), &title);
        EXPECT_EQ(FW_BOLD, title.lfWeight);
        EXPECT_EQ("Zentorix LLC", DialogDriver::GetText(dialog, IDC_MAKER_LINK));
        EXPECT_EQ("www.parlacard.example", DialogDriver::GetText(dialog, IDC_SITE_LINK));

        EXPECT_EQ(DarkBlue, Colour(dialog, IDC_MAKER_LINK));
        EXPECT_EQ(DarkBlue, Colour(dialog, IDC_SITE_LINK));
        HWND maker = GetDlgItem(dialog, IDC_MAKER_LINK);
        SendMessageA(maker, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(BrightBlue, Colour(dialog, IDC_MAKER_LINK));
        SendMessageA(maker, WM_MOUSEMOVE, 0, MAKELPARAM(2, 500));
        EXPECT_EQ(DarkBlue, Colour(dialog, IDC_MAKER_LINK));

        // A click opens the site and leaves the box open; the link shows the visit once
        // the focus has moved on.
        ClickLink(dialog, IDC_SITE_LINK);
        EXPECT_EQ((std::vector<std::string>{ "http://www.parlacard.example/" }), browser.WaitForAddresses(1));
        ClickLink(dialog, IDC_MAKER_LINK);
        EXPECT_EQ((std::vector<std::string>{ "http://www.parlacard.example/", "http://www.zentorix.example/" }),
                  browser.WaitForAddresses(2));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(initial.visited, Colour(dialog, IDC_SITE_LINK));
        SetFocus(GetDlgItem(dialog, IDOK));
        EXPECT_EQ(initial.visited, Colour(dialog, IDC_MAKER_LINK));
        DialogDriver::Click(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, CAboutDlg().DoModal());

    // Every link drawn later in the run, in any dialog, takes the About box's colours.
    LinkColours after;
    GetLinkColours(after);
    EXPECT_EQ(DarkBlue, after.normal);
    EXPECT_EQ(BrightBlue, after.hover);
    EXPECT_EQ(initial.active, after.active);
    EXPECT_EQ(initial.visited, after.visited);
}

TEST_F(AboutBox, TheLinksAreReachedWithTabAndOpenWithEnterOrSpace)
{
    RecordingBrowser browser;
    std::vector<int> focused;
    driver.On(IDD_ABOUTBOX, [&](HWND dialog) {
        const auto focus = [&] { focused.push_back(GetDlgCtrlID(GetFocus())); };
        focus();
        DialogDriver::PressKey(dialog, VK_TAB);
        focus();
        DialogDriver::PressKey(dialog, VK_RETURN);
        EXPECT_EQ((std::vector<std::string>{ "http://www.zentorix.example/" }), browser.WaitForAddresses(1));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter on a link opens it, not the default button";
        DialogDriver::PressKey(dialog, VK_TAB);
        focus();
        DialogDriver::PressKey(dialog, VK_SPACE);
        EXPECT_EQ((std::vector<std::string>{ "http://www.zentorix.example/", "http://www.parlacard.example/" }),
                  browser.WaitForAddresses(2));
        DialogDriver::PressKey(dialog, VK_TAB);
        focus();
        DialogDriver::PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(IDOK, CAboutDlg().DoModal());
    EXPECT_EQ((std::vector<int>{ IDOK, IDC_MAKER_LINK, IDC_SITE_LINK, IDOK }), focused);
}

TEST_F(AboutBox, TheAboutCommandIsOnInMenuAndToolbarAndOpensTheBox)
{
    ScreenWidth = 1024;
    ScreenHeight = 768;
    CParloApp app;
    app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CParloDoc), RUNTIME_CLASS(CMainFrame),
                                              RUNTIME_CLASS(CParloView)));
    app.OnFileNew();
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(nullptr, frame);
    frame->ShowWindow(SW_SHOW);
    app.OnIdle(0);
    EXPECT_TRUE(frame->GetToolBar().IsButtonEnabled(ID_APP_ABOUT));
    HMENU help = GetSubMenu(GetMenu(frame->m_hWnd), 4);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 4);
    EXPECT_EQ(0u, GetMenuState(help, ID_APP_ABOUT, MF_BYCOMMAND) & MF_GRAYED);

    driver.On(IDD_ABOUTBOX, [](HWND dialog) { DialogDriver::Click(dialog, IDOK); });
    frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ((std::vector<UINT>{ IDD_ABOUTBOX }), driver.Seen());
    ShutDownApplication(app);
}
