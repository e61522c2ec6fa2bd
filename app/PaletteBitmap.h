#pragma once
#include "framework/Wnd.h"

// A picture control that shows a bitmap resource with a palette of its own, so that it
// keeps its colours on a 256-colour display: a halftone palette for deeper bitmaps, the
// bitmap's own colour table otherwise.
class PaletteBitmap : public CWnd {
public:
    ~PaletteBitmap() override;

    bool LoadBitmapResource(UINT id);
    HPALETTE GetPalette() const { return palette_; }
    // Selects the palette into the window's context as a foreground palette and realises it.
    void RealizeIn(HWND window) const;

protected:
    void OnPaint();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    HBITMAP bitmap_ = nullptr;
    HPALETTE palette_ = nullptr;
    void Free();
};
