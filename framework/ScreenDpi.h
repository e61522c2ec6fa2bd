#pragma once
#include <windows.h>

// Pictures and lengths in pixels are made for 96 dots per inch; on a screen at another
// scale they are drawn that much larger. A program that declares itself DPI aware sees
// the screen's real scale here; one that does not sees 96 and the system stretches it.
int ScreenDpi();

// A length in pixels at 96 DPI, at the scale.
int ScaleForDpi(int pixels, int dpi);

// The bitmap resource at the scale, each pixel repeated without blending so that a mask
// colour stays exact; null when it cannot be loaded. The caller deletes it.
HBITMAP LoadBitmapForDpi(HINSTANCE module, UINT id, int dpi);
