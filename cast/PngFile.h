#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <vector>

// An 8-bit palette image as a PNG file: the palette as it is (padded with black to 256
// entries, so that every index a pixel may hold has a colour) and the transparent index
// fully transparent. Rows are top row first, `width` bytes each.
std::vector<uint8_t> EncodeIndexedPng(int width, int height, const std::vector<uint8_t>& pixels,
                                      const std::vector<CharacterColor>& palette, uint8_t transparentIndex);
