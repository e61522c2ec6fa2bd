// The voice block of a character file: what it holds, and bytes that cannot be one.
#include "SyntheticCharacter.h"
#include "stage/CharacterVoice.h"
#include "stage/SampleCharacter.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// A block laid out field by field, as files hold it.
Bytes DescribedBlock(const char* dialect, const char* style)
{
    ByteList block;
    for (uint8_t i = 0; i < 16; ++i)
        block.U8(uint8_t(0x40 + i));  // engine
    for (uint8_t i = 0; i < 16; ++i)
        block.U8(uint8_t(0x80 + i));  // mode
    block.U32(190);                   // speed
    block.U16(95);                    // pitch
    block.U8(1);
    block.U16(0x0809);
    block.String(dialect);
    block.U16(kVoiceGenderMale);
    block.U16(4);
    block.String(style);
    return block.bytes;
}

TEST(CharacterVoiceTest, ReadsEveryFieldOfABlockLaidOutAsFilesHoldIt)
{
    CharacterVoice voice;
    std::string error;
    ASSERT_TRUE(DecodeCharacterVoice(DescribedBlock("British English", "Formal"), voice, error)) << error;
    EXPECT_EQ(0x40, voice.engine[0]);
    EXPECT_EQ(0x4F, voice.engine[15]);
    EXPECT_EQ(0x80, voice.mode[0]);
    EXPECT_EQ(0x8F, voice.mode[15]);
    EXPECT_EQ(190u, voice.speed);
    EXPECT_EQ(95, voice.pitch);
    EXPECT_TRUE(voice.described);
    EXPECT_EQ(0x0809, voice.languageId);
    EXPECT_EQ("British English", voice.dialect);
    EXPECT_EQ(kVoiceGenderMale, voice.gender);
    EXPECT_EQ(4, voice.age);
    EXPECT_EQ("Formal", voice.style);
}

TEST(CharacterVoiceTest, BlocksWithAndWithoutTheDescriptionGoBackToTheSameBytes)
{
    CharacterVoice plain;
    plain.speed = 120;
    plain.pitch = 200;
    const Bytes plainBytes = EncodeCharacterVoice(plain);
    EXPECT_EQ(size_t(16 + 16 + 4 + 2 + 1), plainBytes.size());

    CharacterVoice described;
    described.described = true;
    described.languageId = 0x0407;
    described.dialect = "Deutsch (\xC3\x96sterreich)";  // beyond ASCII
    described.gender = kVoiceGenderFemale;
    described.style = "";

    for (const CharacterVoice& voice : { plain, described }) {
        CharacterVoice read;
        std::string error;
        ASSERT_TRUE(DecodeCharacterVoice(EncodeCharacterVoice(voice), read, error)) << error;
        EXPECT_TRUE(read == voice);
    }
    const Bytes laidOut = DescribedBlock("Scots", "");
    CharacterVoice read;
    std::string error;
    ASSERT_TRUE(DecodeCharacterVoice(laidOut, read, error));
    EXPECT_EQ(laidOut, EncodeCharacterVoice(read));
}

TEST(CharacterVoiceTest, RefusesBytesThatCannotHoldAVoiceAndSaysWhy)
{
    const Bytes whole = DescribedBlock("English", "Casual");
    struct Fault {
        const char* what;
        Bytes bytes;
        const char* reason;
    };
    Bytes runningPast = whole;
    runningPast[16 + 16 + 4 + 2 + 1 + 2] = 0xFF;  // the dialect's count
    Bytes hugeCount = whole;
    hugeCount[16 + 16 + 4 + 2 + 1 + 2 + 3] = 0x80;
    Bytes leftOver = whole;
    leftOver.push_back(0);
    const std::vector<Fault> faults = {
        { "nothing", {}, "ends early" },
        { "ids cut short", Bytes(whole.begin(), whole.begin() + 20), "ends early" },
        { "without its flag", Bytes(whole.begin(), whole.begin() + 38), "ends early" },
        { "style cut short", Bytes(whole.begin(), whole.end() - 3), "ends early" },
        { "dialect running past the end", runningPast, "ends early" },
        { "count near 2^31", hugeCount, "ends early" },
        { "a byte left over", leftOver, "left over" },
    };
    for (const Fault& fault : faults) {
        CharacterVoice voice;
        voice.speed = 77;
        std::string error;
        EXPECT_FALSE(DecodeCharacterVoice(fault.bytes, voice, error)) << fault.what;
        EXPECT_NE(std::string::npos, error.find(fault.reason)) << fault.what << ": " << error;
        EXPECT_EQ(77u, voice.speed) << fault.what << ": a refused block changes nothing";
    }
    // Reading from a longer stretch takes just the block.
    Bytes followed = whole;
    followed.insert(followed.end(), { 1, 2, 3 });
    CharacterVoice voice;
    std::string error;
    EXPECT_EQ(whole.size(), ReadCharacterVoice(followed.data(), followed.size(), voice, error));
}

TEST(CharacterVoiceTest, ACharacterFileCarriesTheVoiceAndTheSoundsTheSampleIsGiven)
{
    CharacterData character = MakeSampleCharacter();
    CharacterVoice voice;
    voice.speed = 210;
    voice.pitch = 180;
    voice.described = true;
    voice.languageId = 0x0409;
    voice.gender = kVoiceGenderFemale;
    SetSampleVoice(character, voice);
    const Bytes tone = MakeSampleTone(101, 440);  // an odd number of samples
    ASSERT_TRUE(AddSampleSounds(character, { { "Wave", 1, tone }, { "Showing", 0, { 'R', 'I', 'F', 'F' } } }));
    EXPECT_FALSE(AddSampleSounds(character, { { "Wave", 99, tone } }));
    EXPECT_FALSE(AddSampleSounds(character, { { "Nowhere", 0, tone } }));

    std::string error;
    const Bytes file = WriteCharacter(character, &error);
    ASSERT_FALSE(file.empty()) << error;
    CharacterData read;
    ASSERT_TRUE(ReadCharacter(file.data(), file.size(), read, error)) << error;
    CharacterVoice readVoice;
    ASSERT_TRUE(DecodeCharacterVoice(read.info.voice, readVoice, error)) << error;
    EXPECT_TRUE(readVoice == voice);
    ASSERT_EQ(2u, read.audio.size());
    EXPECT_EQ(tone, read.audio[read.FindAnimation("Wave")->frames[1].audio]);
    EXPECT_EQ(1, read.FindAnimation("Showing")->frames[0].audio);
    // A whole number of 2-byte chunks; the RIFF size counts everything after itself.
    EXPECT_EQ(0u, tone.size() % 2);
    EXPECT_EQ(tone.size() - 8, size_t(tone[4] | tone[5] << 8 | tone[6] << 16 | tone[7] << 24));
}

} // namespace
