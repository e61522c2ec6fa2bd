#include "ControlsTestResources.h"
#include "controls/ButtonImages.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
// Blue, green, red and a spare byte per entry, as bitmaps store them.
std::vector<BYTE> Quads(const std::vector<COLORREF>& colours)
{
    std::vector<BYTE> table;
    for (COLORREF colour : colours)
        table.insert(table.end(), { GetBValue(colour), GetGValue(colour), GetRValue(colour), 0 });
    return table;
}

COLORREF EntryAt(const std::vector<BYTE>& table, int index, int entrySize)
{
    const BYTE* entry = &table[index * entrySize];
    return RGB(entry[2], entry[1], entry[0]);
}
}

TEST(ButtonImagesTest, GreyPaletteHasFourLevelsByLuminance)
{
    const COLORREF kept = RGB(255, 0, 255);
    const std::vector<COLORREF> colours = {
        RGB(63, 63, 63), RGB(64, 64, 64), RGB(159, 159, 159), RGB(160, 160, 160),
        RGB(223, 223, 223), RGB(224, 224, 224), RGB(0, 0, 255), RGB(255, 0, 0), RGB(255, 255, 0), kept,
    };
    const std::vector<COLORREF> greys = {
        RGB(0, 0, 0), RGB(128, 128, 128), RGB(128, 128, 128), RGB(192, 192, 192),
        RGB(192, 192, 192), RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255), kept,
    };
    std::vector<BYTE> table = Quads(colours);
    ASSERT_TRUE(MakeGreyscalePalette(table.data(), static_cast<int>(colours.size()), 4, 8, kept));
    for (size_t i = 0; i < colours.size(); ++i)
        EXPECT_EQ(greys[i], EntryAt(table, static_cast<int>(i), 4)) << "entry " << i;

    // Three-byte entries of old-style bitmaps.
    std::vector<BYTE> triples = { 0, 0, 255, 255, 255, 255 };
    ASSERT_TRUE(MakeGreyscalePalette(triples.data(), 2, 3, 1, CLR_INVALID));
    EXPECT_EQ(RGB(128, 128, 128), EntryAt(triples, 0, 3));
    EXPECT_EQ(RGB(255, 255, 255), EntryAt(triples, 1, 3));

    std::vector<BYTE> deep = Quads({ RGB(255, 0, 0) });
    EXPECT_FALSE(MakeGreyscalePalette(deep.data(), 1, 4, 24, CLR_INVALID));
    EXPECT_EQ(RGB(255, 0, 0), EntryAt(deep, 0, 4));
}

TEST(ButtonImagesTest, BrokenBitmapLeavesNoImages)
{
    ButtonImages images;
    HINSTANCE module = GetModuleHandleA(nullptr);
    ASSERT_TRUE(images.LoadBitmap(module, IDB_TEST_PICTURE, CLR_INVALID));
    for (UINT broken : { UINT(IDB_TEST_TRUNCATED), UINT(IDB_TEST_HUGE), 9999u }) {
        EXPECT_FALSE(images.LoadBitmap(module, broken, CLR_INVALID)) << broken;
        EXPECT_TRUE(images.Empty());
    }
}
