#include "app/MainFrame.h"

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return false;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    cs.cx = screenWidth / 2 > MinTrackWidth ? screenWidth / 2 : MinTrackWidth;
    cs.cy = screenHeight / 2 > MinTrackHeight ? screenHeight / 2 : MinTrackHeight;
    cs.x = (screenWidth - cs.cx) / 2;
    cs.y = (screenHeight - cs.cy) / 2;
    return true;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = MinTrackWidth;
    info->ptMinTrackSize.y = MinTrackHeight;
}
