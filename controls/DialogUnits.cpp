#include "controls/DialogUnits.h"

namespace {
// The class atom of the system's dialog class.
const WORD DialogClassAtom = 0x8002;
const char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
}

DialogUnits::DialogUnits(HWND window) : window_(window)
{
    if (::GetClassLongA(window, GCW_ATOM) == DialogClassAtom) {
        dialog_ = true;
        return;
    }
    HDC dc = ::GetDC(window);
    if (!dc)
        return;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
    SIZE extent = {};
    measured_ = ::GetTextExtentPoint32A(dc, Alphabet, sizeof(Alphabet) - 1, &extent) != FALSE;
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    // The average width of a character, rounded; the height of a line.
    horizontal_ = static_cast<LONG>((static_cast<unsigned>(extent.cx) / 26 + 1) / 2);
    vertical_ = extent.cy;
}

void DialogUnits::DialogUnitsToPixels(RECT& rect) const
{
    if (dialog_) {
        ::MapDialogRect(window_, &rect);
        return;
    }
    if (!measured_)
        return;
    rect.left = rect.left * horizontal_ / 4;
    rect.right = rect.right * horizontal_ / 4;
    rect.top = rect.top * vertical_ / 8;
    rect.bottom = rect.bottom * vertical_ / 8;
}
