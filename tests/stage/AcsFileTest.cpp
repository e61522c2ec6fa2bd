// Character files as real ones are laid out, built here byte by byte rather than by the
// writer, and what the writer makes of characters.
#include "AcsLayout.h"
#include "StageTestSupport.h"
#include "SyntheticCharacter.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "stage/AnimationPlayer.h"
#include "stage/FrameComposer.h"
#include "support/TempFolder.h"
#include <algorithm>
#include <array>
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

// The format description's own compressed example: the 32-byte header of an empty region.
const Bytes CompressedRegion = { 0x00, 0x40, 0x00, 0x04, 0x10, 0xD0, 0x90, 0x80, 0x42, 0xED,
                                 0x98, 0x01, 0xB7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF };

// One frame: images as (index, x, y), a sound or 0xFFFF, exit frame, branches, and mouths
// as (mouth, image).
void Frame(ByteList& file, std::initializer_list<std::array<int, 3>> images, uint16_t sound, int16_t exit,
           std::initializer_list<std::array<int, 2>> branches, std::initializer_list<std::array<int, 2>> mouths)
{
    file.U16(uint16_t(images.size()));
    for (const auto& image : images) {
        file.U32(uint32_t(image[0]));
        file.U16(uint16_t(image[1]));
        file.U16(uint16_t(image[2]));
    }
    file.U16(sound);
    file.U16(10);  // duration
    file.U16(uint16_t(exit));
    file.U8(uint8_t(branches.size()));
    for (const auto& branch : branches) {
        file.U16(uint16_t(branch[0]));
        file.U16(uint16_t(branch[1]));
    }
    file.U8(uint8_t(mouths.size()));
    for (const auto& mouth : mouths) {
        file.U8(uint8_t(mouth[0]));
        file.U8(0);  // adds to the frame's images
        file.U16(uint16_t(mouth[1]));
        file.U8(0);
        file.U8(0);  // no region
        file.Repeat(8, 0);  // position and size
    }
}

// A small character in the layout real files have: animations, images and the sound,
// then the character info last with its name list at its end. Its animation names
// repeat in upper case; Wave loops through frames that exit by -2 and shows an empty
// image slot (a lone zero byte) as a frame image and as a mouth; the balloon's colours
// are stored red first.
Bytes RealLayoutFile()
{
    ByteList file;
    file.U32(0xABCDABC3);
    file.Repeat(32, 0);  // locators

    const size_t rest = file.bytes.size();
    file.String("RESTPOSE");
    file.U8(2);  // no transition
    file.String("");
    file.U16(1);
    Frame(file, { { 0, 0, 0 } }, 0xFFFF, -1, {}, {});
    const size_t restSize = file.bytes.size() - rest;
    const size_t wave = file.bytes.size();
    file.String("WAVE");
    file.U8(0);  // a return animation
    file.String("RESTPOSE");
    file.U16(3);
    Frame(file, { { 1, 0, 0 }, { 0, -1, 2 } }, 0, -2, {}, { { kMouthWide1, 1 } });
    Frame(file, { { 0, 0, 0 } }, 0xFFFF, -2, { { 0, 100 } }, {});
    Frame(file, { { 0, 0, 0 } }, 0xFFFF, -1, {}, {});
    const size_t waveSize = file.bytes.size() - wave;
    const size_t animationList = file.bytes.size();
    file.U32(2);
    file.String("RestPose");
    file.U32(uint32_t(rest));
    file.U32(uint32_t(restSize));
    file.String("Wave");
    file.U32(uint32_t(wave));
    file.U32(uint32_t(waveSize));
    SetLocator(file, 12, animationList);

    const size_t image = file.bytes.size();
    file.U8(1);  // present
    file.U16(3);
    file.U16(2);
    file.U8(0);  // pixels stored as they are
    file.U32(8);
    for (uint8_t pixel : { 0, 1, 3, 0, 2, 2, 2, 0 })  // bottom row first; 3 is transparent
        file.U8(pixel);
    file.U32(uint32_t(CompressedRegion.size()));
    file.U32(32);
    file.bytes.insert(file.bytes.end(), CompressedRegion.begin(), CompressedRegion.end());
    const size_t imageSize = file.bytes.size() - image;
    const size_t emptySlot = file.bytes.size();
    file.U8(0);
    const size_t imageList = file.bytes.size();
    file.U32(2);
    file.U32(uint32_t(image));
    file.U32(uint32_t(imageSize));
    file.U32(0x12345678);
    file.U32(uint32_t(emptySlot));
    file.U32(1);
    file.U32(0x9ABCDEF0);
    SetLocator(file, 20, imageList);

    const size_t sound = file.bytes.size();
    file.Text(SoundBytes);
    const size_t soundSize = file.bytes.size() - sound;
    const size_t soundList = file.bytes.size();
    file.U32(1);
    file.U32(uint32_t(sound));
    file.U32(uint32_t(soundSize));
    file.U32(0x0BADF00D);
    SetLocator(file, 28, soundList);

    const size_t info = file.bytes.size();
    file.U16(1);  // minor version
    file.U16(2);  // major version
    const size_t namesLocator = file.bytes.size();
    file.Repeat(8, 0);
    file.Repeat(16, 0x77);
    file.U16(8);
    file.U16(4);
    file.U8(3);
    file.U32(kCharacterBalloonEnabled);
    file.U16(2);
    file.U16(0);
    file.U8(2);
    file.U8(30);
    for (uint8_t byte : { 0x10, 0x20, 0x30, 0x00, 0xFF, 0xFF, 0xE1, 0x00, 0x40, 0x50, 0x60, 0x00 })
        file.U8(byte);  // foreground, background, border: red, green, blue, 0
    file.String("Arial");
    file.U32(uint32_t(-12));
    file.U32(400);
    file.U8(1);
    file.U8(0);
    file.U32(4);
    file.U32(0x00FF0000);  // blue, green, red, 0: red
    file.U32(0x0000FF00);
    file.U32(0x000000FF);
    file.U32(0x00000000);
    file.U8(0);  // no tray icon
    file.U16(1);
    file.String("Showing");
    file.U16(1);
    file.String("Wave");
    const size_t names = file.bytes.size();
    file.U16(1);
    file.U16(0x0409);
    file.U32(3);
    file.U16('B');
    file.U16(0xD800);
    file.U16('b');
    file.U16(0);
    file.String("Desc");
    file.String("");
    SetLocator(file, namesLocator, names);
    SetLocator(file, 4, info);
    return file.bytes;
}

