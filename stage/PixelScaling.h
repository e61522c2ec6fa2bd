#pragma once
#include <cstdint>

// Scales a picture of 32-bit pixels (top row first) to another size by repeating pixels:
// every target pixel takes the source pixel under its centre, so outlines stay sharp
// and transparent pixels stay fully transparent.
void ScalePixels(const uint32_t* from, int fromWidth, int fromHeight, uint32_t* to, int toWidth, int toHeight);
