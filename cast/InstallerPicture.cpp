#include "cast/InstallerPicture.h"
#include "stage/FrameComposer.h"
#include <algorithm>

namespace {

// 0x00RRGGBB: a dusk sky, dark above and warm at the horizon, so that the blue robe
// stands out against it.
const uint32_t kSkyTop = 0x16204A;
const uint32_t kSkyMiddle = 0x5B5E9E;
const uint32_t kSkyBottom = 0xF0B98A;
const uint32_t kHill = 0x2E5A3A;
const uint32_t kStar = 0xF8E7A0;
const int kHillTop = 262;
// A few stars in the dark part of the sky.
const struct {
    int x, y;
} kStars[] = { { 18, 22 }, { 52, 48 }, { 97, 15 }, { 140, 38 }, { 30, 90 }, { 122, 82 }, { 75, 70 }, { 150, 120 } };

uint32_t Blend(uint32_t from, uint32_t to, int step, int steps)
{
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = (from >> shift) & 0xFF;
        const int b = (to >> shift) & 0xFF;
        mixed |= uint32_t(a + (b - a) * step / steps) << shift;
    }
    return mixed;
}

// The frame of the animation that differs most from the rest pose: the wave at its widest.
std::vector<uint32_t> WavingFrame(const CharacterData& character)
{
    FrameComposer composer(character);
    const size_t size = size_t(composer.Width()) * composer.Height();
    std::vector<uint32_t> best(size), pixels(size);
    const CharacterAnimation* wave = character.FindAnimation("Wave");
    if (!wave)
        wave = character.FindAnimation("RestPose");
    if (!wave || wave->frames.empty())
        return {};
    size_t most = 0;
    composer.Compose(&wave->frames.front(), kNoMouth, best.data());
    const std::vector<uint32_t> first = best;
    for (const CharacterFrame& frame : wave->frames) {
        composer.Compose(&frame, kNoMouth, pixels.data());
        size_t changed = 0;
        for (size_t i = 0; i < size; ++i)
            changed += pixels[i] != first[i];
        if (changed > most) {
            most = changed;
            best = pixels;
        }
    }
    return best;
}

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::vector<uint8_t> MakeInstallerPicture(const CharacterData& character)
{
    const int width = kInstallerPictureWidth;
    const int height = kInstallerPictureHeight;
    std::vector<uint32_t> canvas(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // A low hill, rounded at its top, for the character to stand on.
            const int dx = x - width / 2;
            const bool hill = y >= kHillTop + dx * dx / 400;
            const uint32_t sky = y < kHillTop / 2 ? Blend(kSkyTop, kSkyMiddle, y, kHillTop / 2)
                                                  : Blend(kSkyMiddle, kSkyBottom, std::min(y, kHillTop) - kHillTop / 2, kHillTop / 2);
            canvas[size_t(y) * width + x] = hill ? kHill : sky;
        }
    }

    for (const auto& star : kStars)
        for (int d = -1; d <= 1; ++d) {
            canvas[size_t(star.y) * width + star.x + d] = kStar;
            canvas[size_t(star.y + d) * width + star.x] = kStar;
        }

    const std::vector<uint32_t> frame = WavingFrame(character);
    if (frame.empty())
        return {};
    const int frameWidth = character.info.width;
    const int frameHeight = character.info.height;
    // Centred, standing on the hill; what does not fit is left out.
    const int left = (width - frameWidth) / 2;
    const int top = kHillTop + 8 - frameHeight;
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const uint32_t pixel = frame[size_t(y) * frameWidth + x];
            const int cx = left + x, cy = top + y;
            // Composed pixels are opaque or fully transparent.
            if (pixel >> 24 && cx >= 0 && cx < width && cy >= 0 && cy < height)
                canvas[size_t(cy) * width + cx] = pixel & 0xFFFFFF;
        }
    }

    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * height;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));  // positive: bottom row first
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 DPI
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t color = canvas[size_t(y) * width + x];
            out.push_back(uint8_t(color));
            out.push_back(uint8_t(color >> 8));
            out.push_back(uint8_t(color >> 16));
        }
        out.resize(out.size() + (rowBytes - uint32_t(width) * 3), 0);
    }
    return out;
}
