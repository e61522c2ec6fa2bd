#pragma once
#include "stage/CharacterData.h"
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

// A rectangle of a picture, right and bottom excluded.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A frame-sized picture as palette indices, top row first; index 0 is transparent.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    // The smallest box round the pixels that are not transparent.
    Box Bounds() const;
    // The smallest box round the pixels where the two pictures differ.
    Box Differences(const Picture& other) const;
};

// A character's images: parts of pictures, each kept once however often frames use it.
class ImageBank {
public:
    // Keeps the part of the picture inside the box; says which image it is and where in
    // the frame it goes.
    FrameImage Add(const Picture& picture, const Box& box);

    std::vector<CharacterImage> Take() { return std::move(images_); }

private:
    std::vector<CharacterImage> images_;
    std::map<std::tuple<uint16_t, uint16_t, std::vector<uint8_t>>, uint32_t> known_;
};
