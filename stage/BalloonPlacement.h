#pragma once
#include <windows.h>

// Where the word balloon goes: above the character with its tail pointing down at it,
// or below it with the tail up when the screen has no room above; shifted sideways to
// stay on the screen, its tail still pointing at the character.
struct BalloonPlacement {
    RECT window{};   // body and tail, in screen coordinates
    bool below = false;
    int tailX = 0;   // where the tail meets the character, from the window's left edge
};

BalloonPlacement PlaceBalloon(SIZE body, int tailHeight, int tailMargin, const RECT& character, const RECT& screen);
