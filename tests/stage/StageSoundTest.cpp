// The sounds a character's frames name: which the stage hands to the system and when
// it cuts them off, watched through the sound observer; and the checks that keep bytes
// that are not wave data away from the system. This machine has no sound device, so
// these runs also show that the stage goes on as before without one.
#include "StageTestSupport.h"
#include "SyntheticCharacter.h"
#include "stage/SampleCharacter.h"
#include "stage/SoundOutput.h"
#include "stage/WaveSound.h"
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

const DWORD kDeadline = 10000;

struct SoundEvent {
    const Bytes* wave;  // null: cut off
    DWORD at;
};

std::vector<SoundEvent> recorded;

void Record(const SoundOutput*, const Bytes* wave)
{
    recorded.push_back({ wave, ::GetTickCount() });
}

// Each frame's own tone, so that a sound names the frame it came from.
const Bytes ShowingTone = MakeSampleTone(300, 330);
const Bytes WaveTone = MakeSampleTone(2000, 440);
const Bytes PonderingTone = MakeSampleTone(5000, 550);
const Bytes NotAWave = { 'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' ' };

class StageSoundTest : public testing::Test {
protected:
    StageSoundTest() { previous_ = SetSoundObserver(Record); }
    ~StageSoundTest() override { SetSoundObserver(previous_); }
    void SetUp() override { recorded.clear(); }

    static CharacterData Character()
    {
        CharacterData character = MakeSampleCharacter();
        EXPECT_TRUE(AddSampleSounds(character, { { "Showing", 0, ShowingTone },
                                                 { "Wave", 2, WaveTone },
                                                 { "Wave", 4, NotAWave },
                                                 { "Pondering", 1, PonderingTone } }));
        return character;
    }

    bool Finish(const AgentRequest& request) { return PumpUntil([&] { return IsDone(request); }, kDeadline); }
    bool AwaitSounds(size_t count) { return PumpUntil([&] { return recorded.size() >= count; }, kDeadline); }

    LoadedStage stage{ Character() };

private:
    SoundObserver previous_ = nullptr;
};

TEST_F(StageSoundTest, AFrameStartsItsSoundWhenItIsShownAndANewPlayCutsTheLastOneOff)
{
    const AgentRequest show = stage.Show(false);
    ASSERT_TRUE(Finish(show));
    ASSERT_EQ(1u, recorded.size());
    EXPECT_EQ(ShowingTone, *recorded[0].wave) << "the first frame sounds as the window appears";

    // An animation without sounds still cuts off the one before.
    ASSERT_TRUE(Finish(stage.character.Play("Blink")));
    ASSERT_EQ(2u, recorded.size());
    EXPECT_EQ(nullptr, recorded[1].wave);

    // The third frame sounds, two frames of 120 ms in; the fifth frame's bytes are no
    // wave and are skipped.
    const DWORD asked = ::GetTickCount();
    const AgentRequest wave = stage.character.Play("Wave");
    ASSERT_TRUE(Finish(wave));
    EXPECT_EQ(0, wave.GetStatus());
    ASSERT_EQ(3u, recorded.size());
    ASSERT_NE(nullptr, recorded[2].wave);
    EXPECT_EQ(WaveTone, *recorded[2].wave);
    EXPECT_GE(recorded[2].at - asked, 240u);

    // The sound outlives its animation, as a sound does, until the next one begins.
    ASSERT_TRUE(Finish(stage.character.Play("Wave")));
    ASSERT_EQ(5u, recorded.size());
    EXPECT_EQ(nullptr, recorded[3].wave);
    EXPECT_EQ(WaveTone, *recorded[4].wave);
}

TEST_F(StageSoundTest, StopAllAndHidingCutTheSoundOff)
{
    ASSERT_TRUE(Finish(stage.Show(true)));
    EXPECT_TRUE(recorded.empty()) << "a character shown without its animation makes no sound";

    const AgentRequest ponder = stage.character.Play("Pondering");
    ASSERT_TRUE(AwaitSounds(1));
    EXPECT_EQ(PonderingTone, *recorded[0].wave);
    CVariant all;
    EXPECT_EQ(S_OK, stage.character.StopAll(all.value()));
    ASSERT_EQ(2u, recorded.size());
    EXPECT_EQ(nullptr, recorded[1].wave);
    EXPECT_EQ(3, ponder.GetStatus());

    const AgentRequest wave = stage.character.Play("Wave");
    ASSERT_TRUE(Finish(wave));
    ASSERT_EQ(3u, recorded.size());
    ASSERT_TRUE(Finish(stage.Hide(true)));
    ASSERT_EQ(4u, recorded.size());
    EXPECT_EQ(nullptr, recorded[3].wave) << "the sound goes with the character";
    EXPECT_FALSE(IsWindowVisible(CharacterWindow()));
}

TEST_F(StageSoundTest, AHiddenCharacterMakesNoSound)
{
    const AgentRequest wave = stage.character.Play("Wave");
    ASSERT_TRUE(Finish(wave));
    EXPECT_TRUE(recorded.empty());
}

// RIFF WAVE data built chunk by chunk.
class WaveBytes {
public:
    WaveBytes& Chunk(const char* id, const Bytes& body, uint32_t claimed = 0xFFFFFFFF)
    {
        list_.Text(id);
        list_.U32(claimed == 0xFFFFFFFF ? uint32_t(body.size()) : claimed);
        list_.bytes.insert(list_.bytes.end(), body.begin(), body.end());
        if (body.size() % 2)
            list_.U8(0);
        return *this;
    }
    WaveBytes& Pcm(uint16_t channels = 1, uint16_t bits = 8, uint16_t align = 1)
    {
        ByteList format;
        format.U16(1);
        format.U16(channels);
        format.U32(11025);
        format.U32(11025u * align);
        format.U16(align);
        format.U16(bits);
        return Chunk("fmt ", format.bytes);
    }
    Bytes Done(int riffSizeChange = 0) const
    {
        ByteList file;
        file.Text("RIFF");
        file.U32(uint32_t(4 + list_.bytes.size() + riffSizeChange));
        file.Text("WAVE");
        file.bytes.insert(file.bytes.end(), list_.bytes.begin(), list_.bytes.end());
        return file.bytes;
    }

private:
    ByteList list_;
};

TEST(WaveSoundTest, FindsTheFormatAndTheSamplesPastOtherChunks)
{
    const Bytes samples(101, 0x80);
    const Bytes wave = WaveBytes().Chunk("LIST", Bytes(5, 'x')).Pcm().Chunk("data", samples).Done();
    WaveSound sound;
    ASSERT_TRUE(FindWaveSound(wave, sound));
    EXPECT_EQ(1, sound.formatTag);
    EXPECT_EQ(11025u, sound.samplesPerSecond);
    EXPECT_EQ(101u, sound.sampleBytes);
    EXPECT_EQ(wave.data() + wave.size() - 102, sound.samples);

    // 16-bit stereo takes whole blocks of four bytes only.
    const Bytes stereo = WaveBytes().Pcm(2, 16, 4).Chunk("data", Bytes(10, 0)).Done();
    ASSERT_TRUE(FindWaveSound(stereo, sound));
    EXPECT_EQ(8u, sound.sampleBytes);

    // A compressed format with its extra bytes, as character files may hold.
    ByteList adpcm;
    adpcm.U16(2);
    adpcm.U16(1);
    adpcm.U32(22050);
    adpcm.U32(11100);
    adpcm.U16(512);
    adpcm.U16(4);
    adpcm.U16(2);
    adpcm.U16(1012);
    EXPECT_TRUE(FindWaveSound(WaveBytes().Chunk("fmt ", adpcm.bytes).Chunk("data", Bytes(1024, 7)).Done(), sound));
    EXPECT_EQ(2, sound.formatTag);
    EXPECT_EQ(20u, sound.formatSize);

    EXPECT_TRUE(FindWaveSound(MakeSampleTone(101, 440), sound));
}

TEST(WaveSoundTest, RefusesBytesThatAreNoWaveOrClaimMoreThanTheyHold)
{
    const Bytes samples(64, 0x80);
    ByteList shortFormat;
    shortFormat.U16(1);
    shortFormat.U16(1);
    ByteList compressedTooShort;
    for (uint16_t field : { 2, 1, 0, 0, 0, 0, 512, 4 })
        compressedTooShort.U16(field);
    ByteList extraBeyondChunk = compressedTooShort;
    extraBeyondChunk.U16(40);
    Bytes avi = WaveBytes().Pcm().Chunk("data", samples).Done();
    std::copy_n("AVI ", 4, avi.begin() + 8);
    compressedTooShort.bytes[4] = 0x11;  // a rate, so that only the size is wrong
    extraBeyondChunk.bytes[4] = 0x11;
    const std::vector<std::pair<const char*, Bytes>> faults = {
        { "nothing", {} },
        { "a tray of bytes", Bytes(100, 0x52) },
        { "an AVI", avi },
        { "RIFF size beyond the bytes", WaveBytes().Pcm().Chunk("data", samples).Done(2) },
        { "RIFF size below its own signature", WaveBytes().Pcm().Chunk("data", samples).Done(-int(4 + 24 + 72 + 1)) },
        { "samples beyond the RIFF size", WaveBytes().Pcm().Chunk("data", samples).Done(-8) },
        { "data chunk claiming more", WaveBytes().Pcm().Chunk("data", samples, 0x7FFFFFFF).Done() },
        { "data chunk claiming 4 GB", WaveBytes().Pcm().Chunk("data", samples, 0xFFFFFFF0).Done() },
        { "samples before the format", WaveBytes().Chunk("data", samples).Pcm().Done() },
        { "no samples", WaveBytes().Pcm().Done() },
        { "no whole block", WaveBytes().Pcm(2, 16, 4).Chunk("data", Bytes(3, 0)).Done() },
        { "two formats", WaveBytes().Pcm().Pcm().Chunk("data", samples).Done() },
        { "format cut short", WaveBytes().Chunk("fmt ", shortFormat.bytes).Chunk("data", samples).Done() },
        { "no channels", WaveBytes().Pcm(0, 8, 1).Chunk("data", samples).Done() },
        { "block size not the sample size", WaveBytes().Pcm(2, 16, 3).Chunk("data", samples).Done() },
        { "12-bit PCM", WaveBytes().Pcm(1, 12, 2).Chunk("data", samples).Done() },
        { "compressed without its size", WaveBytes().Chunk("fmt ", compressedTooShort.bytes).Chunk("data", samples).Done() },
        { "compressed extra beyond the chunk", WaveBytes().Chunk("fmt ", extraBeyondChunk.bytes).Chunk("data", samples).Done() },
    };
    for (const auto& fault : faults) {
        WaveSound sound;
        EXPECT_FALSE(FindWaveSound(fault.second, sound)) << fault.first;
        EXPECT_EQ(nullptr, sound.samples) << fault.first;
    }
}

} // namespace
