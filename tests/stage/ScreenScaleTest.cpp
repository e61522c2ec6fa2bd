// Characters and their balloons at the screen's scale: a frame drawn for 96 DPI fills a
// window half as large again at 144 DPI, pixel for pixel, and the balloon grows with it.
#include "stage/BalloonWindow.h"
#include "stage/CharacterWindow.h"
#include "stage/PixelScaling.h"
#include <windows.h>
#include <algorithm>
#include <iterator>
#include <gtest/gtest.h>

namespace {

SIZE WindowSize(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{ rect.right - rect.left, rect.bottom - rect.top };
}

TEST(PixelScalingTest, TwiceTheSizeRepeatsEveryPixelTwiceEachWay)
{
    const uint32_t from[] = { 1, 2,
                              3, 4 };
    uint32_t to[16] = {};
    ScalePixels(from, 2, 2, to, 4, 4);
    const uint32_t expected[] = { 1, 1, 2, 2,
                                  1, 1, 2, 2,
                                  3, 3, 4, 4,
                                  3, 3, 4, 4 };
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), to));
}

TEST(PixelScalingTest, HalfAgainTakesThePixelUnderEachCentreAndNoMixture)
{
    // A transparent pixel beside an opaque one: no half-transparent pixel may appear.
    const uint32_t clear = 0, ink = 0xFF102030u;
    const uint32_t from[] = { clear, ink, clear, ink };
    uint32_t to[6] = {};
    ScalePixels(from, 4, 1, to, 6, 1);
    // Target centres 0.5, 1.5 ... 5.5 fall on source pixels 0, 1, 1, 2, 3, 3.
    const uint32_t expected[] = { clear, ink, ink, clear, ink, ink };
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), to));
}

TEST(PixelScalingTest, TheSameSizeCopiesAndEmptySizesTouchNothing)
{
    const uint32_t from[] = { 5, 6, 7, 8, 9, 10 };
    uint32_t to[6] = {};
    ScalePixels(from, 3, 2, to, 3, 2);
    EXPECT_TRUE(std::equal(std::begin(from), std::end(from), to));
    uint32_t untouched[2] = { 42, 42 };
    ScalePixels(from, 0, 2, untouched, 2, 1);
    ScalePixels(from, 3, 2, untouched, 0, 0);
    EXPECT_EQ(42u, untouched[0]);
}

TEST(CharacterWindowScaleTest, TheWindowGrowsWithTheScaleAndTheFrameKeepsItsSize)
{
    std::string error;
    CharacterWindow plain;
    ASSERT_TRUE(plain.Create(100, 80, 96, error)) << error;
    CharacterWindow larger;
    ASSERT_TRUE(larger.Create(100, 80, 144, error)) << error;
    CharacterWindow doubled;
    ASSERT_TRUE(doubled.Create(100, 80, 192, error)) << error;

    EXPECT_EQ(100, WindowSize(plain.Handle()).cx);
    EXPECT_EQ(80, WindowSize(plain.Handle()).cy);
    EXPECT_EQ(150, WindowSize(larger.Handle()).cx);
    EXPECT_EQ(120, WindowSize(larger.Handle()).cy);
    EXPECT_EQ(200, WindowSize(doubled.Handle()).cx);
    EXPECT_EQ(160, WindowSize(doubled.Handle()).cy);

    // The frame is drawn at its own size, whatever the scale: the last pixel of the
    // 100 x 80 frame is there to draw into.
    larger.Pixels()[100 * 80 - 1] = 0xFF00FF00u;
    EXPECT_TRUE(larger.Present());
}

TEST(BalloonWindowScaleTest, TheBalloonAndItsTextGrowWithTheScale)
{
    CharacterBalloon look;
    look.fontName = "Arial";
    look.charsPerLine = 20;
    look.lines = 2;
    std::string error;
    BalloonWindow plain(look, 96);
    ASSERT_TRUE(plain.Create(error)) << error;
    BalloonWindow larger(look, 144);
    ASSERT_TRUE(larger.Create(error)) << error;

    const RECT character = { 400, 400, 500, 500 };
    const std::string text = "Happy birthday to you and many more";
    plain.Open(text, character);
    larger.Open(text, character);
    const SIZE small = WindowSize(plain.Handle());
    const SIZE large = WindowSize(larger.Handle());
    // Fonts do not scale exactly: within a few pixels of half as large again.
    EXPECT_NEAR(small.cx * 1.5, large.cx, 8);
    EXPECT_NEAR(small.cy * 1.5, large.cy, 6);
}

} // namespace
