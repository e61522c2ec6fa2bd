#include "cast/FigureKit.h"
#include <algorithm>

CharacterBalloon CastBalloon(CharacterColor text, CharacterColor background, CharacterColor border, uint8_t lines)
{
    CharacterBalloon balloon;
    balloon.lines = lines;
    balloon.charsPerLine = 32;
    balloon.foreground = text;
    balloon.background = background;
    balloon.border = border;
    balloon.fontName = "Tahoma";
    balloon.fontHeight = -13;
    balloon.fontWeight = 400;
    return balloon;
}

void EnterHead(Raster& raster, Point neck, Point centre, const Pose& pose)
{
    raster.Push();
    raster.Translate(neck.x, neck.y);
    raster.Rotate(pose.headTilt);
    raster.Translate(centre.x - neck.x, centre.y - neck.y);
}

Point FaceShift(const Pose& pose, double reach)
{
    return { pose.headTurn * reach, pose.headNod * reach * 0.7 };
}

void DrawFeet(Raster& raster, double apart, double rx, double ry, const Pose& pose, Ink ink)
{
    for (int side : { -1, 1 }) {
        // The foot forward is lifted a little and comes nearer.
        const double forward = pose.step * side;
        raster.Ellipse({ side * apart + side * rx * 0.3, -ry - std::max(0.0, forward) * 3 }, rx * (1 + 0.08 * forward), ry, ink);
    }
}
