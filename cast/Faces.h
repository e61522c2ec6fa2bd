#pragma once
#include "cast/Figure.h"
#include "cast/SharedInks.h"

// Faces: eyes that look, blink and frown, mouths that talk and show the mood, and what
// runs down a face. Drawn in the raster's current coordinates.

struct EyeStyle {
    double apart = 9;  // from the middle to each eye
    double rx = 5.5, ry = 7;
    double pupil = 2.8;
    Ink lid = kWhiteInk;     // the skin the lids are made of
    Ink brow = kOutlineInk;  // or kClearInk for no brows; any but the outline is outlined
    double browWidth = 1.8;
    double browLift = 4;  // gap between eye and brow
    Ink iris = kPupilInk;
};

// Both eyes about `centre`, looking, blinking and frowning as the pose says.
void DrawEyes(Raster& raster, Point centre, const Pose& pose, const EyeStyle& style);

// A cartoon mouth of about `width` about its middle.
void DrawMouth(Raster& raster, Point centre, double width, Mouth mouth);
// How far a mouth shape is open, 0 (shut) .. 1, for beaks and lights.
double MouthOpening(Mouth mouth);

void DrawBlush(Raster& raster, Point centre, double rx);
// A tear that runs from under the eye as `amount` grows.
void DrawTear(Raster& raster, Point eye, double amount);
void DrawSweat(Raster& raster, Point at);
