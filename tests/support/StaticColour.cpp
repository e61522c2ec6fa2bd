#include "support/StaticColour.h"
#include <gtest/gtest.h>

COLORREF LinkTextColour(HWND parent, HWND control)
{
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(nullptr, dc);
    const LRESULT brush =
        SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}