CharacterData ReadOrFail(const Bytes& file)
{
    CharacterData character;
    std::string error;
    EXPECT_TRUE(ReadCharacter(file.data(), file.size(), character, error)) << error;
    return character;
}

size_t FrameIndex(const AnimationPlayer& player, const CharacterAnimation& animation)
{
    return size_t(player.Frame() - animation.frames.data());
}

} // namespace

TEST(AcsFileTest, ReadsEachFieldWhereTheRealLayoutPutsIt)
{
    const CharacterData character = ReadOrFail(RealLayoutFile());
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
    EXPECT_TRUE(info.balloon.italic);
    EXPECT_EQ((std::vector<CharacterColor>{ 0x00FF0000, 0x0000FF00, 0x000000FF, 0 }), info.palette);
    ASSERT_EQ(1u, info.states.size());
    EXPECT_EQ("Showing", info.states[0].name);
    EXPECT_EQ(std::vector<std::string>{ "Wave" }, info.states[0].animations);
    // The name list, inside the info block after the states.
    ASSERT_EQ(1u, info.localized.size());
    EXPECT_EQ("B\xEF\xBF\xBD" "b", info.localized[0].name) << "a lone surrogate becomes U+FFFD";
    EXPECT_EQ("Desc", info.localized[0].description);

    ASSERT_EQ(2u, character.animations.size());
    const CharacterAnimation* wave = character.FindAnimation("wave");
    ASSERT_EQ(&character.animations[1], wave);
    EXPECT_EQ("Wave", wave->name) << "the list's spelling stands";
    EXPECT_EQ("RESTPOSE", wave->returnAnimation);
    const CharacterFrame& frame = wave->frames.at(0);
    ASSERT_EQ(2u, frame.images.size());
    EXPECT_EQ(-1, frame.images[1].x);
    EXPECT_EQ(2, frame.images[1].y);
    EXPECT_EQ(0, frame.audio);
    EXPECT_EQ(10, frame.duration);
    EXPECT_EQ(-1, wave->frames[1].audio);

    ASSERT_EQ(2u, character.images.size());
    EXPECT_EQ(3, character.images[0].width);
    EXPECT_EQ((Bytes{ 0, 1, 3, 0, 2, 2, 2, 0 }), character.images[0].pixels);
    Bytes emptyRegionHeader(32, 0);
    emptyRegionHeader[0] = 0x20;
    emptyRegionHeader[4] = 0x01;
    emptyRegionHeader[12] = 0xA8;
    EXPECT_TRUE(character.images[0].region == emptyRegionHeader);
    ASSERT_EQ(1u, character.audio.size());
    EXPECT_EQ(std::string(SoundBytes), std::string(character.audio[0].begin(), character.audio[0].end()));
}

