#include "app/PaletteBitmap.h"
#include "framework/WinApp.h"
#include <vector>

BEGIN_MESSAGE_MAP(PaletteBitmap, CWnd)
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

PaletteBitmap::~PaletteBitmap()
{
    Free();
}

void PaletteBitmap::Free()
{
    if (bitmap_)
        ::DeleteObject(bitmap_);
    if (palette_)
        ::DeleteObject(palette_);
    bitmap_ = nullptr;
    palette_ = nullptr;
}

bool PaletteBitmap::LoadBitmapResource(UINT id)
{
    Free();
    bitmap_ = static_cast<HBITMAP>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
    if (!bitmap_)
        return false;
    DIBSECTION section{};
    ::GetObjectA(bitmap_, sizeof(section), &section);
    HDC screen = ::GetDC(nullptr);
    if (section.dsBmih.biBitCount > 8) {
        palette_ = ::CreateHalftonePalette(screen);
    } else {
        HDC memory = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(memory, bitmap_);
        RGBQUAD colours[256];
        const UINT count = ::GetDIBColorTable(memory, 0, 256, colours);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
        LOGPALETTE* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = 256;
        for (UINT i = 0; i < 256; ++i) {
            const RGBQUAD c = i < count ? colours[i] : RGBQUAD{ 0, 0, 0, 0 };
            logical->palPalEntry[i] = PALETTEENTRY{ c.rgbRed, c.rgbGreen, c.rgbBlue, 0 };
        }
        palette_ = ::CreatePalette(logical);
    }
    ::ReleaseDC(nullptr, screen);
    Invalidate();
    return true;
}

void PaletteBitmap::RealizeIn(HWND window) const
{
    if (!palette_)
        return;
    HDC dc = ::GetDC(window);
    HPALETTE old = ::SelectPalette(dc, palette_, FALSE);
    ::RealizePalette(dc);
    ::SelectPalette(dc, old, TRUE);
    ::ReleaseDC(window, dc);
    ::InvalidateRect(window, nullptr, TRUE);
}

void PaletteBitmap::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    if (bitmap_) {
        HPALETTE oldPalette = palette_ ? ::SelectPalette(dc, palette_, TRUE) : nullptr;
        ::RealizePalette(dc);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, bitmap_);
        BITMAP info{};
        ::GetObjectA(bitmap_, sizeof(info), &info);
        // The picture fills the control, whatever size the layout gives it.
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        if (oldPalette)
            ::SelectPalette(dc, oldPalette, TRUE);
    } else {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_3DFACE));
    }
    ::EndPaint(m_hWnd, &ps);
}

void PaletteBitmap::OnDestroy()
{
    Free();
    Default();
}
