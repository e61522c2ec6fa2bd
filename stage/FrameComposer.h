#pragma once
#include "stage/CharacterData.h"
#include <cstdint>

// A mouth shape for FrameComposer, or none: the frame as drawn, mouth closed.
constexpr int kNoMouth = -1;

// Draws a character's frames as the pixels of a layered window: 32-bit premultiplied
// BGRA, top row first, the character's frame size. The palette is turned into pixels
// once; the transparent index stays fully transparent.
class FrameComposer {
public:
    explicit FrameComposer(const CharacterData& data);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws the frame (null: nothing) with the mouth overlay of that shape when the
    // frame has one. Images the frame names but the character lacks are left out.
    void Compose(const CharacterFrame* frame, int mouth, uint32_t* pixels) const;

private:
    void DrawImage(uint32_t image, int left, int top, uint32_t* pixels) const;

    const CharacterData& data_;
    int width_;
    int height_;
    uint32_t colors_[256];
};
