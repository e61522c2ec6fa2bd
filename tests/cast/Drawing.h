#pragma once
#include "cast/ImageBank.h"
#include "cast/Raster.h"
#include "cast/SharedInks.h"

// A raster with the shared inks, to draw into and then read back pixel by pixel.
class Drawing {
public:
    explicit Drawing(int width = 128, int height = 128, double outlineWidth = 1.1);

    Raster& Canvas() { return raster_; }
    const InkPalette& Palette() const { return palette_; }

    // Resolves what is drawn so far; the queries below read the result.
    const Picture& Resolve();

    uint8_t At(int x, int y) const { return picture_.pixels[size_t(y) * picture_.width + x]; }
    // Pixels of a palette index, and the box and middle of where they are.
    int Count(uint8_t index) const;
    Box Where(uint8_t index) const;
    Point Middle(uint8_t index) const;

private:
    InkPalette palette_;
    Raster raster_;
    Picture picture_;
};
