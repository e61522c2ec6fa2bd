#include "controls/DialogUnits.h"

namespace {
// The class atom of the system's dialog class.
const WORD DialogClassAtom = 0x8002;
const char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Average character width and the character height of the window's font.
bool MeasureBaseUnits(HWND window, LONG& horizontal, LONG& vertical)
{
    HDC dc = ::GetDC(window);
    if (!dc)
        return false;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    SIZE extent = {};
    const bool measured = ::GetTextExtentPoint32A(dc, Alphabet, sizeof(Alphabet) - 1, &extent) != FALSE;
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    if (!measured)
        return false;
    horizontal = static_cast<LONG>((static_cast<unsigned>(extent.cx) / 26 + 1) / 2);
    vertical = extent.cy;
    return true;
}
}

void DialogUnitsToPixels(HWND window, RECT& rect)
{
    if (::GetClassLongA(window, GCW_ATOM) == DialogClassAtom) {
        ::MapDialogRect(window, &rect);
        return;
    }
    LONG horizontal = 0;
    LONG vertical = 0;
    if (!MeasureBaseUnits(window, horizontal, vertical))
        return;
    rect.left = rect.left * horizontal / 4;
    rect.right = rect.right * horizontal / 4;
    rect.top = rect.top * vertical / 8;
    rect.bottom = rect.bottom * vertical / 8;
}
