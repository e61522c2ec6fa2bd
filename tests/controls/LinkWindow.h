#pragma once
#include "framework/Wnd.h"
#include <string>

// A shown top-level window of the framework holding static controls as a dialog holds
// them, to attach links to. It counts the click notifications of control ClickedId.
class LinkWindow : public CWnd {
public:
    static const int ClickedId = 200;

    LinkWindow();

    // A static control with the dialog font (or none) at rect, in client coordinates.
    HWND AddStatic(const std::string& text, DWORD style, const RECT& rect, int id = 0, bool withFont = true);

    // The text colour the control is painted in, asked of this window as the control asks.
    COLORREF TextColour(HWND control);
    // The control's window and client rectangles, in this window's client coordinates.
    RECT Bounds(HWND control) const;
    static RECT ClientBounds(HWND control);
    // The text of the control's tool tip (tool 1 unless told).
    static std::string ToolTipText(HWND control, UINT toolId = 1);
    static bool HasToolTip(HWND control, UINT toolId = 1);
    static LOGFONTA FontOf(HWND control);

    int clicks = 0;

private:
    void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};
