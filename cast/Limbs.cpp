#include "cast/Limbs.h"
#include "cast/Props.h"
#include <cmath>
#include <vector>

namespace {

void DrawRoundHand(Raster& raster, Point centre, Point d, Hand hand, int side, Ink ink, double radius)
{
    const Point thumb = Perpendicular(d) * double(side);
    switch (hand) {
    case Hand::Palm:
        for (double spread : { -36.0, -12.0, 12.0, 36.0 }) {
            const Point finger = d * std::cos(Radians(spread)) + thumb * std::sin(Radians(spread));
            raster.Line(Path(centre).To(centre + finger * (radius * 1.45)), radius * 0.62, ink);
        }
        raster.Line(Path(centre).To(centre + (thumb * 1.2 + d * 0.2) * radius), radius * 0.62, ink);
        raster.Ellipse(centre, radius, radius, ink);
        break;
    case Hand::Point:
        raster.Line(Path(centre).To(centre + d * (radius * 1.9)), radius * 0.6, ink);
        raster.Ellipse(centre, radius * 0.9, radius * 0.9, ink);
        break;
    case Hand::Fist:
        raster.Ellipse(centre, radius * 0.92, radius * 0.92, ink);
        raster.Stroke(Path(centre + thumb * (radius * 0.1) - d * (radius * 0.3))
                          .To(centre + thumb * (radius * 0.6) + d * (radius * 0.1)),
                      1.3, kOutlineInk);
        break;
    case Hand::Mitten:
        raster.Ellipse(centre + (thumb * 0.85 - d * 0.15) * radius, radius * 0.45, radius * 0.45, ink);
        raster.Ellipse(centre, radius, radius, ink);
        break;
    }
}

// Feathers fanned out as fingers are, folded for a fist.
void DrawFeathers(Raster& raster, Point centre, Point d, Hand hand, int side, const ArmStyle& style)
{
    const Point across = Perpendicular(d) * double(side);
    std::vector<double> spreads;
    double length = style.handRadius * 2.6;
    switch (hand) {
    case Hand::Palm: spreads = { -40, -14, 12, 38 }; break;
    case Hand::Mitten: spreads = { -16, 0, 16 }; break;
    case Hand::Fist: spreads = { -10, 10 }; length *= 0.6; break;
    case Hand::Point: spreads = { 0 }; length *= 1.25; break;
    }
    for (double spread : spreads) {
        const Point feather = d * std::cos(Radians(spread)) + across * std::sin(Radians(spread));
        raster.Line(Path(centre).To(centre + feather * length), style.handRadius * 0.85, style.hand);
    }
    raster.Ellipse(centre, style.handRadius * 0.8, style.handRadius * 0.8, style.sleeve);
}

void DrawClaw(Raster& raster, Point centre, Point d, Hand hand, int side, const ArmStyle& style)
{
    const Point across = Perpendicular(d) * double(side);
    const double open = hand == Hand::Palm ? 38 : hand == Hand::Fist ? 6 : 22;
    const double length = style.handRadius * 1.7;
    for (int prong : { -1, 1 }) {
        if (hand == Hand::Point && prong < 0)
            continue;
        const double spread = hand == Hand::Point ? 0 : prong * open;
        const Point out = d * std::cos(Radians(spread)) + across * std::sin(Radians(spread));
        const Point bend = d * std::cos(Radians(spread - prong * 40)) + across * std::sin(Radians(spread - prong * 40));
        const Point knuckle = centre + out * length;
        raster.Line(Path(centre).To(knuckle).To(knuckle + bend * (length * 0.45)), style.handRadius * 0.55, style.hand);
    }
    raster.Ellipse(centre, style.handRadius * 0.75, style.handRadius * 0.75, style.accent);
}

void DrawHand(Raster& raster, Point centre, double angle, Hand hand, int side, const ArmStyle& style)
{
    const Point d = SideDirection(angle, side);
    switch (style.kind) {
    case LimbKind::Wing: DrawFeathers(raster, centre, d, hand, side, style); break;
    case LimbKind::Robot: DrawClaw(raster, centre, d, hand, side, style); break;
    case LimbKind::Arm:
    case LimbKind::Twig: DrawRoundHand(raster, centre, d, hand, side, style.hand, style.handRadius); break;
    }
}

void DrawArm(Raster& raster, Point shoulder, const Arm& arm, int side, const ArmStyle& style)
{
    const Point elbow = shoulder + SideDirection(arm.raise, side) * style.upper;
    const double angle = arm.raise + arm.bend;
    const Point d = SideDirection(angle, side);
    const Point wrist = elbow + d * style.lower;
    const Path limb = Path(shoulder).To(elbow).To(wrist);
    switch (style.kind) {
    case LimbKind::Arm:
        raster.Line(limb, style.width, style.sleeve);
        if (style.cuff != kClearInk)
            raster.Line(Path(wrist - d * 2.5).To(wrist), style.width + 1.5, style.cuff);
        break;
    case LimbKind::Wing: {
        // Flight feathers trail from the forearm's outer edge.
        const Point trail = SideDirection(angle + 55, side);
        for (double t : { 0.3, 0.65, 1.0 }) {
            const Point root = Mix(elbow, wrist, t);
            raster.Line(Path(root).To(root + trail * (6 + 5 * t)), style.width * 0.45, style.hand);
        }
        raster.Line(limb, style.width, style.sleeve);
        raster.Stroke(Path(Mix(elbow, shoulder, 0.3)).To(elbow).To(wrist), style.width * 0.4, style.accent);
        break;
    }
    case LimbKind::Twig: {
        raster.Line(limb, style.width, style.sleeve);
        const Point sprig = SideDirection(arm.raise + 50, side);
        raster.Line(Path(Mix(shoulder, elbow, 0.6)).To(Mix(shoulder, elbow, 0.6) + sprig * 5), style.width * 0.6, style.sleeve);
        const Point twig = SideDirection(angle - 45, side);
        raster.Line(Path(Mix(elbow, wrist, 0.5)).To(Mix(elbow, wrist, 0.5) + twig * 4), style.width * 0.6, style.sleeve);
        break;
    }
    case LimbKind::Robot:
        raster.Line(Path(shoulder).To(elbow), style.width, style.sleeve);
        raster.Line(Path(elbow).To(wrist), style.width * 0.85, style.sleeve);
        for (Point joint : { shoulder, elbow })
            raster.Ellipse(joint, style.width * 0.6, style.width * 0.6, style.accent);
        break;
    }
    DrawHand(raster, wrist + d * (style.handRadius * 0.7), angle, arm.hand, side, style);
}

} // namespace

