#include "controls/ButtonImages.h"
#include "framework/ScreenDpi.h"
#include <cstring>
#include <vector>

namespace {
// Where the parts of a packed device-independent bitmap lie.
struct DibLayout {
    LONG width = 0;
    LONG height = 0;
    int bitsPerPixel = 0;
    size_t tableOffset = 0;
    int tableEntries = 0;
    int entrySize = 0;
    size_t pixelOffset = 0;
    DWORD compression = BI_RGB;
};

// Reads the header and finds the colour table; false when they do not fit the data.
bool ParseDib(const BYTE* data, size_t size, DibLayout& dib)
{
    DWORD headerSize = 0;
    if (size < sizeof(headerSize))
        return false;
    std::memcpy(&headerSize, data, sizeof(headerSize));
    size_t masks = 0;
    if (headerSize == sizeof(BITMAPCOREHEADER) && size >= headerSize) {
        BITMAPCOREHEADER core;
        std::memcpy(&core, data, sizeof(core));
        dib.width = core.bcWidth;
        dib.height = core.bcHeight;
        dib.bitsPerPixel = core.bcBitCount;
        dib.entrySize = sizeof(RGBTRIPLE);
        dib.tableEntries = dib.bitsPerPixel <= 8 ? 1 << dib.bitsPerPixel : 0;
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= size) {
        BITMAPINFOHEADER info;
        std::memcpy(&info, data, sizeof(info));
        dib.width = info.biWidth;
        dib.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
        dib.bitsPerPixel = info.biBitCount;
        dib.compression = info.biCompression;
        dib.entrySize = sizeof(RGBQUAD);
        if (dib.bitsPerPixel > 8)
            dib.tableEntries = info.biClrUsed <= 256 ? static_cast<int>(info.biClrUsed) : -1;
        else if (info.biClrUsed == 0 || info.biClrUsed > (1u << dib.bitsPerPixel))
            dib.tableEntries = 1 << dib.bitsPerPixel;
        else
            dib.tableEntries = static_cast<int>(info.biClrUsed);
        if (headerSize == sizeof(BITMAPINFOHEADER) && info.biCompression == BI_BITFIELDS)
            masks = 3 * sizeof(DWORD);
    } else {
        return false;
    }
    switch (dib.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }
    if (dib.width <= 0 || dib.height <= 0 || dib.width > 0x4000 || dib.height > 0x4000 || dib.tableEntries < 0)
        return false;
    dib.tableOffset = headerSize + masks;
    dib.pixelOffset = dib.tableOffset + static_cast<size_t>(dib.tableEntries) * dib.entrySize;
    return dib.pixelOffset <= size;
}

// Uncompressed pixels must all be there; compressed ones are checked by the system.
bool HasAllPixels(const DibLayout& dib, size_t size)
{
    if (dib.compression != BI_RGB && dib.compression != BI_BITFIELDS)
        return true;
    const size_t stride = ((static_cast<size_t>(dib.width) * dib.bitsPerPixel + 31) / 32) * 4;
    return dib.pixelOffset + stride * static_cast<size_t>(dib.height) <= size;
}

HPALETTE PaletteOf(const BYTE* data, const DibLayout& dib)
{
    if (dib.bitsPerPixel > 8 || dib.tableEntries == 0)
        return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + dib.tableEntries * sizeof(PALETTEENTRY));
    LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(dib.tableEntries);
    for (int i = 0; i < dib.tableEntries; ++i) {
        const BYTE* entry = data + dib.tableOffset + i * dib.entrySize;
        palette->palPalEntry[i] = { entry[2], entry[1], entry[0], 0 };
    }
    return ::CreatePalette(palette);
}

// A device-dependent copy of the packed bitmap for the screen, with the palette realised.
HBITMAP ScreenBitmap(const BYTE* data, const DibLayout& dib, HPALETTE palette)
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return nullptr;
    HPALETTE previous = palette ? ::SelectPalette(screen, palette, FALSE) : nullptr;
    if (palette)
        ::RealizePalette(screen);
    HBITMAP bitmap = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(data), CBM_INIT,
                                      data + dib.pixelOffset, reinterpret_cast<const BITMAPINFO*>(data),
                                      DIB_RGB_COLORS);
    if (previous)
        ::SelectPalette(screen, previous, FALSE);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

bool AddBitmap(HIMAGELIST list, HBITMAP bitmap, COLORREF mask)
{
    if (!bitmap)
        return false;
    const int index = mask == CLR_INVALID ? ImageList_Add(list, bitmap, nullptr) : ImageList_AddMasked(list, bitmap, mask);
    ::DeleteObject(bitmap);
    return index >= 0;
}

// The icon's own image resource at this size, with its colour table greyed; nullptr when
// it has none or is deeper than 8 bits per pixel.
HICON GreyIcon(HINSTANCE module, UINT id, int width, int height)
{
    HRSRC group = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    HGLOBAL groupData = group ? ::LoadResource(module, group) : nullptr;
    BYTE* directory = groupData ? static_cast<BYTE*>(::LockResource(groupData)) : nullptr;
    if (!directory)
        return nullptr;
    const int imageId = ::LookupIconIdFromDirectoryEx(directory, TRUE, width, height, LR_DEFAULTCOLOR);
    HRSRC image = imageId ? ::FindResourceA(module, MAKEINTRESOURCEA(imageId), RT_ICON) : nullptr;
    HGLOBAL imageData = image ? ::LoadResource(module, image) : nullptr;
    const BYTE* bytes = imageData ? static_cast<const BYTE*>(::LockResource(imageData)) : nullptr;
    if (!bytes)
        return nullptr;
    std::vector<BYTE> copy(bytes, bytes + ::SizeofResource(module, image));
    DibLayout dib;
    if (!ParseDib(copy.data(), copy.size(), dib) ||
        !MakeGreyscalePalette(copy.data() + dib.tableOffset, dib.tableEntries, dib.entrySize, dib.bitsPerPixel,
                              CLR_INVALID))
        return nullptr;
    return ::CreateIconFromResourceEx(copy.data(), static_cast<DWORD>(copy.size()), TRUE, 0x00030000, width, height,
                                      LR_DEFAULTCOLOR);
}
}

