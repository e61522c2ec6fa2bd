#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "SyntheticCharacter.h"
#include "support/TempFolder.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t U32At(const Bytes& bytes, size_t at)
{
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

// Sets the locator at position `at` (filled in later) to the bytes from `start` on.
void SetLocator(ByteList& file, size_t at, size_t start)
{
    ByteList locator;
    locator.U32(uint32_t(start));
    locator.U32(uint32_t(file.bytes.size() - start));
    std::copy(locator.bytes.begin(), locator.bytes.end(), file.bytes.begin() + at);
}

const char SoundBytes[] = "RIFF, not looked into";

// A small character laid out field by field, with an uncompressed image and a name
// holding a lone surrogate.
Bytes HandMadeFile()
{
    ByteList file;
    file.U32(0xABCDABC3);
    file.Repeat(32, 0);  // locators

    size_t localized = file.bytes.size();
    file.U16(1);
    file.U16(0x0409);
    file.U32(3);
    file.U16('B');
    file.U16(0xD800);
    file.U16('b');
    file.U16(0);
    file.String("Desc");
    file.String("");
    size_t localizedSize = file.bytes.size() - localized;

    size_t info = file.bytes.size();
    file.U16(1);  // minor version
    file.U16(2);  // major version
    file.U32(uint32_t(localized));
    file.U32(uint32_t(localizedSize));
    file.Repeat(16, 0x77);
    file.U16(8);
    file.U16(4);
    file.U8(3);
    file.U32(kCharacterBalloonEnabled);
    file.U16(2);
    file.U16(0);
    file.U8(2);
    file.U8(30);
    file.U32(0x00112233);
    file.U32(0x00445566);
    file.U32(0x00778899);
    file.String("Arial");
    file.U32(uint32_t(-12));
    file.U32(400);
    file.U8(1);
    file.U8(0);
    file.U32(2);
    file.U32(0x00FF0000);
    file.U32(0x0000FF00);
    file.U8(0);  // no tray icon
    file.U16(1);
    file.String("Showing");
    file.U16(1);
    file.String("Wave");
    SetLocator(file, 4, info);

    size_t animation = file.bytes.size();
    file.String("Wave");
    file.U8(2);
    file.String("");
    file.U16(1);  // frames
    file.U16(1);  // images
    file.U32(0);
    file.U16(uint16_t(-1));
    file.U16(2);
    file.U16(0);  // sound
    file.U16(10);
    file.U16(0xFFFF);  // no exit frame
    file.U8(0);
    file.U8(0);
    size_t animationSize = file.bytes.size() - animation;
    size_t animationList = file.bytes.size();
    file.U32(1);
    file.String("Wave");
    file.U32(uint32_t(animation));
    file.U32(uint32_t(animationSize));
    SetLocator(file, 12, animationList);

    size_t image = file.bytes.size();
    file.U8(1);
    file.U16(3);
    file.U16(2);
    file.U8(0);  // stored as it is
    file.U32(8);
    for (uint8_t pixel : { 1, 2, 3, 0, 4, 5, 6, 0 })
        file.U8(pixel);
    file.U32(0);
    file.U32(0);
    size_t imageSize = file.bytes.size() - image;
    size_t imageList = file.bytes.size();
    file.U32(1);
    file.U32(uint32_t(image));
    file.U32(uint32_t(imageSize));
    file.U32(0x12345678);
    SetLocator(file, 20, imageList);

    size_t sound = file.bytes.size();
    file.Text(SoundBytes);
    size_t soundSize = file.bytes.size() - sound;
    size_t soundList = file.bytes.size();
    file.U32(1);
    file.U32(uint32_t(sound));
    file.U32(uint32_t(soundSize));
    file.U32(0);
    SetLocator(file, 28, soundList);
    return file.bytes;
}

} // namespace

TEST(AcsFileTest, ReadsEachFieldWhereTheLayoutPutsIt)
{
    Bytes file = HandMadeFile();
    CharacterData character;
    std::string error;
    ASSERT_TRUE(ReadCharacter(file.data(), file.size(), character, error)) << error;

    const CharacterInfo& info = character.info;
    EXPECT_EQ(2, info.majorVersion);
    EXPECT_EQ(1, info.minorVersion);
    EXPECT_EQ(0x77, info.guid[15]);
    EXPECT_EQ(8, info.width);
    EXPECT_EQ(4, info.height);
    EXPECT_EQ(3, info.transparentIndex);
    EXPECT_TRUE(info.voice.empty());
    EXPECT_EQ("Arial", info.balloon.fontName);
    EXPECT_EQ(-12, info.balloon.fontHeight);
    EXPECT_EQ(0x00445566u, info.balloon.background);
    EXPECT_TRUE(info.balloon.italic);
    EXPECT_EQ((std::vector<CharacterColor>{ 0x00FF0000, 0x0000FF00 }), info.palette);
    ASSERT_EQ(1u, info.states.size());
    EXPECT_EQ("Showing", info.states[0].name);
    EXPECT_EQ(std::vector<std::string>{ "Wave" }, info.states[0].animations);
    ASSERT_EQ(1u, info.localized.size());
    EXPECT_EQ("B\xEF\xBF\xBD" "b", info.localized[0].name) << "a lone surrogate becomes U+FFFD";
    EXPECT_EQ("Desc", info.localized[0].description);

    ASSERT_EQ(1u, character.animations.size());
    ASSERT_EQ(character.FindAnimation("wave"), &character.animations[0]);
    const CharacterFrame& frame = character.animations[0].frames.at(0);
    ASSERT_EQ(1u, frame.images.size());
    EXPECT_EQ(-1, frame.images[0].x);
    EXPECT_EQ(2, frame.images[0].y);
    EXPECT_EQ(0, frame.audio);
    EXPECT_EQ(10, frame.duration);
    EXPECT_EQ(-1, frame.exitFrame);

    ASSERT_EQ(1u, character.images.size());
    EXPECT_EQ(3, character.images[0].width);
    EXPECT_EQ((Bytes{ 1, 2, 3, 0, 4, 5, 6, 0 }), character.images[0].pixels);
    ASSERT_EQ(1u, character.audio.size());
    EXPECT_EQ(std::string(SoundBytes), std::string(character.audio[0].begin(), character.audio[0].end()));
}

