#include "WindowSnapshot.h"
#include <gtest/gtest.h>
#include <algorithm>

WindowSnapshot::WindowSnapshot(HWND window, COLORREF fill)
{
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!bitmap || !dc) {
        ADD_FAILURE() << "no memory bitmap for a snapshot";
        if (dc)
            DeleteDC(dc);
        return;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_ERASEBKGND | PRF_CLIENT);
    GdiFlush();
    SelectObject(dc, previous);
    DeleteDC(dc);
    bits = static_cast<const DWORD*>(pixels);
}

WindowSnapshot::~WindowSnapshot()
{
    if (bitmap)
        DeleteObject(bitmap);
}

COLORREF WindowSnapshot::At(int x, int y) const
{
    if (!bits || x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    const DWORD pixel = bits[y * width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT WindowSnapshot::BoundsOf(const std::function<bool(COLORREF)>& match, const RECT* area) const
{
    const RECT all = { 0, 0, width, height };
    const RECT& within = area ? *area : all;
    RECT bounds = { width, height, -1, -1 };
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x) {
            if (!match(At(x, y)))
                continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    return bounds.right < 0 ? RECT{} : bounds;
}

RECT WindowSnapshot::BoundsOf(COLORREF colour, const RECT* area) const
{
    return BoundsOf([colour](COLORREF pixel) { return pixel == colour; }, area);
}

int WindowSnapshot::Count(const std::function<bool(COLORREF)>& match, const RECT* area) const
{
    const RECT all = { 0, 0, width, height };
    const RECT& within = area ? *area : all;
    int count = 0;
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x)
            count += match(At(x, y)) ? 1 : 0;
    }
    return count;
}
