#include "framework/ScreenDpi.h"

namespace {
const int DesignDpi = 96;
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return DesignDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : DesignDpi;
}

int ScaleForDpi(int pixels, int dpi)
{
    return ::MulDiv(pixels, dpi, DesignDpi);
}

HBITMAP ScaleBitmapForDpi(HBITMAP original, int dpi)
{
    if (!original || dpi == DesignDpi)
        return original;
    BITMAP size{};
    if (!::GetObjectA(original, sizeof(size), &size)) {
        ::DeleteObject(original);
        return nullptr;
    }
    const int width = ScaleForDpi(size.bmWidth, dpi);
    const int height = ScaleForDpi(size.bmHeight, dpi);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP scaled = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC from = ::CreateCompatibleDC(nullptr);
    HDC to = ::CreateCompatibleDC(nullptr);
    bool drawn = false;
    if (scaled && from && to) {
        const HGDIOBJ oldFrom = ::SelectObject(from, original);
        const HGDIOBJ oldTo = ::SelectObject(to, scaled);
        ::SetStretchBltMode(to, COLORONCOLOR);
        drawn = ::StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY) != FALSE;
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
    }
    if (from)
        ::DeleteDC(from);
    if (to)
        ::DeleteDC(to);
    ::DeleteObject(original);
    if (!drawn && scaled) {
        ::DeleteObject(scaled);
        return nullptr;
    }
    return scaled;
}

HBITMAP LoadBitmapForDpi(HINSTANCE module, UINT id, int dpi)
{
    return ScaleBitmapForDpi(static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                                                                0, LR_CREATEDIBSECTION)),
                             dpi);
}
