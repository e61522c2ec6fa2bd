#pragma once
#include "framework/FrameWnd.h"

// The main window: half the screen, centred, never smaller than its minimum.
class CMainFrame : public CFrameWnd {
public:
    static const int MinTrackWidth = 510;
    static const int MinTrackHeight = 428;

    bool PreCreateWindow(CREATESTRUCTA& cs) override;

protected:
    void OnGetMinMaxInfo(MINMAXINFO* info);
    DECLARE_MESSAGE_MAP()
};
