// The animations every figure plays, as poses: where they start and end, and how their
// loops and ways out run.
#include "cast/Choreography.h"
#include <gtest/gtest.h>
#include <set>

namespace {

class ChoreographyTest : public testing::Test {
protected:
    const Act& Named(const std::string& name) const
    {
        for (const Act& act : acts)
            if (act.name == name)
                return act;
        throw std::runtime_error("no act " + name);
    }

    std::vector<Act> acts = CastActs();
};

TEST_F(ChoreographyTest, ActsAreNamedOnceAndTheStatesPlayThem)
{
    std::set<std::string> names;
    for (const Act& act : acts)
        EXPECT_TRUE(names.insert(act.name).second) << act.name;
    for (const CharacterState& state : CastStates())
        for (const std::string& animation : state.animations)
            EXPECT_EQ(1u, names.count(animation)) << state.name << ": " << animation;
}

TEST_F(ChoreographyTest, ActsComeBackToRestAndTalkThere)
{
    const Pose rest = Named("RestPose").beats.front().pose;
    for (const Act& act : acts) {
        ASSERT_GE(act.beats.size(), 2u) << act.name;
        // Moving ends when the stage says so, and hiding ends out of sight.
        if (act.name == "Hide" || act.name.compare(0, 4, "Move") == 0)
            continue;
        EXPECT_TRUE(SamePose(rest, act.beats.back().pose)) << act.name;
        EXPECT_TRUE(act.beats.back().speaks) << act.name;
    }
    EXPECT_EQ(0, Named("Hide").beats.back().pose.scale);
    EXPECT_GT(Named("Show").beats.front().pose.scale, 0);
    EXPECT_LT(Named("Show").beats.front().pose.scale, 0.5);
}

TEST_F(ChoreographyTest, LoopsGoBackAndCanBeLeft)
{
    size_t loops = 0;
    for (const Act& act : acts) {
        for (size_t i = 0; i < act.beats.size(); ++i) {
            const Beat& beat = act.beats[i];
            unsigned chance = 0;
            for (const FrameBranch& branch : beat.branches) {
                EXPECT_LE(branch.frame, i) << act.name;
                chance += branch.probability;
                ++loops;
            }
            // A loop taken every time would never end by itself.
            EXPECT_LT(chance, 100u) << act.name;
            if (beat.exitFrame >= 0) {
                EXPECT_GT(size_t(beat.exitFrame), i) << act.name;
            }
        }
    }
    EXPECT_GE(loops, 4u);
    // Asked to stop while dozing, the figure wakes up rather than vanishing mid-snore.
    const Act& doze = Named("Idle3_1");
    EXPECT_EQ(kTransitionExitBranches, doze.transition);
    EXPECT_EQ(Eyes::Wide, doze.beats[size_t(doze.beats.front().exitFrame)].pose.eyes);
}

} // namespace
