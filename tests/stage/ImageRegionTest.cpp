// Image outlines checked against the system's own reading of region data: every pixel
// is inside the region exactly when it is visible.
#include "stage/ImageRegion.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <random>

namespace {

const uint8_t kTransparent = 5;

// An image drawn top row first, from text: '.' is transparent, any other character a colour.
CharacterImage Drawn(std::initializer_list<const char*> rows)
{
    CharacterImage image;
    image.width = uint16_t(std::char_traits<char>::length(*rows.begin()));
    image.height = uint16_t(rows.size());
    image.pixels.assign(image.Stride() * image.height, 0);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < image.width; ++x)
            image.pixels[size_t(image.height - 1 - y) * image.Stride() + x] = row[x] == '.' ? kTransparent : 1;
        ++y;
    }
    return image;
}

CharacterImage Speckled(uint16_t width, uint16_t height, uint32_t seed)
{
    std::mt19937 random(seed);
    CharacterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(image.Stride() * height);
    for (uint8_t& pixel : image.pixels)
        pixel = random() % 3 == 0 ? kTransparent : uint8_t(random() % 4);
    // Runs of equal rows, which share bands.
    std::copy_n(image.pixels.begin(), image.Stride(), image.pixels.begin() + image.Stride());
    return image;
}

struct Region {
    explicit Region(const std::vector<uint8_t>& data)
        : handle(ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data())))
    {
    }
    ~Region() { DeleteObject(handle); }
    HRGN handle;
};

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

// Every pixel inside the region exactly when it is visible, and the stored bounds the
// region's box.
void ExpectOutline(const CharacterImage& image, const char* what)
{
    const std::vector<uint8_t> data = MakeImageRegion(image, kTransparent);
    ASSERT_GE(data.size(), 32u) << what;
    EXPECT_EQ(32u, U32At(data, 0)) << what;
    EXPECT_EQ(uint32_t(RDH_RECTANGLES), U32At(data, 4)) << what;
    EXPECT_EQ(U32At(data, 8) * 16, U32At(data, 12)) << what;
    EXPECT_EQ(data.size(), 32 + U32At(data, 12)) << what;
    const Region region(data);
    ASSERT_NE(nullptr, region.handle) << what;
    bool any = false;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool visible = image.pixels[size_t(image.height - 1 - y) * image.Stride() + x] != kTransparent;
            any = any || visible;
            ASSERT_EQ(visible, PtInRegion(region.handle, x, y) != FALSE) << what << " at " << x << ", " << y;
        }
    }
    RECT box{};
    const int kind = GetRgnBox(region.handle, &box);
    if (!any) {
        EXPECT_EQ(NULLREGION, kind) << what;
        return;
    }
    EXPECT_NE(NULLREGION, kind) << what;
    const RECT stored = { LONG(U32At(data, 16)), LONG(U32At(data, 20)), LONG(U32At(data, 24)), LONG(U32At(data, 28)) };
    EXPECT_TRUE(EqualRect(&box, &stored)) << what;
}

} // namespace

TEST(ImageRegionTest, HoldsExactlyTheVisiblePixels)
{
    ExpectOutline(Drawn({ "..##..", ".####.", "##..##", ".####.", "..##.." }), "a ring");
    ExpectOutline(Drawn({ "#.#.#", ".....", "#...#" }), "dots and an empty row");
    ExpectOutline(Drawn({ "...", "..." }), "nothing visible");
    for (uint32_t seed = 1; seed <= 5; ++seed)
        ExpectOutline(Speckled(uint16_t(13 + seed), uint16_t(9 + seed), seed), "speckles");
}

TEST(ImageRegionTest, RowsWithTheSameRunsShareOneBand)
{
    const std::vector<uint8_t> block = MakeImageRegion(Drawn({ ".##.", ".##.", ".##." }), kTransparent);
    EXPECT_EQ(1u, U32At(block, 8)) << "a solid block is one rectangle";
    const std::vector<uint8_t> steps = MakeImageRegion(Drawn({ "##..", "##..", ".##.", "#..#" }), kTransparent);
    EXPECT_EQ(4u, U32At(steps, 8));
}

TEST(ImageRegionTest, AnEmptySlotHasAnEmptyRegion)
{
    CharacterImage slot;
    slot.present = false;
    const std::vector<uint8_t> data = MakeImageRegion(slot, kTransparent);
    ASSERT_EQ(32u, data.size());
    EXPECT_EQ(0u, U32At(data, 8));
    const Region region(data);
    RECT box{};
    EXPECT_EQ(NULLREGION, GetRgnBox(region.handle, &box));
}
