#pragma once
#include "cast/Figure.h"

// Draws the pose's effects (sparkles, marks, confetti, bubbles...) about the parts the
// figure reported, at the point of their motion the pose's phase gives.
void DrawEffects(Raster& raster, const Pose& pose, const Anchors& anchors);
