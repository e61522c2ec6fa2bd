#pragma once
#include "framework/FrameWnd.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"

// The main window: menu, toolbar and status bar; half the screen, centred, never smaller
// than its minimum; the Edit menu follows the view's buttons; the service's web pages and
// the program update.
class CMainFrame : public CFrameWnd {
public:
    // At 96 DPI; larger on a screen at a larger scale.
    static const int MinTrackWidth = 510;
    static const int MinTrackHeight = 428;

    bool PreCreateWindow(CREATESTRUCTA& cs) override;

    CToolBar& GetToolBar() { return toolBar_; }
    CStatusBar& GetStatusBar() { return statusBar_; }

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnUpdateAlwaysEnabled(CCmdUI* ui);
    void OnUpdateFollowViewButton(CCmdUI* ui);
    void OnOnlineHelp();
    void OnSendFeedback();
    void OnOtherProducts();
    void OnDownloadUpdate();
    DECLARE_MESSAGE_MAP()

private:
    CStatusBar statusBar_;
    CToolBar toolBar_;
};
