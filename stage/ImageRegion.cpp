#include "stage/ImageRegion.h"

#include <algorithm>

namespace {

struct Rect {
    int32_t left, top, right, bottom;
};

constexpr uint32_t kHeaderSize = 32;
constexpr uint32_t kRectangles = 1;  // RDH_RECTANGLES
constexpr uint32_t kRectSize = 16;

// The runs of visible pixels in one row, as [left, right) pairs.
std::vector<int32_t> VisibleRuns(const uint8_t* row, int width, uint8_t transparentIndex)
{
    std::vector<int32_t> runs;
    for (int x = 0; x < width;) {
        if (row[x] == transparentIndex) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < width && row[x] != transparentIndex)
            ++x;
        runs.push_back(start);
        runs.push_back(x);
    }
    return runs;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void PutRect(std::vector<uint8_t>& out, const Rect& rect)
{
    for (int32_t value : { rect.left, rect.top, rect.right, rect.bottom })
        PutU32(out, uint32_t(value));
}

} // namespace

std::vector<uint8_t> MakeImageRegion(const CharacterImage& image, uint8_t transparentIndex)
{
    std::vector<Rect> rects;
    size_t bandStart = 0;  // the first rectangle of the last band
    std::vector<int32_t> bandRuns;
    const size_t stride = image.Stride();
    for (int y = 0; image.present && y < image.height; ++y) {
        // Pixels keep their rows bottom-up.
        const uint8_t* row = image.pixels.data() + (image.height - 1 - y) * stride;
        std::vector<int32_t> runs = VisibleRuns(row, image.width, transparentIndex);
        if (!runs.empty() && runs == bandRuns) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].bottom = y + 1;
            continue;
        }
        bandStart = rects.size();
        for (size_t i = 0; i < runs.size(); i += 2)
            rects.push_back(Rect{ runs[i], y, runs[i + 1], y + 1 });
        bandRuns = std::move(runs);
    }

    Rect bound{ 0, 0, 0, 0 };
    if (!rects.empty()) {
        bound = rects.front();
        for (const Rect& rect : rects) {
            bound.left = std::min(bound.left, rect.left);
            bound.right = std::max(bound.right, rect.right);
            bound.bottom = std::max(bound.bottom, rect.bottom);
        }
    }
    std::vector<uint8_t> region;
    region.reserve(kHeaderSize + rects.size() * kRectSize);
    PutU32(region, kHeaderSize);
    PutU32(region, kRectangles);
    PutU32(region, uint32_t(rects.size()));
    PutU32(region, uint32_t(rects.size()) * kRectSize);
    PutRect(region, bound);
    for (const Rect& rect : rects)
        PutRect(region, rect);
    return region;
}
