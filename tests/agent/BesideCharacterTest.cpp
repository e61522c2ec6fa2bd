#include "agent/BesideCharacter.h"
#include <gtest/gtest.h>

namespace {

const int Gap = 64;

RECT At(POINT corner, const RECT& window)
{
    return { corner.x, corner.y, corner.x + window.right - window.left, corner.y + window.bottom - window.top };
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool ClearOf(const RECT& window, const RECT& character, int gap)
{
    RECT keepClear = character, both;
    InflateRect(&keepClear, gap, gap);
    return !IntersectRect(&both, &window, &keepClear);
}

RECT Centred(const RECT& area, int width, int height)
{
    const LONG left = (area.left + area.right - width) / 2;
    const LONG top = (area.top + area.bottom - height) / 2;
    return { left, top, left + width, top + height };
}

} // namespace

// Sizes as the help dialog and Merlin have them at 96 and at 144 DPI, the character with
// its top-left corner in the middle of the screen.
TEST(BesideCharacter, ADialogOnTheCharacterStepsToItsSideWhereTheScreenHasRoom)
{
    const RECT small = { 0, 0, 1024, 738 };
    const RECT merlin = { 512, 384, 640, 512 };
    const RECT help = Centred(small, 430, 345);
    const RECT placed = At(PlaceBeside(help, merlin, small, Gap), help);
    EXPECT_TRUE(ClearOf(placed, merlin, Gap));
    EXPECT_TRUE(Inside(placed, small));
    EXPECT_EQ(help.top, placed.top) << "moved sideways only";
    EXPECT_LT(placed.right, merlin.left) << "to the left first";

    // Half as large again on a screen with room on the right only.
    const RECT wide = { 0, 0, 1600, 1170 };
    const RECT largerMerlin = { 500, 585, 692, 777 };
    const RECT largerHelp = Centred(wide, 645, 518);
    const RECT right = At(PlaceBeside(largerHelp, largerMerlin, wide, Gap), largerHelp);
    EXPECT_TRUE(ClearOf(right, largerMerlin, Gap));
    EXPECT_TRUE(Inside(right, wide));
    EXPECT_GT(right.left, largerMerlin.right);

    // No room to either side: below, or above where below is short of room.
    const RECT tall = { 0, 0, 800, 1400 };
    const RECT middle = { 336, 384, 464, 512 };
    const RECT tallHelp = Centred(tall, 430, 345);
    const RECT below = At(PlaceBeside(tallHelp, middle, tall, Gap), tallHelp);
    EXPECT_TRUE(ClearOf(below, middle, Gap));
    EXPECT_GT(below.top, middle.bottom);
    EXPECT_EQ(tallHelp.left, below.left) << "moved down only";
    const RECT low = { 336, 1100, 464, 1228 };
    const RECT onLow = { 100, 1000, 700, 1345 };
    const RECT above = At(PlaceBeside(onLow, low, tall, Gap), onLow);
    EXPECT_TRUE(ClearOf(above, low, Gap));
    EXPECT_LT(above.bottom, low.top);
}

TEST(BesideCharacter, ADialogClearOfTheCharacterStaysAndOneWithoutRoomCoversTheLeast)
{
    const RECT area = { 0, 0, 1024, 738 };
    const RECT merlin = { 512, 384, 640, 512 };
    const RECT aside = { 20, 30, 420, 330 };
    EXPECT_EQ(aside.left, PlaceBeside(aside, merlin, area, Gap).x);
    EXPECT_EQ(aside.top, PlaceBeside(aside, merlin, area, Gap).y);

    // At 144 DPI on this screen the tour's dialog fits beside Merlin on no side: it stays
    // on the screen and leaves part of him in sight.
    const RECT largerMerlin = { 512, 369, 704, 561 };
    const RECT tour = Centred(area, 665, 560);
    const RECT placed = At(PlaceBeside(tour, largerMerlin, area, Gap), tour);
    EXPECT_TRUE(Inside(placed, area));
    RECT covered{};
    ASSERT_TRUE(IntersectRect(&covered, &placed, &largerMerlin));
    EXPECT_LT(covered.right - covered.left, largerMerlin.right - largerMerlin.left);
    EXPECT_EQ(largerMerlin.bottom - largerMerlin.top, covered.bottom - covered.top) << "beside him, not over his head";

    // A window larger than the area keeps its top-left corner in it.
    const RECT huge = { -50, -50, 1150, 850 };
    const POINT corner = PlaceBeside(huge, merlin, area, Gap);
    EXPECT_EQ(0, corner.x);
    EXPECT_EQ(0, corner.y);
}
