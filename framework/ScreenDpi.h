#pragma once
#include <windows.h>

// Pictures and lengths in pixels are made for 96 dots per inch; on a screen at another
// scale they are drawn that much larger. A program that declares itself DPI aware sees
// the screen's real scale here; one that does not sees 96 and the system stretches it.
int ScreenDpi();

// A length in pixels at 96 DPI, at the scale.
int ScaleForDpi(int pixels, int dpi);

// The bitmap at the scale, each pixel repeated without blending so that a mask colour
// stays exact. Takes the bitmap over: returns it unchanged at 96 DPI, else a new one and
// deletes it; null when it cannot be drawn. The caller deletes the result.
HBITMAP ScaleBitmapForDpi(HBITMAP original, int dpi);

// The bitmap resource at the scale, as above; null when it cannot be loaded.
HBITMAP LoadBitmapForDpi(HINSTANCE module, UINT id, int dpi);
