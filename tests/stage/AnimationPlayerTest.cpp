#include "stage/AnimationPlayer.h"
#include <gtest/gtest.h>

namespace {

CharacterAnimation Frames(std::initializer_list<uint16_t> durations)
{
    CharacterAnimation animation;
    for (uint16_t duration : durations) {
        CharacterFrame frame;
        frame.duration = duration;
        animation.frames.push_back(frame);
    }
    return animation;
}

size_t FrameIndex(const AnimationPlayer& player, const CharacterAnimation& animation)
{
    return static_cast<size_t>(player.Frame() - animation.frames.data());
}

class AnimationPlayerTest : public testing::Test {
protected:
    std::mt19937 random{ 1 };
};

TEST_F(AnimationPlayerTest, EachFrameLastsItsDurationAndTheLastOneStays)
{
    const CharacterAnimation animation = Frames({ 10, 25, 5 });
    AnimationPlayer player(animation, random);
    player.Start(1000);
    EXPECT_FALSE(player.Advance(1099));
    EXPECT_EQ(0u, FrameIndex(player, animation));
    EXPECT_TRUE(player.Advance(1100));
    EXPECT_EQ(1u, FrameIndex(player, animation));
    // Late ticks catch up on the frames they missed.
    EXPECT_TRUE(player.Advance(1360));
    EXPECT_EQ(2u, FrameIndex(player, animation));
    EXPECT_FALSE(player.Finished());
    player.Advance(1400);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(2u, FrameIndex(player, animation));

    const CharacterAnimation empty;
    AnimationPlayer nothing(empty, random);
    nothing.Start(0);
    EXPECT_TRUE(nothing.Finished());
    EXPECT_EQ(nullptr, nothing.Frame());
}

TEST_F(AnimationPlayerTest, BranchesAreTakenByTheirProbability)
{
    CharacterAnimation animation = Frames({ 1, 1, 1 });
    animation.frames[0].branches = { { 2, 100 } };
    AnimationPlayer certain(animation, random);
    certain.Start(0);
    certain.Advance(10);
    EXPECT_EQ(2u, FrameIndex(certain, animation));

    // Half of the time: both ways are seen, in about equal numbers.
    animation.frames[0].branches = { { 2, 50 } };
    int branched = 0;
    for (int run = 0; run < 400; ++run) {
        AnimationPlayer player(animation, random);
        player.Start(0);
        player.Advance(10);
        branched += FrameIndex(player, animation) == 2;
    }
    EXPECT_GT(branched, 150);
    EXPECT_LT(branched, 250);
}

TEST_F(AnimationPlayerTest, LoopsEndWhenAskedOrAfterAWhile)
{
    CharacterAnimation animation = Frames({ 10, 10, 10 });
    animation.frames[1].branches = { { 0, 100 } };
    animation.frames[1].exitFrame = 2;
    AnimationPlayer player(animation, random);
    player.Start(0);
    player.Advance(1000);
    EXPECT_FALSE(player.Finished());
    EXPECT_LT(FrameIndex(player, animation), 2u);

    // Asked to end, it leaves at the loop's way back, by the exit frame.
    player.EndAtLoop();
    DWORD now = 1000;
    while (FrameIndex(player, animation) != 2 && now < 2000)
        player.Advance(now += 10);
    EXPECT_EQ(2u, FrameIndex(player, animation));
    player.Advance(now + 100);
    EXPECT_TRUE(player.Finished());

    // Nobody asks: after ten seconds it ends by itself.
    AnimationPlayer forgotten(animation, random);
    forgotten.Start(0);
    for (DWORD t = 0; t < 9900 && !forgotten.Finished(); t += 50)
        forgotten.Advance(t);
    EXPECT_FALSE(forgotten.Finished());
    for (DWORD t = 9900; t < 11000 && !forgotten.Finished(); t += 50)
        forgotten.Advance(t);
    EXPECT_TRUE(forgotten.Finished());
}

TEST_F(AnimationPlayerTest, ExitNowTakesTheExitFramesAtOnce)
{
    CharacterAnimation animation = Frames({ 10, 10, 10, 10, 10 });
    animation.frames[0].exitFrame = 3;
    AnimationPlayer player(animation, random);
    player.Start(0);
    player.ExitNow();
    player.Advance(100);
    EXPECT_EQ(3u, FrameIndex(player, animation));
    player.Advance(200);
    EXPECT_EQ(4u, FrameIndex(player, animation));
}

TEST_F(AnimationPlayerTest, FramesWithoutDurationCannotHangATick)
{
    CharacterAnimation animation = Frames({ 0, 0 });
    animation.frames[1].branches = { { 0, 100 } };
    animation.frames[0].exitFrame = 1;
    animation.frames[1].exitFrame = 0;  // even the exits go round
    AnimationPlayer player(animation, random);
    player.Start(0);
    player.Advance(5);
    EXPECT_FALSE(player.Finished());
    player.ExitNow();
    player.Advance(10);
    EXPECT_TRUE(player.Finished());
}

} // namespace
