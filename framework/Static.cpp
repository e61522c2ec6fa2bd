#include "framework/Static.h"

bool CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC)
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    HBRUSH brush = CtlColor(reinterpret_cast<HDC>(wParam));
    if (!brush)
        return false;
    *result = reinterpret_cast<LRESULT>(brush);
    return true;
}
