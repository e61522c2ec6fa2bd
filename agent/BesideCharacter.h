#pragma once
#include <windows.h>

// Where a window stands beside a character instead of on it: where it is when that is
// clear of the character by gap, else to its left, right, below or above (the balloon
// opens above the character), kept inside the area; where no side has room, the place
// that covers the least of the character. Moving sideways keeps the window's top, moving
// up or down its left. Returns the new top-left corner.
POINT PlaceBeside(const RECT& window, const RECT& character, const RECT& area, int gap);

// Moves the top-level window beside the rectangle the current character stands in, inside
// the work area; false when there is no current character or the window cannot be moved.
bool MoveBesideCharacter(HWND window);
