#pragma once
#include <windows.h>

// Converts a rectangle in dialog units to pixels with the window's font: by the system for
// a dialog, by measuring the alphabet in the window's font otherwise. Negative values
// truncate toward zero as positive ones do. A font that cannot be measured leaves the
// rectangle as it is.
void DialogUnitsToPixels(HWND window, RECT& rect);
