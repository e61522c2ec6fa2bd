#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <optional>
#include <vector>

// Where one image lies on the sheet.
struct SpriteRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A character's images side by side on one palette picture, for a browser to cut the
// frames from: rows top first, `width` bytes each, the space between images transparent.
struct SpriteSheet {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    // One per image of the character; none for an empty slot or an image of no size.
    std::vector<std::optional<SpriteRect>> places;
};

// Lays the images out in rows, tallest first, on a sheet about as wide as it is high.
// A character without any image gets a sheet of one transparent pixel.
SpriteSheet PackSprites(const std::vector<CharacterImage>& images, uint8_t transparentIndex);
