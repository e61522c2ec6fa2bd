#pragma once
#include <cstdint>
#include <vector>

#include "stage/CharacterData.h"

// The outline of an image's visible pixels as region data, the way character files
// keep it with every image: an RGNDATA header and rectangles in image coordinates,
// rows top-down, banded as the system's region calls expect (rows with the same runs
// share one band). Pixels of the transparent index are outside; an empty slot or an
// image with nothing visible gives a header with no rectangles.
std::vector<uint8_t> MakeImageRegion(const CharacterImage& image, uint8_t transparentIndex);
