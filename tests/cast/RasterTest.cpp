// The rasteriser, its palette and its paths: what lands on which pixel.
#include "Drawing.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

const Ink kRed = kExclaimInk, kGreen = kGreenInk;

Path Rectangle(double left, double top, double right, double bottom)
{
    return Path({ left, top }).To({ right, top }).To({ right, bottom }).To({ left, bottom });
}

TEST(RasterTest, FillCoversThePixelsInsideAndNoOthers)
{
    Drawing pixels(16, 12);
    pixels.Canvas().Fill(Rectangle(2, 3, 10, 9), kRed);
    // Covering less than half a pixel leaves it clear; more than half shows.
    pixels.Canvas().Fill(Rectangle(12, 0, 12.25, 1), kGreen);
    pixels.Canvas().Fill(Rectangle(14, 0, 14.75, 1), kGreen);
    pixels.Resolve();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(x >= 2 && y >= 3 && y < 9 ? kRed : 0, pixels.At(x, y)) << x << "," << y;
    EXPECT_EQ(0, pixels.At(12, 0));
    EXPECT_EQ(kGreen, pixels.At(14, 0));
}

TEST(RasterTest, ShapesHaveAClosedOutlineOutsideThatBlendsIntoTheFill)
{
    Drawing pixels(32, 32, 1.5);
    pixels.Canvas().Ellipse({ 16, 16 }, 8, 8, kGreen);
    pixels.Resolve();
    const InkPalette& palette = pixels.Palette();
    EXPECT_EQ(kGreen, pixels.At(16, 16));
    EXPECT_EQ(kGreen, pixels.At(16, 10));
    EXPECT_EQ(0, pixels.At(16, 3));
    EXPECT_EQ(0, pixels.At(3, 3));
    int blends = 0;
    for (int angle = 0; angle < 360; angle += 5) {
        // Just outside the shape, all the way round.
        const Point at = Point{ 16, 16 } + Direction(angle) * 8.9;
        const uint8_t pixel = pixels.At(int(at.x), int(at.y));
        EXPECT_NE(kGreen, pixel) << angle;
        EXPECT_NE(0, pixel) << angle;
    }
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            blends += pixels.At(x, y) == palette.Index(kGreen, 1) || pixels.At(x, y) == palette.Index(kGreen, 2);
    EXPECT_GT(blends, 8);
}

TEST(RasterTest, StrokesHaveRoundEndsOfHalfTheirWidth)
{
    Drawing pixels(30, 10);
    pixels.Canvas().Stroke(Path({ 5, 5 }).To({ 25, 5 }), 4, kRed);
    pixels.Resolve();
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(y >= 3 && y < 7 ? kRed : 0, pixels.At(15, y)) << y;
    EXPECT_EQ(kRed, pixels.At(3, 5));
    EXPECT_EQ(0, pixels.At(2, 5));
    EXPECT_EQ(0, pixels.At(3, 3));  // the end is round, not square
    EXPECT_EQ(kRed, pixels.At(26, 4));
    EXPECT_EQ(0, pixels.At(27, 5));
}

TEST(RasterTest, TransformsMoveTurnAndScaleUntilPopped)
{
    Drawing pixels(20, 20);
    Raster& raster = pixels.Canvas();
    raster.Push();
    raster.Translate(10, 10);
    raster.Rotate(90);
    EXPECT_NEAR(10, raster.Map({ 5, 0 }).x, 1e-9);
    EXPECT_NEAR(15, raster.Map({ 5, 0 }).y, 1e-9);
    raster.Push();
    raster.Scale(2, 2);
    EXPECT_NEAR(6, raster.MapLength(3), 1e-9);
    raster.Pop();
    // A bar across, turned, stands upright.
    raster.Fill(Rectangle(-6, -1, 6, 1), kRed);
    raster.Pop();
    EXPECT_NEAR(5, raster.Map({ 5, 0 }).x, 1e-9);
    pixels.Resolve();
    EXPECT_EQ(kRed, pixels.At(9, 4));
    EXPECT_EQ(kRed, pixels.At(10, 15));
    EXPECT_EQ(0, pixels.At(4, 10));
    EXPECT_EQ(0, pixels.At(11, 10));
}

TEST(InkPaletteTest, FillsBlendTowardsTheOutlineInSteps)
{
    const InkPalette palette({ 0xFF00FF, 0x000000, 0xFF0000, 0x0000FF });
    EXPECT_EQ(4u + 2 * 2, palette.Colors().size());
    EXPECT_EQ(2, palette.Index(2, 0));
    EXPECT_EQ(kOutlineInk, palette.Index(2, InkPalette::kOutlineSteps));
    EXPECT_EQ(0, palette.Index(kClearInk, 1));
    EXPECT_EQ(0xAA0000u, palette.Colors()[palette.Index(2, 1)]);
    EXPECT_EQ(0x550000u, palette.Colors()[palette.Index(2, 2)]);
    EXPECT_EQ(0x0000AAu, palette.Colors()[palette.Index(3, 1)]);
    EXPECT_THROW(palette.Index(4, 0), std::out_of_range);

    const InkPalette fullest(std::vector<CharacterColor>(InkPalette::kMostInks, 0x808080));
    EXPECT_LE(fullest.Colors().size(), 256u);
    EXPECT_THROW(InkPalette(std::vector<CharacterColor>(InkPalette::kMostInks + 1)), std::length_error);
}

TEST(PathTest, EllipsesAndCurvesLieWhereTheySay)
{
    for (Point p : Path::Ellipse({ 10, 20 }, 6, 3).Points()) {
        const double dx = (p.x - 10) / 6, dy = (p.y - 20) / 3;
        EXPECT_NEAR(1, dx * dx + dy * dy, 1e-9);
    }
    const Path curve = Path({ 0, 0 }).Curve({ 5, 10 }, { 10, 0 });
    EXPECT_NEAR(10, curve.Points().back().x, 1e-9);
    EXPECT_NEAR(5, curve.Points()[curve.Points().size() / 2].y, 1e-9);  // halfway, half the pull

    // Corners too round for the box are cut down to fit it; the sides touch the box.
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (Point p : Path::RoundRect(0, 0, 10, 4, 3).Points()) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    EXPECT_NEAR(0, left, 1e-9);
    EXPECT_NEAR(0, top, 1e-9);
    EXPECT_NEAR(10, right, 1e-9);
    EXPECT_NEAR(4, bottom, 1e-9);
}

} // namespace
