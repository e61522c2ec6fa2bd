// Effects gather round the parts the figure reported and move with their phase.
#include "Drawing.h"
#include "cast/Effects.h"
#include <gtest/gtest.h>

namespace {

Anchors SomeFigure()
{
    Anchors anchors;
    anchors.headCentre = { 64, 60 };
    anchors.headRadius = 14;
    anchors.top = { 64, 44 };
    anchors.hands[0] = { 40, 90 };
    anchors.hands[1] = { 90, 70 };
    anchors.magic = { 100, 50 };
    return anchors;
}

Drawing Effects(uint16_t effects, double phase, Held held = Held::Nothing)
{
    Pose pose;
    pose.effects = effects;
    pose.effectPhase = phase;
    pose.held = held;
    Drawing drawing;
    DrawEffects(drawing.Canvas(), pose, SomeFigure());
    drawing.Resolve();
    return drawing;
}

TEST(EffectsTest, EachEffectDrawsAndNoneDrawsNothing)
{
    EXPECT_TRUE(Effects(0, 0.5).Resolve().Bounds().Empty());
    for (int bit = 0; bit <= 10; ++bit)
        EXPECT_FALSE(Effects(uint16_t(1 << bit), 0.5).Resolve().Bounds().Empty()) << "effect " << (1 << bit);
}

TEST(EffectsTest, MarksStandAboveTheHead)
{
    for (uint16_t effect : { kEffectExclaim, kEffectBulb, kEffectBurst }) {
        const Box box = Effects(effect, 0.5).Resolve().Bounds();
        EXPECT_LT(box.bottom, SomeFigure().top.y) << effect;
        EXPECT_LT(box.left, 64) << effect;
        EXPECT_GT(box.right, 64) << effect;
    }
}

TEST(EffectsTest, AnExclamationWithNoRoomAboveATallFigureStandsWholeBesideItsHead)
{
    Anchors tall = SomeFigure();
    tall.top = { 70, 6 };
    for (double phase : { 0.0, 0.5, 1.0 }) {
        Pose pose;
        pose.effects = kEffectExclaim;
        pose.effectPhase = phase;
        Drawing drawing;
        DrawEffects(drawing.Canvas(), pose, tall);
        const Box box = drawing.Resolve().Bounds();
        EXPECT_GE(box.top, 1) << phase;
        EXPECT_GT(box.left, tall.headCentre.x) << phase;
        EXPECT_LT(box.right, 127) << phase;
    }
}

TEST(EffectsTest, SparklesSpreadFromTheWandOrTheHead)
{
    Drawing early = Effects(kEffectSparkles, 0.1, Held::Wand), late = Effects(kEffectSparkles, 0.8, Held::Wand);
    const Box small = early.Resolve().Bounds(), large = late.Resolve().Bounds();
    EXPECT_GT(large.Width(), small.Width());
    EXPECT_TRUE(small.left < 100 && 100 < small.right && small.top < 50 && 50 < small.bottom);

    const Box round = Effects(kEffectSparkles, 0.1).Resolve().Bounds();
    EXPECT_TRUE(round.left < 64 && 64 < round.right && round.top < 60 && 60 < round.bottom);
}

TEST(EffectsTest, ConfettiFallsAndThePuffIsGoneAtTheEnd)
{
    Drawing early = Effects(kEffectConfetti, 0.1), late = Effects(kEffectConfetti, 0.9);
    early.Resolve();
    late.Resolve();
    EXPECT_GT(late.Middle(kPinkInk).y, early.Middle(kPinkInk).y + 20);
    EXPECT_TRUE(Effects(kEffectPuff, 1).Resolve().Bounds().Empty());
}

} // namespace
