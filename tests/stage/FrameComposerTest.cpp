#include "stage/FrameComposer.h"
#include <gtest/gtest.h>

namespace {

const uint32_t kOpaque = 0xFF000000u;

// A solid image of one palette index; its top row holds `topRow` instead.
CharacterImage Solid(uint16_t width, uint16_t height, uint8_t index, uint8_t topRow)
{
    CharacterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(image.Stride() * height, index);
    // Rows are stored bottom-up: the top row is the last one.
    std::fill_n(image.pixels.begin() + image.Stride() * (height - 1), width, topRow);
    return image;
}

class FrameComposerTest : public testing::Test {
protected:
    FrameComposerTest()
    {
        data.info.width = 8;
        data.info.height = 8;
        data.info.transparentIndex = 9;
        data.info.palette = { 0x000000, 0x112233, 0x445566, 0x778899, 0xAABBCC };
        data.images = { Solid(4, 4, 1, 1), Solid(4, 4, 2, 3), Solid(2, 2, 4, 4), Solid(3, 3, 9, 9) };
        frame.images = { { 0, 0, 0 }, { 1, 2, 2 } };
    }
    uint32_t At(int x, int y) const { return pixels[y * 8 + x]; }
    void Compose(int mouth) { FrameComposer(data).Compose(&frame, mouth, pixels); }

    CharacterData data;
    CharacterFrame frame;
    uint32_t pixels[64];
};

TEST_F(FrameComposerTest, FirstImageIsOnTopAndTheTransparentIndexStaysClear)
{
    Compose(kNoMouth);
    EXPECT_EQ(kOpaque | 0x112233u, At(3, 3));  // both images: the first wins
    EXPECT_EQ(kOpaque | 0x445566u, At(5, 5));
    EXPECT_EQ(kOpaque | 0x778899u, At(4, 2));  // the second image's top row
    EXPECT_EQ(0u, At(7, 7));
    EXPECT_EQ(0u, At(0, 7));

    // An image of nothing but the transparent index changes nothing.
    frame.images.insert(frame.images.begin(), FrameImage{ 3, 0, 0 });
    Compose(kNoMouth);
    EXPECT_EQ(kOpaque | 0x112233u, At(0, 0));
}

TEST_F(FrameComposerTest, MouthOverlayIsAddedOrReplacesTheTopImage)
{
    MouthOverlay wide;
    wide.mouth = kMouthWide2;
    wide.image = 2;
    wide.x = 3;
    wide.y = 3;
    frame.overlays = { wide };

    Compose(kMouthWide2);
    EXPECT_EQ(kOpaque | 0xAABBCCu, At(3, 3));
    EXPECT_EQ(kOpaque | 0x112233u, At(0, 0));
    Compose(kMouthNarrow);  // no overlay of that shape: the frame as it is
    EXPECT_EQ(kOpaque | 0x112233u, At(3, 3));

    frame.overlays[0].replaceTopImage = true;
    Compose(kMouthWide2);
    EXPECT_EQ(0u, At(0, 0));
    EXPECT_EQ(kOpaque | 0x445566u, At(2, 5));
    EXPECT_EQ(kOpaque | 0xAABBCCu, At(4, 4));
}

TEST_F(FrameComposerTest, ImagesAreClippedAndBrokenReferencesLeftOut)
{
    frame.images = { { 1, -2, 6 }, { 42, 0, 0 } };
    data.images.push_back(CharacterImage{});
    data.images.back().width = 5;
    data.images.back().height = 5;  // no pixels at all
    frame.images.push_back({ 4, 0, 0 });
    Compose(kNoMouth);
    EXPECT_EQ(kOpaque | 0x778899u, At(0, 6));
    EXPECT_EQ(kOpaque | 0x445566u, At(1, 7));
    EXPECT_EQ(0u, At(2, 7));
    EXPECT_EQ(0u, At(0, 0));

    FrameComposer(data).Compose(nullptr, kNoMouth, pixels);
    EXPECT_EQ(0u, At(1, 7));
}

TEST_F(FrameComposerTest, ColoursBeyondAShortPaletteDrawBlack)
{
    data.images[0] = Solid(4, 4, 200, 200);
    Compose(kNoMouth);
    EXPECT_EQ(kOpaque, At(0, 0));
}

} // namespace