bool MakeGreyscalePalette(BYTE* table, int entries, int entrySize, int bitsPerPixel, COLORREF kept)
{
    if (bitsPerPixel > 8)
        return false;
    for (int i = 0; i < entries; ++i) {
        BYTE* entry = table + i * entrySize;
        const BYTE blue = entry[0];
        const BYTE green = entry[1];
        const BYTE red = entry[2];
        if (RGB(red, green, blue) == kept)
            continue;
        const int luminance = (77 * red + 153 * green + 25 * blue) / 255;
        const BYTE grey = luminance < 64 ? 0 : luminance < 160 ? 128 : luminance < 224 ? 192 : 255;
        entry[0] = entry[1] = entry[2] = grey;
    }
    return true;
}

void ButtonImages::Clear()
{
    if (list_)
        ImageList_Destroy(list_);
    if (palette_)
        ::DeleteObject(palette_);
    list_ = nullptr;
    palette_ = nullptr;
}

int ButtonImages::Count() const
{
    return list_ ? ImageList_GetImageCount(list_) : 0;
}

SIZE ButtonImages::ImageSize() const
{
    int width = 0;
    int height = 0;
    if (list_)
        ImageList_GetIconSize(list_, &width, &height);
    return { width, height };
}

bool ButtonImages::LoadBitmap(HINSTANCE module, UINT id, COLORREF mask)
{
    Clear();
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (!data)
        return false;
    const size_t size = ::SizeofResource(module, resource);
    DibLayout dib;
    if (!ParseDib(data, size, dib) || !HasAllPixels(dib, size))
        return false;

    palette_ = PaletteOf(data, dib);
    std::vector<BYTE> grey(data, data + size);
    const bool greyed = MakeGreyscalePalette(grey.data() + dib.tableOffset, dib.tableEntries, dib.entrySize,
                                             dib.bitsPerPixel, mask);
    // Pictures are drawn for 96 DPI and shown at the screen's scale.
    const int dpi = ScreenDpi();
    list_ = ImageList_Create(ScaleForDpi(dib.width, dpi), ScaleForDpi(dib.height, dpi),
                             ILC_COLORDDB | (mask == CLR_INVALID ? 0 : ILC_MASK), 3, 0);
    if (!list_ || !AddBitmap(list_, ScaleBitmapForDpi(ScreenBitmap(data, dib, palette_), dpi), mask) ||
        !AddBitmap(list_, ScaleBitmapForDpi(ScreenBitmap(greyed ? grey.data() : data, dib, palette_), dpi), mask) ||
        !AddDisabledImage(mask != CLR_INVALID)) {
        Clear();
        return false;
    }
    return true;
}

bool ButtonImages::LoadIcon(HINSTANCE module, UINT id, int width, int height)
{
    Clear();
    if (width == 0)
        width = ::GetSystemMetrics(SM_CXICON);
    if (height == 0)
        height = ::GetSystemMetrics(SM_CYICON);
    HICON icon = static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (!icon)
        return false;
    HICON grey = GreyIcon(module, id, width, height);
    list_ = ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 3, 0);
    const bool loaded = list_ && ImageList_AddIcon(list_, icon) >= 0 && ImageList_AddIcon(list_, grey ? grey : icon) >= 0 &&
                        AddDisabledImage(true);
    if (grey)
        ::DestroyIcon(grey);
    ::DestroyIcon(icon);
    if (!loaded)
        Clear();
    return loaded;
}

// The normal image as the system draws a disabled one, on the button face.
bool ButtonImages::AddDisabledImage(bool masked)
{
    const SIZE size = ImageSize();
    HICON icon = ImageList_GetIcon(list_, Normal, ILD_NORMAL);
    HDC screen = ::GetDC(nullptr);
    HDC dc = screen ? ::CreateCompatibleDC(screen) : nullptr;
    HBITMAP bitmap = screen ? ::CreateCompatibleBitmap(screen, size.cx, size.cy) : nullptr;
    bool drawn = false;
    if (icon && dc && bitmap) {
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        const RECT all = { 0, 0, size.cx, size.cy };
        ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        drawn = ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, size.cx, size.cy,
                             DST_ICON | DSS_DISABLED) != FALSE;
        ::SelectObject(dc, previous);
        if (drawn) {
            drawn = AddBitmap(list_, bitmap, masked ? face : CLR_INVALID);
            bitmap = nullptr;
        }
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    if (dc)
        ::DeleteDC(dc);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    if (icon)
        ::DestroyIcon(icon);
    return drawn;
}

void ButtonImages::Draw(HDC dc, int index, const RECT& rect) const
{
    if (!list_)
        return;
    if (index >= Count())
        index = Normal;
    ImageList_DrawEx(list_, index, dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, CLR_NONE,
                     CLR_NONE, ILD_TRANSPARENT);
}