TEST(AcsFileTest, ExitFramesOfMinusTwoMeanNoneAndTheLoopStillEnds)
{
    const CharacterData character = ReadOrFail(RealLayoutFile());
    const CharacterAnimation& wave = *character.FindAnimation("Wave");
    EXPECT_EQ(-2, wave.frames[0].exitFrame);
    EXPECT_EQ(-2, wave.frames[1].exitFrame);

    // Frame 1 loops back to frame 0; asked to end, the loop goes straight on to frame 2.
    std::mt19937 random(3);
    AnimationPlayer player(wave, random);
    player.Start(0);
    player.Advance(500);
    EXPECT_LT(FrameIndex(player, wave), 2u);
    player.EndAtLoop();
    DWORD now = 500;
    while (!player.Finished() && now < 2000)
        player.Advance(now += 10);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(2u, FrameIndex(player, wave));

    // Asked to exit at once from frame 0, it has no exit frame to jump to and goes on.
    AnimationPlayer exiting(wave, random);
    exiting.Start(0);
    exiting.ExitNow();
    exiting.Advance(100);
    EXPECT_EQ(1u, FrameIndex(exiting, wave));
}

TEST(AcsFileTest, EmptyImageSlotsDrawNothingAsFrameImagesOrMouths)
{
    const CharacterData character = ReadOrFail(RealLayoutFile());
    ASSERT_EQ(2u, character.images.size());
    EXPECT_TRUE(character.images[0].present);
    EXPECT_FALSE(character.images[1].present);
    EXPECT_EQ(0, character.images[1].width);

    // The frame with the slot on top and as its mouth draws as the image alone does.
    const CharacterFrame& withSlot = character.FindAnimation("Wave")->frames[0];
    CharacterFrame imageAlone;
    imageAlone.images = { withSlot.images[1] };
    const FrameComposer composer(character);
    std::vector<uint32_t> alone(8 * 4), framed(8 * 4), talking(8 * 4);
    composer.Compose(&imageAlone, kNoMouth, alone.data());
    composer.Compose(&withSlot, kNoMouth, framed.data());
    composer.Compose(&withSlot, kMouthWide1, talking.data());
    // Of its six pixels two lie left of the frame and one is transparent.
    EXPECT_EQ(3, std::count_if(alone.begin(), alone.end(), [](uint32_t pixel) { return pixel != 0; }));
    EXPECT_TRUE(framed == alone);
    EXPECT_TRUE(talking == alone);
}

TEST(AcsFileTest, BalloonColoursAreStoredRedFirst)
{
    const CharacterData character = ReadOrFail(RealLayoutFile());
    EXPECT_EQ(0x00FFFFE1u, character.info.balloon.background) << "RGB(255, 255, 225), the pale yellow";
    EXPECT_EQ(0x00102030u, character.info.balloon.foreground);
    EXPECT_EQ(0x00405060u, character.info.balloon.border);

    // Written back, the bytes are as they were: FF FF E1 00 for the background.
    const AcsLayout written = ReadAcsLayout(WriteCharacter(character));
    EXPECT_EQ(0x00302010u, written.balloonColors[0]);
    EXPECT_EQ(0x00E1FFFFu, written.balloonColors[1]);
    EXPECT_EQ(0x00605040u, written.balloonColors[2]);
}

TEST(AcsFileTest, TheHandBuiltCharacterPlaysOnTheStage)
{
    const LoadedStage stage(RealLayoutFile());
    ASSERT_TRUE(stage.character.IsValid());
    std::vector<AgentRequest> requests;
    requests.push_back(stage.Show(false));
    requests.push_back(stage.character.Play("Wave"));
    requests.push_back(stage.Speak("Hello from the hand-built file"));
    ASSERT_TRUE(PumpUntil([&] { return IsDone(requests.back()); }, 10000));
    for (const AgentRequest& request : requests)
        EXPECT_EQ(0, request.GetStatus());
}

