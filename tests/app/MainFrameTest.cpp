#include "app/MainFrame.h"
#include "app/ParloView.h"
#include "framework/DocTemplate.h"
#include "framework/WinApp.h"
#include "greeting/ParloDoc.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/MessagePump.h"
#include "support/ProxySetting.h"
#include "support/TestRegistry.h"
#include "support/ApplicationShutdown.h"
#include <gtest/gtest.h>

namespace {

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScreenWidth = 1024;
        ScreenHeight = 768;
        app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CParloDoc), RUNTIME_CLASS(CMainFrame),
                                                  RUNTIME_CLASS(CParloView)));
        app.OnFileNew();
        frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        ASSERT_NE(nullptr, frame);
        frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override { ShutDownApplication(app); }

    TestRegistry registry;
    CWinApp app;
    CMainFrame* frame = nullptr;
};

} // namespace

TEST_F(MainFrame, OpensCentredAtHalfTheScreenAndKeepsItsMinimumSize)
{
    CMainFrame probe;
    CREATESTRUCTA cs{};
    ASSERT_TRUE(probe.PreCreateWindow(cs));
    EXPECT_EQ(256, cs.x);
    EXPECT_EQ(192, cs.y);
    EXPECT_EQ(512, cs.cx);
    EXPECT_EQ(384, cs.cy);

    // A screen less than twice the minimum: the grown window still opens on it.
    ScreenWidth = 640;
    ScreenHeight = 480;
    CREATESTRUCTA small{};
    ASSERT_TRUE(probe.PreCreateWindow(small));
    EXPECT_EQ(640 - 510, small.x);
    EXPECT_EQ(480 - 428, small.y);
    ScreenWidth = 1024;
    ScreenHeight = 768;

    MINMAXINFO info{};
    frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(510, info.ptMinTrackSize.x);
    EXPECT_EQ(428, info.ptMinTrackSize.y);
    // Dragging it smaller stops at the minimum.
    SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    RECT rect;
    frame->GetWindowRect(&rect);
    EXPECT_GE(rect.right - rect.left, 510);
    EXPECT_GE(rect.bottom - rect.top, 428);
}

TEST_F(MainFrame, ToolbarHoldsTheCommandsAndTipsComeFromTheStringTable)
{
    CToolBar& toolbar = frame->GetToolBar();
    std::vector<UINT> ids;
    for (int i = 0; i < toolbar.GetButtonCount(); ++i)
        ids.push_back(toolbar.GetItemID(i));
    EXPECT_EQ((std::vector<UINT>{ ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_TOOLS_PLAYGREETING, ID_TOOLS_SENDNOW,
                                  0, ID_TOOLS_OPTIONS, 0, ID_APP_ABOUT }),
              ids);

    NMTTDISPINFOA tip{};
    tip.hdr.hwndFrom = frame->m_hWnd;
    tip.hdr.idFrom = ID_TOOLS_SENDNOW;
    tip.hdr.code = TTN_GETDISPINFOA;
    frame->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_STREQ("Send Parlacard Now", tip.lpszText);
}

TEST_F(MainFrame, PlayAndSendAreAlwaysOnAndCommandsWithoutHandlerOff)
{
    app.OnIdle(0);
    CToolBar& toolbar = frame->GetToolBar();
    EXPECT_TRUE(toolbar.IsButtonEnabled(ID_TOOLS_PLAYGREETING));
    EXPECT_TRUE(toolbar.IsButtonEnabled(ID_TOOLS_SENDNOW));
    EXPECT_TRUE(toolbar.IsButtonEnabled(ID_FILE_SAVE));
    EXPECT_FALSE(toolbar.IsButtonEnabled(ID_APP_ABOUT));
}

TEST_F(MainFrame, StatusBarShowsPromptsAndTheIdleMessage)
{
    CStatusBar& status = frame->GetStatusBar();
    EXPECT_EQ("Ready", status.GetPaneText(0));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_ACTION_ADD, MF_STRING), reinterpret_cast<LPARAM>(GetMenu(frame->m_hWnd)));
    EXPECT_EQ("Add a new action", status.GetPaneText(0));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Ready", status.GetPaneText(0));
}

TEST_F(MainFrame, TheBarsCanBeHiddenFromTheViewMenuAndTheViewTakesTheRoom)
{
    CView* view = frame->GetActiveView();
    RECT before, after;
    view->GetWindowRect(&before);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    frame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->GetToolBar().IsWindowVisible());
    EXPECT_FALSE(frame->GetStatusBar().IsWindowVisible());
    view->GetWindowRect(&after);
    EXPECT_LT(after.top, before.top);
    EXPECT_GT(after.bottom, before.bottom);
    frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame->GetToolBar().IsWindowVisible());
}

// Without a connection the check fails at once, which is enough to see the command at work.
TEST_F(MainFrame, DownloadProgramUpdateIsOnAndRunsTheUpdateDialog)
{
    HMENU help = GetSubMenu(GetMenu(frame->m_hWnd), 4);
    ASSERT_NE(nullptr, help);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), MAKELPARAM(4, FALSE));
    EXPECT_EQ(0u, GetMenuState(help, ID_HELP_DOWNLOADUPDATE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));

    ProxySetting proxy(0);
    proxy.PointAtClosedPort();
    DialogDriver driver;
    std::string status;
    driver.On(IDD_WEB_UPDATE, [&](HWND dialog) {
        PumpUntil([&] { return DialogDriver::GetText(dialog, IDC_UPDATE_STATUS).find("Could not") == 0; }, 30000);
        status = DialogDriver::GetText(dialog, IDC_UPDATE_STATUS);
        DialogDriver::Command(dialog, IDOK);
    });
    frame->SendMessage(WM_COMMAND, ID_HELP_DOWNLOADUPDATE);
    EXPECT_EQ("Could not retrieve update information from the Internet.  Please check your Internet settings and try "
              "again later.",
              status);
}
