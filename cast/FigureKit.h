#pragma once
#include "cast/Faces.h"
#include "cast/Figure.h"
#include "cast/Limbs.h"
#include "cast/Props.h"
#include "cast/SharedInks.h"

// What the figures' drawings share beyond faces, limbs and props.

// A word balloon in the cast's usual font.
CharacterBalloon CastBalloon(CharacterColor text, CharacterColor background, CharacterColor border, uint8_t lines = 3);

// Enters the head's own coordinates, the origin at its centre, turned about the neck by
// the pose's tilt. Pop the raster to leave.
void EnterHead(Raster& raster, Point neck, Point centre, const Pose& pose);
// How far the face's features move as the head turns and nods, for a face of that reach.
Point FaceShift(const Pose& pose, double reach);
// Two feet under the body, `apart` from the middle, stepping as the pose says.
void DrawFeet(Raster& raster, double apart, double rx, double ry, const Pose& pose, Ink ink);
