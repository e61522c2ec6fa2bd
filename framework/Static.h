#pragma once
#include "framework/Wnd.h"

// A static control of a dialog. A derived control answers the colour request that the
// control sends its parent (CtlColor); the parent hands it back.
class CStatic : public CWnd {
protected:
    // Text colour and background brush for painting this control; nullptr leaves the
    // request to the parent.
    virtual HBRUSH CtlColor(HDC dc) { return nullptr; }
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
