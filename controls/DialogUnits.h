#pragma once
#include <windows.h>

// Converts rectangles in dialog units to pixels with a window's font: by the system for a
// dialog, by the average character width and the height of the window's font otherwise.
// The font is measured once, when the converter is made. Negative values truncate toward
// zero as positive ones do.
class DialogUnits {
public:
    explicit DialogUnits(HWND window);

    // A font that cannot be measured leaves the rectangle as it is.
    void DialogUnitsToPixels(RECT& rect) const;

private:
    HWND window_;
    bool dialog_ = false;
    bool measured_ = false;
    LONG horizontal_ = 0;
    LONG vertical_ = 0;
};
