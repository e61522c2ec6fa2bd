#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "SyntheticCharacter.h"
#include <gtest/gtest.h>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t U32At(const Bytes& bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

void SetU32(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

class AcsReaderRobustnessTest : public testing::Test {
protected:
    AcsReaderRobustnessTest()
    {
        SyntheticCharacterShape shape;
        shape.animations = 2;
        shape.framesPerAnimation = 3;
        shape.images = 3;
        shape.imageSide = 6;
        shape.sounds = 1;
        shape.soundBytes = 20;
        file = WriteCharacter(MakeSyntheticCharacter(shape));
        std::string error;
        EXPECT_TRUE(ReadCharacter(file.data(), file.size(), kept, error)) << error;
    }

    // Reads the bytes, expecting failure with a message that holds `expected`, and the
    // character read before left as it was.
    void ExpectFailure(const Bytes& bytes, const std::string& expected, const std::string& what)
    {
        CharacterData out = kept;
        std::string error;
        EXPECT_FALSE(ReadCharacter(bytes.data(), bytes.size(), out, error)) << what;
        EXPECT_NE(std::string::npos, error.find(expected)) << what << ": " << error;
        EXPECT_TRUE(out == kept) << what;
    }

    // Reads the bytes, which may or may not make a character: either way cleanly.
    void ExpectCleanResult(const Bytes& bytes, const std::string& what)
    {
        CharacterData out;
        std::string error;
        if (ReadCharacter(bytes.data(), bytes.size(), out, error))
            EXPECT_TRUE(CheckCharacter(out, error)) << what << ": " << error;
        else
            EXPECT_FALSE(error.empty()) << what;
    }

    size_t ListOffset(int header) const { return U32At(file, 4 + 8 * header); }

    // Where every locator lies: the header's, the names', and each list entry's.
    std::vector<size_t> LocatorPositions() const
    {
        std::vector<size_t> positions = { 4, 12, 20, 28, U32At(file, 4) + 4 };
        size_t at = ListOffset(1);
        uint32_t animations = U32At(file, at);
        at += 4;
        for (uint32_t i = 0; i < animations; ++i) {
            uint32_t units = U32At(file, at);
            at += 4 + (units ? 2 * units + 2 : 0);
            positions.push_back(at);
            at += 8;
        }
        for (int header : { 2, 3 }) {
            for (uint32_t i = 0; i < U32At(file, ListOffset(header)); ++i)
                positions.push_back(ListOffset(header) + 4 + 12 * i);
        }
        return positions;
    }

    Bytes file;
    CharacterData kept;
};

} // namespace

TEST_F(AcsReaderRobustnessTest, FailsAtEveryTruncatedLength)
{
    for (size_t length = 0; length < file.size(); ++length)
        ExpectFailure(Bytes(file.begin(), file.begin() + length), "", std::to_string(length));
}

TEST_F(AcsReaderRobustnessTest, RefusesLocatorsOutsideTheFile)
{
    std::vector<size_t> positions = LocatorPositions();
    ASSERT_EQ(5u + 2 + 4 + 1, positions.size());
    for (size_t at : positions) {
        for (uint32_t offset : { uint32_t(file.size()), 0xFFFFFFF0u }) {
            Bytes bytes = file;
            SetU32(bytes, at, offset);
            ExpectFailure(bytes, "outside the file", "offset at " + std::to_string(at));
        }
        Bytes bytes = file;
        SetU32(bytes, at + 4, 0xFFFFFFFF);
        ExpectFailure(bytes, "outside the file", "size at " + std::to_string(at));
    }
}

TEST_F(AcsReaderRobustnessTest, RefusesCountsBeyondTheBytes)
{
    for (int header : { 1, 2, 3 }) {
        Bytes bytes = file;
        SetU32(bytes, ListOffset(header), 0x10000000);
        ExpectFailure(bytes, "claims more items", "list " + std::to_string(header));
    }
    Bytes bytes = file;
    size_t names = U32At(file, U32At(file, 4) + 4);
    bytes[names] = bytes[names + 1] = 0xFF;
    ExpectFailure(bytes, "claims more items", "names");
}

