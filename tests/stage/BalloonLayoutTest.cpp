#include "stage/BalloonPlacement.h"
#include "stage/BalloonText.h"
#include <gtest/gtest.h>

namespace {

// Ten pixels a character.
int Measure(const std::string& text)
{
    return static_cast<int>(text.size()) * 10;
}

TEST(BalloonTextTest, WordsWrapIntoLinesThatScrollAsTheyAreSpoken)
{
    BalloonText text("  one two\tthree four five six  seven ");
    ASSERT_EQ(7u, text.Words().size());
    text.Wrap(Measure, 90);
    // "one two" "three" "four five" "six seven"
    EXPECT_EQ(4u, text.LineCount());
    EXPECT_EQ(90, text.Width(Measure));

    EXPECT_TRUE(text.VisibleLines(0, 2).empty());
    EXPECT_EQ((std::vector<std::string>{ "one" }), text.VisibleLines(1, 2));
    EXPECT_EQ((std::vector<std::string>{ "one two", "three" }), text.VisibleLines(3, 2));
    // The next line pushes the first one out; the last line shows only what was said.
    EXPECT_EQ((std::vector<std::string>{ "three", "four" }), text.VisibleLines(4, 2));
    EXPECT_EQ((std::vector<std::string>{ "four five", "six seven" }), text.VisibleLines(99, 2));
    EXPECT_EQ((std::vector<std::string>{ "one two", "three", "four five", "six seven" }),
              text.VisibleLines(7, 10));
}

TEST(BalloonTextTest, AWordWiderThanTheBalloonStandsAlone)
{
    BalloonText text("a extraordinarily b");
    text.Wrap(Measure, 60);
    EXPECT_EQ(3u, text.LineCount());
    EXPECT_EQ(150, text.Width(Measure));
    EXPECT_EQ(0u, BalloonText(" \t ").Words().size());
}

class BalloonPlacementTest : public testing::Test {
protected:
    const RECT screen{ 0, 0, 1024, 738 };
    const SIZE body{ 200, 60 };
    const int tail = 14;
    const int margin = 20;
};

TEST_F(BalloonPlacementTest, AboveTheCharacterWithTheTailAtItsMiddle)
{
    const RECT character{ 400, 300, 528, 428 };
    const BalloonPlacement placed = PlaceBalloon(body, tail, margin, character, screen);
    EXPECT_FALSE(placed.below);
    EXPECT_EQ(character.top, placed.window.bottom);
    EXPECT_EQ(character.top - 74, placed.window.top);
    EXPECT_EQ(464, placed.window.left + placed.tailX);
    EXPECT_EQ(200, placed.window.right - placed.window.left);
}

TEST_F(BalloonPlacementTest, BelowWhenThereIsNoRoomAboveAndInsideTheScreenAtItsEdges)
{
    const RECT topRight{ 950, 10, 1078, 138 };
    const BalloonPlacement placed = PlaceBalloon(body, tail, margin, topRight, screen);
    EXPECT_TRUE(placed.below);
    EXPECT_EQ(topRight.bottom, placed.window.top);
    EXPECT_EQ(screen.right, placed.window.right);
    // The tail still points as near the character's middle as the body allows.
    EXPECT_EQ(200 - margin, placed.tailX);

    const RECT bottomLeft{ -40, 620, 88, 748 };
    const BalloonPlacement low = PlaceBalloon(body, tail, margin, bottomLeft, screen);
    EXPECT_FALSE(low.below);
    EXPECT_EQ(screen.left, low.window.left);
    EXPECT_EQ(24, low.tailX);
}

TEST_F(BalloonPlacementTest, TallCharacterOnASmallScreenStillGetsItsBalloonOnTheScreen)
{
    const RECT tall{ 100, 20, 228, 730 };
    const BalloonPlacement placed = PlaceBalloon(body, tail, margin, tall, screen);
    EXPECT_GE(placed.window.top, screen.top);
    EXPECT_LE(placed.window.bottom, screen.bottom);
}

} // namespace
