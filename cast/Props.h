#pragma once
#include "cast/Figure.h"
#include "cast/SharedInks.h"

// What figures hold: the props of Held and the magic wand.

// The props of Held other than the magic tool, placed by the hands; says where their
// effects come from (the trumpet's bell), or the right hand.
Point DrawHeld(Raster& raster, const Pose& pose, Point leftHand, Point rightHand);
// A plain wand with a star, from the hand along `angle`; says where its tip is.
Point DrawWand(Raster& raster, Point hand, double angle, Ink stick);
// A five-pointed star.
Path StarPath(Point centre, double outer, double inner, double turn);
