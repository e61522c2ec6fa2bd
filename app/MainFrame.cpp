#include "app/MainFrame.h"
#include "controls/BrowserLaunch.h"
#include "framework/ScreenDpi.h"
#include "framework/View.h"
#include "greeting/Vocabulary.h"
#include "res/resource.h"
#include "settings/SiteInfo.h"
#include "update/WebUpdateDialog.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_GETMINMAXINFO()
    ON_UPDATE_COMMAND_UI(ID_TOOLS_SENDNOW, OnUpdateAlwaysEnabled)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_PLAYGREETING, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_HELP_OTHERPRODUCTS, OnOtherProducts)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ACTION_ADD, ID_ACTION_EDIT, OnUpdateFollowViewButton)
    ON_UPDATE_COMMAND_UI(ID_ACTION_PLAYFROM, OnUpdateFollowViewButton)
    ON_COMMAND(ID_HELP_DOWNLOADUPDATE, OnDownloadUpdate)
    ON_COMMAND(ID_HELP_ONLINEHELP, OnOnlineHelp)
    ON_COMMAND(ID_HELP_SENDFEEDBACK, OnSendFeedback)
END_MESSAGE_MAP()

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return false;
    cs.cx = static_cast<int>(ScreenWidth * 0.5);
    cs.cy = static_cast<int>(ScreenHeight * 0.5);
    cs.x = (ScreenWidth - cs.cx) / 2;
    cs.y = (ScreenHeight - cs.cy) / 2;
    // The window never opens smaller than its minimum; on a small screen (or a small one
    // at a large scale) that would run past the right or bottom edge, so it moves in.
    const int dpi = ScreenDpi();
    cs.x = std::max(0, std::min(cs.x, ScreenWidth - ScaleForDpi(MinTrackWidth, dpi)));
    cs.y = std::max(0, std::min(cs.y, ScreenHeight - ScaleForDpi(MinTrackHeight, dpi)));
    return true;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    if (!toolBar_.Create(this, AFX_IDW_TOOLBAR) || !toolBar_.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!statusBar_.Create(this, AFX_IDW_STATUS_BAR) ||
        !statusBar_.SetIndicators({ ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL }))
        return -1;
    AddControlBar(&toolBar_);
    AddControlBar(&statusBar_);
    SetMessageText(0);
    RecalcLayout();
    return 0;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    Default();
    // The minimum holds the form at 96 DPI; the form grows with the screen's scale.
    const int dpi = ScreenDpi();
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, ScaleForDpi(MinTrackWidth, dpi));
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, ScaleForDpi(MinTrackHeight, dpi));
}

void CMainFrame::OnUpdateAlwaysEnabled(CCmdUI* ui)
{
    ui->Enable(true);
}

void CMainFrame::OnUpdateFollowViewButton(CCmdUI* ui)
{
    CView* view = GetActiveView();
    HWND button = view ? view->GetDlgItem(static_cast<int>(ui->m_nID)) : nullptr;
    ui->Enable(button && ::IsWindowEnabled(button));
}

void CMainFrame::OnDownloadUpdate()
{
    WebUpdateDialog dialog;
    dialog.RunWebUpdate();
}

void CMainFrame::OnOnlineHelp()
{
    OpenWebPage(ReadSiteAddress(OnlineHelpPage));
}

void CMainFrame::OnSendFeedback()
{
    OpenWebPage(ReadSiteAddress(FeedbackPage));
}

void CMainFrame::OnOtherProducts()
{
    OpenWebPage(ReadSiteAddress(OtherProductsPage));
}