TEST(AcsFileTest, RefusesAnAgent15CharacterSayingWhatItIs)
{
    TempFolder folder;
    const Bytes compoundDocument = { 0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1 };
    std::string old(compoundDocument.begin(), compoundDocument.end());
    old.resize(1536, '\0');
    folder.Write("Old.acs", old);
    CharacterData character;
    std::string error;
    EXPECT_FALSE(ReadCharacterFile(folder.File("Old.acs"), character, error));
    EXPECT_NE(std::string::npos, error.find("an Agent 1.5 character, which this program cannot play")) << error;
    EXPECT_EQ(std::string::npos, error.find("signature")) << error;
}

TEST(AcsFileTest, TheHandBuiltFileHasTheLayoutTheCheckExpects)
{
    // The check that the writer's files are held to passes a file laid out by hand.
    const AcsLayout layout = ReadAcsLayout(RealLayoutFile());
    EXPECT_TRUE(layout.problems.empty()) << testing::PrintToString(layout.problems);
}

TEST(AcsFileTest, WritesTheLayoutOfRealFiles)
{
    const Bytes written = WriteCharacter(MakeSyntheticCharacter());
    ASSERT_FALSE(written.empty());
    const AcsLayout layout = ReadAcsLayout(written);
    EXPECT_TRUE(layout.problems.empty()) << testing::PrintToString(layout.problems);

    // The hand-built file, read and written again, keeps its layout too.
    const Bytes rewritten = WriteCharacter(ReadOrFail(RealLayoutFile()));
    const AcsLayout again = ReadAcsLayout(rewritten);
    EXPECT_TRUE(again.problems.empty()) << testing::PrintToString(again.problems);
    EXPECT_TRUE(ReadOrFail(rewritten) == ReadOrFail(RealLayoutFile()));
}

TEST(AcsFileTest, LayoutCheckFindsEachDeparture)
{
    const Bytes good = RealLayoutFile();
    const size_t imageList = U32At(good, 20);
    const size_t image = U32At(good, imageList + 4);
    const size_t info = U32At(good, 4);
    const std::vector<std::pair<const char*, std::function<void(Bytes&)>>> departures = {
        { "does not open with 1", [&](Bytes& f) { f[image] = 2; } },
        { "zero checksum", [&](Bytes& f) { std::fill_n(f.begin() + imageList + 12, 4, 0); } },
        { "no compressed region", [&](Bytes& f) { std::fill_n(f.begin() + image + 18, 4, 0); } },
        { "upper case", [&](Bytes& f) { f[U32At(good, U32At(good, 12) + 26) + 4] = 'r'; } },
        { "does not end the file", [&](Bytes& f) { f.push_back(0); } },
        { "does not follow the state list", [&](Bytes& f) { f[info + 4] += 2; } },
    };
    for (const auto& departure : departures) {
        Bytes file = good;
        departure.second(file);
        const std::string problems = testing::PrintToString(ReadAcsLayout(file).problems);
        EXPECT_NE(std::string::npos, problems.find(departure.first)) << departure.first << ": " << problems;
    }
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
    EXPECT_EQ(9u, read.images.size());

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
        { "image that does not exist", [](CharacterData& c) { c.animations[0].frames[0].images[0].image = 9; } },
        { "sound that does not exist", [](CharacterData& c) { c.animations[0].frames[0].audio = 2; } },
        { "exits to a frame", [](CharacterData& c) { c.animations[1].frames[0].exitFrame = 5; } },
        { "branches to a frame", [](CharacterData& c) { c.animations[0].frames[1].branches[0].frame = 5; } },
        { "mouth of unknown kind", [](CharacterData& c) { c.animations[0].frames[0].overlays[0].mouth = 7; } },
        { "mouth image", [](CharacterData& c) { c.animations[0].frames[0].overlays[0].image = 9; } },
        { "do not match its size", [](CharacterData& c) { c.images[3].pixels.pop_back(); } },
        { "larger than 4096", [](CharacterData& c) { c.images[3].width = 4097; } },
        { "more than 256 colours", [](CharacterData& c) { c.info.palette.push_back(0); } },
        { "voice", [](CharacterData& c) { c.info.voice.clear(); } },
        { "voice", [](CharacterData& c) { c.info.voice.push_back(0); } },
        { "tray icon", [](CharacterData& c) { c.info.trayIcon.pop_back(); } },
        { "exits to a frame", [](CharacterData& c) { c.animations[1].frames[0].exitFrame = -0x8001; } },
        { "return animation in lower case", [](CharacterData& c) { c.animations[0].returnAnimation = "RestPose"; } },
        { "empty slot with a size", [](CharacterData& c) { c.images[8].width = 1; } },
        { "empty slot with a size or region", [](CharacterData& c) { c.images[8].region = c.images[0].region; } },
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
