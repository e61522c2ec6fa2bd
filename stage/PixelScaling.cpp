#include "stage/PixelScaling.h"
#include <vector>

void ScalePixels(const uint32_t* from, int fromWidth, int fromHeight, uint32_t* to, int toWidth, int toHeight)
{
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0)
        return;
    std::vector<int> columns(static_cast<size_t>(toWidth));
    for (int x = 0; x < toWidth; ++x)
        columns[x] = static_cast<int>((2LL * x + 1) * fromWidth / (2LL * toWidth));
    for (int y = 0; y < toHeight; ++y) {
        const uint32_t* source = from + static_cast<size_t>((2LL * y + 1) * fromHeight / (2LL * toHeight)) * fromWidth;
        uint32_t* target = to + static_cast<size_t>(y) * toWidth;
        for (int x = 0; x < toWidth; ++x)
            target[x] = source[columns[x]];
    }
}
