#include "cast/InkPalette.h"
#include <stdexcept>

namespace {

CharacterColor Blend(CharacterColor a, CharacterColor b, int share, int steps)
{
    CharacterColor mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int x = int(a >> shift & 0xFF), y = int(b >> shift & 0xFF);
        const int channel = (x * (steps - share) + y * share + steps / 2) / steps;
        mixed |= CharacterColor(channel) << shift;
    }
    return mixed;
}

} // namespace

InkPalette::InkPalette(std::vector<CharacterColor> inks) : inks_(inks.size()), colors_(std::move(inks))
{
    if (inks_ < 2 || inks_ > kMostInks)
        throw std::length_error("a palette needs between 2 and " + std::to_string(kMostInks) + " inks");
    const CharacterColor outline = colors_[kOutlineInk];
    for (size_t ink = 2; ink < inks_; ++ink)
        for (int share = 1; share < kOutlineSteps; ++share)
            colors_.push_back(Blend(colors_[ink], outline, share, kOutlineSteps));
}

uint8_t InkPalette::Index(Ink ink, int outlineSteps) const
{
    if (ink >= inks_)
        throw std::out_of_range("ink " + std::to_string(ink) + " is not in the palette");
    if (ink == kClearInk || ink == kOutlineInk || outlineSteps >= kOutlineSteps)
        return ink == kClearInk ? 0 : kOutlineInk;
    if (outlineSteps <= 0)
        return ink;
    return uint8_t(inks_ + (ink - 2) * (kOutlineSteps - 1) + (outlineSteps - 1));
}
