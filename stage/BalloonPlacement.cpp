#include "stage/BalloonPlacement.h"
#include <algorithm>

BalloonPlacement PlaceBalloon(SIZE body, int tailHeight, int tailMargin, const RECT& character, const RECT& screen)
{
    BalloonPlacement placement;
    const int height = body.cy + tailHeight;
    const int roomAbove = character.top - screen.top;
    const int roomBelow = screen.bottom - character.bottom;
    placement.below = roomAbove < height && roomBelow > roomAbove;
    int top = placement.below ? character.bottom : character.top - height;
    top = std::max<int>(screen.top, std::min<int>(top, screen.bottom - height));

    const int center = (character.left + character.right) / 2;
    int left = center - body.cx / 2;
    left = std::max<int>(screen.left, std::min<int>(left, screen.right - body.cx));

    placement.window = { left, top, left + body.cx, top + height };
    placement.tailX = std::max(tailMargin, std::min<int>(center - left, body.cx - tailMargin));
    return placement;
}
