#include "stage/FrameComposer.h"
#include <algorithm>
#include <cstring>

namespace {

const MouthOverlay* FindOverlay(const CharacterFrame& frame, int mouth)
{
    for (const MouthOverlay& overlay : frame.overlays)
        if (overlay.mouth == mouth)
            return &overlay;
    return nullptr;
}

} // namespace

FrameComposer::FrameComposer(const CharacterData& data)
    : data_(data), width_(data.info.width), height_(data.info.height)
{
    // Opaque pixels need no premultiplying; colours the palette lacks draw black.
    const std::vector<CharacterColor>& palette = data.info.palette;
    for (size_t index = 0; index < 256; ++index)
        colors_[index] = 0xFF000000u | (index < palette.size() ? (palette[index] & 0x00FFFFFFu) : 0u);
    colors_[data.info.transparentIndex] = 0;
}

void FrameComposer::Compose(const CharacterFrame* frame, int mouth, uint32_t* pixels) const
{
    std::memset(pixels, 0, static_cast<size_t>(width_) * height_ * sizeof(uint32_t));
    if (!frame)
        return;
    const MouthOverlay* overlay = mouth == kNoMouth ? nullptr : FindOverlay(*frame, mouth);
    // The first image is on top, so the list is drawn from its end; an overlay that
    // replaces the top image takes the first image's place.
    const size_t top = overlay && overlay->replaceTopImage ? 1 : 0;
    for (size_t i = frame->images.size(); i > top; --i) {
        const FrameImage& image = frame->images[i - 1];
        DrawImage(image.image, image.x, image.y, pixels);
    }
    if (overlay)
        DrawImage(overlay->image, overlay->x, overlay->y, pixels);
}

void FrameComposer::DrawImage(uint32_t index, int left, int top, uint32_t* pixels) const
{
    if (index >= data_.images.size())
        return;
    const CharacterImage& image = data_.images[index];
    const size_t stride = image.Stride();
    if (image.pixels.size() < stride * image.height)
        return;
    const int firstColumn = std::max(0, -left);
    const int endColumn = std::min<int>(image.width, width_ - left);
    const int firstRow = std::max(0, -top);
    const int endRow = std::min<int>(image.height, height_ - top);
    for (int row = firstRow; row < endRow; ++row) {
        // Image rows are stored bottom-up.
        const uint8_t* source = image.pixels.data() + (image.height - 1 - row) * stride;
        uint32_t* target = pixels + static_cast<size_t>(top + row) * width_;
        for (int column = firstColumn; column < endColumn; ++column) {
            const uint8_t index = source[column];
            if (index != data_.info.transparentIndex)
                target[left + column] = colors_[index];
        }
    }
}
