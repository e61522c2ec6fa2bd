// Pictures cut into a character's images, each kept once.
#include "cast/ImageBank.h"
#include <gtest/gtest.h>

namespace {

Picture Blank(int width, int height)
{
    return Picture{ width, height, std::vector<uint8_t>(size_t(width) * height, 0) };
}

void Set(Picture& picture, int x, int y, uint8_t index)
{
    picture.pixels[size_t(y) * picture.width + x] = index;
}

TEST(ImageBankTest, BoundsAndDifferencesBoxWhatIsThere)
{
    Picture picture = Blank(8, 6);
    EXPECT_TRUE(picture.Bounds().Empty());
    Set(picture, 2, 1, 5);
    Set(picture, 5, 4, 6);
    const Box bounds = picture.Bounds();
    EXPECT_EQ(2, bounds.left);
    EXPECT_EQ(1, bounds.top);
    EXPECT_EQ(6, bounds.right);
    EXPECT_EQ(5, bounds.bottom);

    Picture changed = picture;
    Set(changed, 3, 2, 7);
    const Box differences = picture.Differences(changed);
    EXPECT_EQ(3, differences.left);
    EXPECT_EQ(2, differences.top);
    EXPECT_EQ(1, differences.Width());
    EXPECT_EQ(1, differences.Height());
    EXPECT_TRUE(picture.Differences(picture).Empty());
}

TEST(ImageBankTest, KeepsEachPartOnceWithRowsBottomUpAndSaysWhereItGoes)
{
    Picture picture = Blank(8, 6);
    for (int y = 2; y < 5; ++y)
        for (int x = 1; x < 4; ++x)
            Set(picture, x, y, uint8_t(10 * y + x));
    ImageBank bank;
    const FrameImage first = bank.Add(picture, picture.Bounds());
    EXPECT_EQ(0u, first.image);
    EXPECT_EQ(1, first.x);
    EXPECT_EQ(2, first.y);

    // The same pixels elsewhere are the same image in another place.
    Picture moved = Blank(8, 6);
    for (int y = 2; y < 5; ++y)
        for (int x = 1; x < 4; ++x)
            Set(moved, x + 4, y - 2, uint8_t(10 * y + x));
    const FrameImage again = bank.Add(moved, moved.Bounds());
    EXPECT_EQ(0u, again.image);
    EXPECT_EQ(5, again.x);
    EXPECT_EQ(0, again.y);
    Set(moved, 5, 0, 99);
    EXPECT_EQ(1u, bank.Add(moved, moved.Bounds()).image);

    const std::vector<CharacterImage> images = bank.Take();
    ASSERT_EQ(2u, images.size());
    const CharacterImage& image = images[0];
    EXPECT_EQ(3, image.width);
    EXPECT_EQ(3, image.height);
    ASSERT_EQ(image.Stride() * 3, image.pixels.size());
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(10 * (2 + row) + 1 + column, image.pixels[(2 - row) * image.Stride() + column]);
}

} // namespace
