#include "Drawing.h"
#include <algorithm>
#include <iterator>

namespace {

std::vector<CharacterColor> SharedInks()
{
    std::vector<CharacterColor> inks{ 0xFF00FF, 0x000000 };
    inks.insert(inks.end(), std::begin(kSharedInkColors), std::end(kSharedInkColors));
    return inks;
}

} // namespace

Drawing::Drawing(int width, int height, double outlineWidth)
    : palette_(SharedInks()), raster_(width, height, outlineWidth)
{
}

const Picture& Drawing::Resolve()
{
    picture_ = Picture{ raster_.Width(), raster_.Height(), raster_.Resolve(palette_) };
    return picture_;
}

int Drawing::Count(uint8_t index) const
{
    return int(std::count(picture_.pixels.begin(), picture_.pixels.end(), index));
}

Box Drawing::Where(uint8_t index) const
{
    Picture only = picture_;
    for (uint8_t& pixel : only.pixels)
        pixel = pixel == index ? 1 : 0;
    return only.Bounds();
}

Point Drawing::Middle(uint8_t index) const
{
    double x = 0, y = 0;
    int count = 0;
    for (int row = 0; row < picture_.height; ++row)
        for (int column = 0; column < picture_.width; ++column)
            if (At(column, row) == index) {
                x += column + 0.5;
                y += row + 0.5;
                ++count;
            }
    return count ? Point{ x / count, y / count } : Point{ -1, -1 };
}
