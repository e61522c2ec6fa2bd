#pragma once
#include "framework/Wnd.h"

class CFrameWnd;

// A bar along an edge of a frame (the toolbar at the top, the status bar at the bottom).
// The frame places its bars first and gives the view what is left.
class CControlBar : public CWnd {
public:
    // Takes its strip off the given client rectangle and moves itself there.
    virtual void PlaceIn(RECT& remaining) = 0;
    // Brings its items up to date at idle time (enabled buttons, indicators).
    virtual void OnUpdateCmdUI(CFrameWnd* target) = 0;
};