TEST_F(AcsReaderRobustnessTest, RefusesImagesBeyondTheBounds)
{
    size_t image = U32At(file, ListOffset(2) + 4);
    Bytes wide = file;
    wide[image + 1] = 0x01;
    wide[image + 2] = 0x10;  // 4097
    ExpectFailure(wide, "larger than 4096", "width");

    // 4096 by 4096 pixels from a few bytes of data: refused before any memory is taken.
    Bytes huge = file;
    huge[image + 1] = huge[image + 3] = 0x00;
    huge[image + 2] = huge[image + 4] = 0x10;
    ExpectFailure(huge, "too few bytes", "size");

    Bytes broken = file;
    broken[image + 10] ^= 0xFF;  // the zero byte compressed data opens with
    ExpectFailure(broken, "broken compressed data", "data");
}

TEST_F(AcsReaderRobustnessTest, RefusesEntriesSharingBytesAndDanglingIndices)
{
    // A new image list, its many entries all pointing at the first image.
    Bytes shared = file;
    size_t images = ListOffset(2);
    const uint32_t entries = 400;
    SetU32(shared, 20, uint32_t(shared.size()));
    SetU32(shared, 24, 4 + 12 * entries);
    shared.resize(shared.size() + 4 + 12 * entries);
    SetU32(shared, U32At(shared, 20), entries);
    for (uint32_t i = 0; i < entries; ++i) {
        size_t entry = U32At(shared, 20) + 4 + 12 * i;
        SetU32(shared, entry, U32At(file, images + 4));
        SetU32(shared, entry + 4, U32At(file, images + 8));
    }
    ExpectFailure(shared, "shares its bytes", "shared images");

    Bytes fewer = file;
    SetU32(fewer, images, U32At(file, images) - 1);
    ExpectFailure(fewer, "image that does not exist", "one image fewer");

    Bytes signature = file;
    signature[0] ^= 1;
    ExpectFailure(signature, "signature", "signature");
}

// One image fewer than the file holds makes the index of the last image equal to the
// count: shown by frames alone, then by mouths alone, each check must catch it itself.
TEST_F(AcsReaderRobustnessTest, AnImageIndexEqualToTheImageCountIsRefused)
{
    SyntheticCharacterShape shape;
    shape.animations = 2;
    shape.framesPerAnimation = 3;
    shape.images = 3;
    shape.imageSide = 6;
    const struct {
        LastImageShownBy shownBy;
        const char* message;
    } cases[] = {
        { LastImageShownBy::FramesOnly, "shows an image that does not exist" },
        { LastImageShownBy::MouthsOnly, "has a mouth image that does not exist" },
    };
    for (const auto& c : cases) {
        Bytes bytes = WriteCharacter(ShowLastImageBy(MakeSyntheticCharacter(shape), c.shownBy));
        ASSERT_FALSE(bytes.empty());
        CharacterData whole;
        std::string error;
        ASSERT_TRUE(ReadCharacter(bytes.data(), bytes.size(), whole, error)) << error;
        const size_t images = U32At(bytes, 20);
        SetU32(bytes, images, U32At(bytes, images) - 1);
        ExpectFailure(bytes, c.message, c.message);
    }
}

TEST_F(AcsReaderRobustnessTest, CorruptedFieldsNeverCrash)
{
    for (size_t at = 0; at + 4 <= file.size(); ++at) {
        for (uint32_t value : { 0xFFFFFFFFu, 0x7FFFFFFFu, 0x00010000u, 0x00000000u }) {
            Bytes bytes = file;
            SetU32(bytes, at, value);
            ExpectCleanResult(bytes, std::to_string(at));
        }
    }
    std::mt19937 random(11);
    for (int i = 0; i < 2000; ++i) {
        Bytes bytes = file;
        for (int flips = 1 + random() % 8; flips > 0; --flips)
            bytes[random() % bytes.size()] = uint8_t(random());
        ExpectCleanResult(bytes, "mutation " + std::to_string(i));
    }
}
