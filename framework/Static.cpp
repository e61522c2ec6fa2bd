#include "framework/Static.h"
#include "framework/DataExchange.h"

namespace {
// One colour router per parent window, however many statics it holds.
const UINT_PTR ColourRouterId = 0x5374;
}

bool CStatic::SubclassWindow(HWND hwnd)
{
    if (!CWnd::SubclassWindow(hwnd))
        return false;
    // A static asks its parent for its colours; the parent passes the request back here.
    // Installing the router again on the same parent only renews it; should it fail, the
    // control simply keeps the parent's colours.
    if (HWND parent = ::GetParent(hwnd))
        ::SetWindowSubclass(parent, &CStatic::ReflectColourRequest, ColourRouterId, 0);
    PreSubclassWindow();
    return true;
}

bool CStatic::SubclassDlgItem(UINT id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

LRESULT CALLBACK CStatic::ReflectColourRequest(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR id, DWORD_PTR)
{
    if (message == WM_CTLCOLORSTATIC) {
        // Looked up by handle each time: a control object may be gone before its parent.
        CWnd* control = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam));
        if (CStatic* target = dynamic_cast<CStatic*>(control)) {
            if (HBRUSH brush = target->CtlColor(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(parent, &CStatic::ReflectColourRequest, id);
    }
    return ::DefSubclassProc(parent, message, wParam, lParam);
}

void DDX_Control(CDataExchange* dx, int id, CStatic& control)
{
    if (!control.m_hWnd)
        control.SubclassWindow(dx->PrepareCtrl(id));
}
