// Pictures at the screen's scale: lengths and bitmaps made for 96 DPI, grown for others.
#include "framework/ScreenDpi.h"
#include "res/resource.h"
#include <gtest/gtest.h>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top row first

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The bitmap's pixels, read back as the screen would show them.
Picture Read(HBITMAP bitmap)
{
    Picture picture;
    BITMAP size{};
    if (!bitmap || !GetObjectA(bitmap, sizeof(size), &size))
        return picture;
    picture.width = size.bmWidth;
    picture.height = size.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return picture;
}

Picture Load(UINT id, int dpi)
{
    HBITMAP bitmap = LoadBitmapForDpi(GetModuleHandleA(nullptr), id, dpi);
    EXPECT_NE(nullptr, bitmap) << "bitmap " << id << " at " << dpi << " DPI";
    Picture picture = Read(bitmap);
    if (bitmap)
        DeleteObject(bitmap);
    return picture;
}

TEST(ScreenDpiTest, LengthsGrowWithTheScaleRounded)
{
    EXPECT_EQ(16, ScaleForDpi(16, 96));
    EXPECT_EQ(20, ScaleForDpi(16, 120));
    EXPECT_EQ(24, ScaleForDpi(16, 144));
    EXPECT_EQ(32, ScaleForDpi(16, 192));
    EXPECT_EQ(23, ScaleForDpi(15, 144));
    EXPECT_EQ(-20, ScaleForDpi(-13, 144));
    EXPECT_GE(ScreenDpi(), 96);
}

TEST(ScreenDpiTest, ABitmapAtHalfAgainTheScaleRepeatsItsPixelsWithoutNewColours)
{
    const Picture plain = Load(IDR_MAINFRAME, 96);
    const Picture larger = Load(IDR_MAINFRAME, 144);
    ASSERT_GT(plain.width, 0);
    EXPECT_EQ(plain.width * 3 / 2, larger.width);
    EXPECT_EQ(ScaleForDpi(plain.height, 144), larger.height);
    // Every pixel of the larger picture is one of the original's pixels near it, so the
    // light grey that stands for the toolbar's face is masked out as exactly as before.
    for (int y = 0; y < larger.height; ++y) {
        for (int x = 0; x < larger.width; ++x) {
            const int fromX = x * plain.width / larger.width;
            const int fromY = y * plain.height / larger.height;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int nx = fromX + dx, ny = fromY + dy;
                    found = nx >= 0 && ny >= 0 && nx < plain.width && ny < plain.height &&
                            plain.At(nx, ny) == larger.At(x, y);
                }
            ASSERT_TRUE(found) << "pixel " << x << "," << y << " has a colour the original lacks there";
        }
    }
}

TEST(ScreenDpiTest, AtTheDesignScaleTheBitmapIsTheResourceAndAMissingOneIsNone)
{
    const Picture plain = Load(IDB_ACTION_SAY, 96);
    EXPECT_EQ(16, plain.width);
    EXPECT_EQ(16, plain.height);
    EXPECT_EQ(nullptr, LoadBitmapForDpi(GetModuleHandleA(nullptr), 4711, 144));
}

} // namespace
