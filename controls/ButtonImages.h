#pragma once
#include <windows.h>
#include <commctrl.h>

// The images of a bitmap button: 0 normal, 1 grey, 2 disabled (embossed), with the palette
// of a bitmap of 256 colours or fewer. Images deeper than 8 bits per pixel get no grey
// copy: their slot 1 holds the normal image again, so every state still has its index.
class ButtonImages {
public:
    enum Index { Normal = 0, Grey = 1, Disabled = 2 };

    ButtonImages() = default;
    ~ButtonImages() { Clear(); }
    ButtonImages(const ButtonImages&) = delete;
    ButtonImages& operator=(const ButtonImages&) = delete;

    // From a bitmap resource; pixels of the mask colour are transparent unless it is
    // CLR_INVALID. False (and no images) when the resource is missing or malformed.
    bool LoadBitmap(HINSTANCE module, UINT id, COLORREF mask);
    // From an icon resource; 0 for width or height means the system's icon size.
    bool LoadIcon(HINSTANCE module, UINT id, int width, int height);
    void Clear();

    bool Empty() const { return Count() == 0; }
    int Count() const;
    SIZE ImageSize() const;
    HPALETTE Palette() const { return palette_; }
    // Draws the image (index 0 where there is no such image) clipped to the rectangle.
    void Draw(HDC dc, int index, const RECT& rect) const;

private:
    bool AddDisabledImage(bool masked);

    HIMAGELIST list_ = nullptr;
    HPALETTE palette_ = nullptr;
};

// Turns a colour table of a bitmap of 8 bits per pixel or fewer into four grey levels by
// luminance, leaving entries of the kept colour alone. Entries are 4 bytes (quad) or 3
// bytes (triple), blue first. False for deeper bitmaps.
bool MakeGreyscalePalette(BYTE* table, int entries, int entrySize, int bitsPerPixel, COLORREF kept);
