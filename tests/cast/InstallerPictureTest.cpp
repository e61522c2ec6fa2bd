// The installer's welcome picture: a bitmap the installer takes, showing our Merlin.
#include "cast/InstallerPicture.h"
#include "stage/AcsReader.h"
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <set>

namespace {

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& bytes, size_t at)
{
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

TEST(InstallerPicture, IsA24BitBitmapOfTheInstallersSizeShowingMerlinInHisOwnColours)
{
    CharacterData merlin;
    std::string error;
    ASSERT_TRUE(ReadCharacterFile(std::string(CAST_DIR) + "/Merlin.ACS", merlin, error)) << error;
    const std::vector<uint8_t> picture = MakeInstallerPicture(merlin);

    const uint32_t rowBytes = 164 * 3;  // already a multiple of four
    ASSERT_EQ(14u + 40u + rowBytes * 314, picture.size());
    EXPECT_EQ('B', picture[0]);
    EXPECT_EQ('M', picture[1]);
    EXPECT_EQ(picture.size(), Read32(picture, 2));
    EXPECT_EQ(54u, Read32(picture, 10));
    EXPECT_EQ(40u, Read32(picture, 14));
    EXPECT_EQ(164u, Read32(picture, 18));
    EXPECT_EQ(314u, Read32(picture, 22));
    EXPECT_EQ(1, Read16(picture, 26));
    EXPECT_EQ(24, Read16(picture, 28));
    EXPECT_EQ(0u, Read32(picture, 30));

    // Many of its pixels are colours of Merlin's palette, in the middle of the picture.
    std::set<uint32_t> palette;
    for (CharacterColor colour : merlin.info.palette)
        palette.insert(colour & 0xFFFFFF);
    size_t merlinPixels = 0;
    for (uint32_t y = 80; y < 270; ++y) {
        for (uint32_t x = 20; x < 144; ++x) {
            const size_t at = 54 + size_t(313 - y) * rowBytes + x * 3;
            const uint32_t colour = picture[at] | picture[at + 1] << 8 | uint32_t(picture[at + 2]) << 16;
            merlinPixels += palette.count(colour);
        }
    }
    EXPECT_GT(merlinPixels, 3000u);

    // The build drew the same picture for the installer.
    std::ifstream built(std::string(CAST_DIR) + "/InstallerPicture.bmp", std::ios::binary);
    EXPECT_EQ(picture, std::vector<uint8_t>(std::istreambuf_iterator<char>(built), std::istreambuf_iterator<char>()));
}
