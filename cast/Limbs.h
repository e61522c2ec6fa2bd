#pragma once
#include "cast/Figure.h"
#include "cast/SharedInks.h"

// Arms of every kind the cast has, with their hands, and what the hands hold. Sides
// are -1 for the left of the screen and 1 for the right.

enum class LimbKind {
    Arm,    // a sleeve and a round hand
    Wing,   // a feathered wing; the feathers at its end are the fingers
    Twig,   // a thin branch with a mitten
    Robot,  // metal parts, bolted joints and a claw
};

struct ArmStyle {
    LimbKind kind = LimbKind::Arm;
    double upper = 15;  // shoulder to elbow
    double lower = 14;  // elbow to wrist
    double width = 7;
    Ink sleeve = kWhiteInk;
    Ink hand = kWhiteInk;
    double handRadius = 5;
    Ink cuff = kClearInk;    // a band at the wrist, or none
    Ink accent = kClearInk;  // a wing's band, a robot's joints
};

// Where the hand of an arm hanging from the shoulder is.
Point HandPosition(Point shoulder, const Arm& arm, int side, const ArmStyle& style);

// Both arms with what the pose holds in the hands, the props under the hands that hold
// them, and fills in the anchors of the hands and of the magic. The wand has its stick
// in `stick`; with kClearInk there is no wand and the magic comes from the bare hand.
void DrawArms(Raster& raster, const Pose& pose, Point leftShoulder, Point rightShoulder, const ArmStyle& style,
              Ink stick, Anchors& anchors);