Point HandPosition(Point shoulder, const Arm& arm, int side, const ArmStyle& style)
{
    const Point elbow = shoulder + SideDirection(arm.raise, side) * style.upper;
    return elbow + SideDirection(arm.raise + arm.bend, side) * (style.lower + style.handRadius * 0.7);
}

void DrawArms(Raster& raster, const Pose& pose, Point leftShoulder, Point rightShoulder, const ArmStyle& style,
              Ink stick, Anchors& anchors)
{
    const Point left = HandPosition(leftShoulder, pose.left, -1, style);
    const Point right = HandPosition(rightShoulder, pose.right, 1, style);
    // A book or a bowl is held up in front, the hands over its edge; other props lie in
    // the hands.
    const bool inFront = pose.held == Held::Book || pose.held == Held::Bowl;
    Point magic = right;
    if (pose.held == Held::Wand && stick != kClearInk)
        magic = DrawWand(raster, right, pose.right.raise + pose.right.bend, stick);
    else if (pose.held != Held::Wand && !inFront)
        magic = DrawHeld(raster, pose, left, right);
    DrawArm(raster, leftShoulder, pose.left, -1, style);
    DrawArm(raster, rightShoulder, pose.right, 1, style);
    if (inFront) {
        magic = DrawHeld(raster, pose, left, right);
        DrawHand(raster, left, pose.left.raise + pose.left.bend, pose.left.hand, -1, style);
        DrawHand(raster, right, pose.right.raise + pose.right.bend, pose.right.hand, 1, style);
    }
    anchors.hands[0] = raster.Map(left);
    anchors.hands[1] = raster.Map(right);
    anchors.magic = raster.Map(magic);
}
