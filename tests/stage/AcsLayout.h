#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a character file's bytes show of the layout real files have, taken from the
// bytes by a walk of its own rather than by the stage's reader, so that the reader and
// this check cannot share a mistake.
struct AcsLayout {
    // Every way the file departs from real files: empty when it has their layout.
    // Images open with 1 and carry compressed region data (or are a lone 0 byte, an
    // empty slot); images and sounds have non-zero checksums; animations repeat their
    // name in upper case and name their return animation in upper case; the character
    // info comes last, with the name list at its end, right after the state list.
    std::vector<std::string> problems;
    // The balloon's foreground, background and border colours as stored; all 0 when the
    // character has no balloon.
    uint32_t balloonColors[3] = {};
};

AcsLayout ReadAcsLayout(const std::vector<uint8_t>& file);
