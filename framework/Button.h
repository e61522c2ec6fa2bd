#pragma once
#include "framework/Wnd.h"

// A button control of a dialog. An owner-drawn button draws itself: the drawing request
// that the control sends its parent is handed back to DrawItem.
class CButton : public CWnd {
public:
    // The button's state bits (BST_PUSHED, BST_FOCUS, BST_CHECKED ...).
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

protected:
    // Paints an owner-drawn button into item->hDC; a plain button has nothing to draw.
    virtual void DrawItem(DRAWITEMSTRUCT* item) {}
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