TEST(AcsFileTest, WrittenCharacterReadsBackTheSameAndWritesTheSameBytes)
{
    CharacterData character = MakeSyntheticCharacter();
    std::string error;
    Bytes written = WriteCharacter(character, &error);
    ASSERT_FALSE(written.empty()) << error;
    EXPECT_EQ(kAcsSignature, U32At(written, 0));

    CharacterData read;
    ASSERT_TRUE(ReadCharacter(written.data(), written.size(), read, error)) << error;
    EXPECT_TRUE(read == character);
    EXPECT_EQ("Parl\xC3\xA4", read.info.localized[1].name);
    EXPECT_TRUE(WriteCharacter(read) == written);
}

TEST(AcsFileTest, TextThatIsNotUtf8IsWrittenAsReplacementCharacters)
{
    CharacterData character = MakeSyntheticCharacter();
    character.animations[0].name = "Bad\xC3(\xFF";
    Bytes written = WriteCharacter(character);
    CharacterData read;
    std::string error;
    ASSERT_TRUE(ReadCharacter(written.data(), written.size(), read, error)) << error;
    EXPECT_EQ("Bad\xEF\xBF\xBD(\xEF\xBF\xBD", read.animations[0].name);
}

TEST(AcsFileTest, ReadsFromDiskAndNamesTheFileItCannotRead)
{
    TempFolder folder;
    Bytes written = WriteCharacter(MakeSyntheticCharacter());
    folder.Write("Parla.acs", std::string(written.begin(), written.end()));
    CharacterData read;
    std::string error;
    EXPECT_TRUE(ReadCharacterFile(folder.File("Parla.acs"), read, error)) << error;
    EXPECT_EQ(8u, read.images.size());

    folder.Write("Broken.acs", "not a character");
    EXPECT_FALSE(ReadCharacterFile(folder.File("Broken.acs"), read, error));
    EXPECT_NE(std::string::npos, error.find("Broken.acs"));
    EXPECT_NE(std::string::npos, error.find("too short"));

    EXPECT_FALSE(ReadCharacterFile(folder.File("Missing.acs"), read, error));
    EXPECT_NE(std::string::npos, error.find("Missing.acs"));
}

TEST(AcsFileTest, RefusesToWriteACharacterTheFileCannotHold)
{
    const std::vector<std::pair<const char*, std::function<void(CharacterData&)>>> faults = {
        { "image that does not exist", [](CharacterData& c) { c.animations[0].frames[0].images[0].image = 8; } },
        { "sound that does not exist", [](CharacterData& c) { c.animations[0].frames[0].audio = 2; } },
        { "exits to a frame", [](CharacterData& c) { c.animations[1].frames[0].exitFrame = 5; } },
        { "branches to a frame", [](CharacterData& c) { c.animations[0].frames[1].branches[0].frame = 5; } },
        { "mouth of unknown kind", [](CharacterData& c) { c.animations[0].frames[0].overlays[0].mouth = 7; } },
        { "mouth image", [](CharacterData& c) { c.animations[0].frames[0].overlays[0].image = 8; } },
        { "do not match its size", [](CharacterData& c) { c.images[3].pixels.pop_back(); } },
        { "larger than 4096", [](CharacterData& c) { c.images[3].width = 4097; } },
        { "more than 256 colours", [](CharacterData& c) { c.info.palette.push_back(0); } },
        { "voice", [](CharacterData& c) { c.info.voice.clear(); } },
        { "voice", [](CharacterData& c) { c.info.voice.push_back(0); } },
        { "tray icon", [](CharacterData& c) { c.info.trayIcon.pop_back(); } },
        { "more than 255", [](CharacterData& c) { c.animations[0].frames[1].branches.resize(256); } },
    };
    for (const auto& fault : faults) {
        CharacterData character = MakeSyntheticCharacter();
        fault.second(character);
        std::string error;
        EXPECT_TRUE(WriteCharacter(character, &error).empty()) << fault.first;
        EXPECT_NE(std::string::npos, error.find(fault.first)) << error;
    }
}
