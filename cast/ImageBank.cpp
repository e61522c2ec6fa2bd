#include "cast/ImageBank.h"
#include <algorithm>

namespace {

// Grows the box to take in the pixel at x, y.
void Include(Box& box, bool& any, int x, int y)
{
    if (!any) {
        box = Box{ x, y, x + 1, y + 1 };
        any = true;
        return;
    }
    box.left = std::min(box.left, x);
    box.top = std::min(box.top, y);
    box.right = std::max(box.right, x + 1);
    box.bottom = std::max(box.bottom, y + 1);
}

} // namespace

Box Picture::Bounds() const
{
    Box box;
    bool any = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[size_t(y) * width + x] != 0)
                Include(box, any, x, y);
    return box;
}

Box Picture::Differences(const Picture& other) const
{
    Box box;
    bool any = false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = size_t(y) * width + x;
            if (pixels[at] != other.pixels[at])
                Include(box, any, x, y);
        }
    return box;
}

FrameImage ImageBank::Add(const Picture& picture, const Box& box)
{
    CharacterImage image;
    image.width = uint16_t(box.Width());
    image.height = uint16_t(box.Height());
    image.pixels.assign(image.Stride() * image.height, 0);
    for (int row = 0; row < box.Height(); ++row) {
        const uint8_t* source = picture.pixels.data() + size_t(box.top + row) * picture.width + box.left;
        // Images keep their rows bottom-up.
        std::copy(source, source + box.Width(), image.pixels.begin() + ptrdiff_t(image.height - 1 - row) * image.Stride());
    }
    auto key = std::make_tuple(image.width, image.height, image.pixels);
    auto found = known_.find(key);
    uint32_t index;
    if (found != known_.end()) {
        index = found->second;
    } else {
        index = uint32_t(images_.size());
        known_.emplace(std::move(key), index);
        images_.push_back(std::move(image));
    }
    return FrameImage{ index, int16_t(box.left), int16_t(box.top) };
}
