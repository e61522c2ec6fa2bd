#include "cast/Pose.h"
#include "cast/Geometry.h"
#include <tuple>

namespace {

Arm MixArms(const Arm& a, const Arm& b, double t)
{
    Arm arm;
    arm.raise = Mix(a.raise, b.raise, t);
    arm.bend = Mix(a.bend, b.bend, t);
    arm.hand = t < 0.5 ? a.hand : b.hand;
    return arm;
}

auto Fields(const Arm& a)
{
    return std::make_tuple(a.raise, a.bend, a.hand);
}

auto Fields(const Pose& p)
{
    return std::make_tuple(p.x, p.y, p.lean, p.squash, p.scale, p.step, p.headTilt, p.headTurn, p.headNod, p.eyes,
                           p.lookX, p.lookY, p.lid, p.brow, p.mouth, p.blush, p.tear, p.sweat, Fields(p.left),
                           Fields(p.right), p.held, p.propPhase, p.effects, p.effectPhase);
}

} // namespace

Pose MixPoses(const Pose& a, const Pose& b, double t)
{
    const Pose& near = t < 0.5 ? a : b;
    Pose p = near;
    p.x = Mix(a.x, b.x, t);
    p.y = Mix(a.y, b.y, t);
    p.lean = Mix(a.lean, b.lean, t);
    p.squash = Mix(a.squash, b.squash, t);
    p.scale = Mix(a.scale, b.scale, t);
    p.step = Mix(a.step, b.step, t);
    p.headTilt = Mix(a.headTilt, b.headTilt, t);
    p.headTurn = Mix(a.headTurn, b.headTurn, t);
    p.headNod = Mix(a.headNod, b.headNod, t);
    p.lookX = Mix(a.lookX, b.lookX, t);
    p.lookY = Mix(a.lookY, b.lookY, t);
    p.lid = Mix(a.lid, b.lid, t);
    p.brow = Mix(a.brow, b.brow, t);
    p.tear = Mix(a.tear, b.tear, t);
    p.left = MixArms(a.left, b.left, t);
    p.right = MixArms(a.right, b.right, t);
    p.propPhase = Mix(a.propPhase, b.propPhase, t);
    p.effectPhase = Mix(a.effectPhase, b.effectPhase, t);
    return p;
}

bool SamePose(const Pose& a, const Pose& b)
{
    return Fields(a) == Fields(b);
}
