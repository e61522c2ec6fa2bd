#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <vector>

// A colour the drawings are made in. Ink 0 is clear (the transparent colour) and ink 1
// the outline; every other ink is a fill colour.
using Ink = uint8_t;
const Ink kClearInk = 0;
const Ink kOutlineInk = 1;

// A character's palette: index 0 is transparent, then each ink at its own number, then
// for each fill ink the blends with the outline that resolved pixels use.
class InkPalette {
public:
    // Steps from a pure fill (0) to pure outline (kOutlineSteps).
    static const int kOutlineSteps = 3;
    static const size_t kMostInks = 2 + (256 - 2) / kOutlineSteps;

    // `inks[i]` is the colour of ink i; the colour given for ink 0 stands for
    // transparency. At most kMostInks inks.
    explicit InkPalette(std::vector<CharacterColor> inks);

    size_t InkCount() const { return inks_; }
    const std::vector<CharacterColor>& Colors() const { return colors_; }
    // The palette index of a fill ink with `outlineSteps` of kOutlineSteps outline in it.
    uint8_t Index(Ink ink, int outlineSteps) const;

private:
    size_t inks_;
    std::vector<CharacterColor> colors_;
};
