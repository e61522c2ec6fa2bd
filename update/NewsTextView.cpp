#include "update/NewsTextView.h"
#include <richedit.h>

namespace {

// The space between the border and the text, in dialog units.
const int MarginX = 4;
const int MarginY = 2;

} // namespace

void NewsTextView::PreSubclassWindow()
{
    RECT margin = { MarginX, MarginY, MarginX, MarginY };
    ::MapDialogRect(GetParent(), &margin);
    RECT text;
    GetClientRect(&text);
    ::InflateRect(&text, -margin.left, -margin.top);
    SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
}

LRESULT NewsTextView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    // The control makes its caret again on focus, clicks and keys; it goes at once.
    if (message != WM_DESTROY && message != WM_NCDESTROY && ::GetFocus() == m_hWnd)
        ::DestroyCaret();
    return result;
}
