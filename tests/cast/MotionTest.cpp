// Acts built frame by frame: easing, loops, and the way back a stop takes.
#include "cast/Motion.h"
#include <gtest/gtest.h>

namespace {

TEST(MotionTest, EasesIntoPosesLoopsAndLeavesByTheWayBack)
{
    Pose rest, leaning;
    leaning.lean = 10;
    leaning.mouth = Mouth::Grin;
    Motion motion(rest);
    motion.Ease(leaning, 3, 5).Hold(leaning, 20).LoopBack(1, 60).Returning().Ease(rest, 2, 5);
    const Act act = motion.Finish("Lean");

    ASSERT_EQ(6u, act.beats.size());
    EXPECT_EQ("Lean", act.name);
    EXPECT_EQ(kTransitionExitBranches, act.transition);
    EXPECT_GT(act.beats[0].pose.lean, 0);
    EXPECT_LT(act.beats[0].pose.lean, act.beats[1].pose.lean);
    EXPECT_EQ(Mouth::Smile, act.beats[0].pose.mouth);  // choices come from the nearer pose
    EXPECT_EQ(Mouth::Grin, act.beats[1].pose.mouth);
    EXPECT_EQ(10, act.beats[2].pose.lean);
    EXPECT_EQ(0, act.beats[5].pose.lean);
    ASSERT_EQ(1u, act.beats[3].branches.size());
    EXPECT_EQ(1, act.beats[3].branches[0].frame);
    EXPECT_EQ(60, act.beats[3].branches[0].probability);
    for (size_t i = 0; i < act.beats.size(); ++i) {
        EXPECT_EQ(i < 4 ? 4 : -1, act.beats[i].exitFrame) << i;
        EXPECT_EQ(i == 5, act.beats[i].speaks) << i;
    }

    Motion still(rest);
    const Act plain = still.Hold(rest, 10).Hold(leaning, 10).Finish("Plain", false);
    EXPECT_EQ(kTransitionNone, plain.transition);
    EXPECT_FALSE(plain.beats.back().speaks);
    EXPECT_EQ(-1, plain.beats[0].exitFrame);
}

} // namespace
