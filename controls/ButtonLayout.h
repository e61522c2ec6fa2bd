#pragma once
#include <windows.h>

// Where a bitmap button puts its image and caption, and how big it wants to be. Pure
// arithmetic on sizes, so that the button's drawing and its fitting agree.

// The alignment style bits of a button, with "none set" read as centred.
struct ButtonAlignment {
    DWORD horizontal;   // BS_LEFT, BS_RIGHT or BS_CENTER
    DWORD vertical;     // BS_TOP, BS_BOTTOM or BS_VCENTER
    bool multiLine;

    // Vertical centre puts image and caption side by side; top and bottom stack them.
    bool SideBySide() const { return vertical == BS_VCENTER; }
};

ButtonAlignment AlignmentOf(DWORD style);

struct ButtonContent {
    bool hasImage = false;
    SIZE image = {};
    bool hasCaption = false;
    SIZE caption = {};
};

// Rectangles in button coordinates; a part left without width or height is empty.
struct ButtonParts {
    RECT image;
    RECT caption;
};

// The room a caption has inside a button of this size, the arrow area and the image's
// share taken away.
SIZE CaptionSpace(SIZE button, int arrowArea, const ButtonAlignment& alignment, const ButtonContent& content);

// The caption size placement works with, from the measured size and the room there is.
SIZE CaptionForPlacement(SIZE measured, SIZE space, const ButtonAlignment& alignment, bool hasImage);

ButtonParts PlaceButtonParts(SIZE button, const ButtonAlignment& alignment, const ButtonContent& content);

// The size that shows image and caption with their margins (no drop-down arrow).
SIZE FitButtonSize(const ButtonAlignment& alignment, const ButtonContent& content);
