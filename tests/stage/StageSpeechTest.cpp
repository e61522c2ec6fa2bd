// A character's own voice: its voice block sets how fast and how high the system's
// voice speaks for it and which installed voice speaks. Speech is silent on this
// machine, so a recording voice stands where the stage looks for the system's.
#include "RecordingVoice.h"
#include "StageTestSupport.h"
#include "stage/SampleCharacter.h"
#include "stage/SpeechSettings.h"
#include <gtest/gtest.h>

namespace {

const DWORD kDeadline = 10000;

const std::vector<RecordingVoice::Installed> kInstalled = {
    { "Sam", "Vendor=Test;Language=409;Gender=Male;Age=Adult" },
    { "Mary", "Vendor=Test;Language=409;Gender=Female;Age=Adult" },
    { "Anna", "Vendor=Test;Language=407;Gender=Female;Age=Adult" },
};

CharacterData Voiced(uint32_t speed, uint16_t pitch, uint16_t language, uint16_t gender)
{
    CharacterData character = MakeSampleCharacter();
    CharacterVoice voice;
    voice.speed = speed;
    voice.pitch = pitch;
    voice.described = language != 0 || gender != kVoiceGenderNeutral;
    voice.languageId = language;
    voice.gender = gender;
    SetSampleVoice(character, voice);
    return character;
}

class StageSpeechTest : public testing::Test {
protected:
    StageSpeechTest() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~StageSpeechTest() override { ::CoUninitialize(); }

    // Says the text and waits until it is said; the voice's calls.
    std::vector<RecordingVoice::Call> Say(const CharacterData& character, const std::string& text)
    {
        RecordingVoice voice(kInstalled);
        {
            LoadedStage stage(character);
            const AgentRequest speak = stage.Speak(text);
            EXPECT_TRUE(PumpUntil([&] { return IsDone(speak); }, kDeadline));
            EXPECT_EQ(0, speak.GetStatus());
        }
        return voice.Calls();
    }
};

TEST_F(StageSpeechTest, TheCharactersSpeedPitchAndKindOfVoiceReachTheSpeechCalls)
{
    // Twice the usual speed, a woman's voice a little high, in US English. The greeting
    // page's test (sounds-and-voice.test.js) speaks this speed and pitch at rate 2 and
    // pitch 1.2 of the browser's normal voice.
    const CharacterData character = Voiced(300, 240, 0x0409, kVoiceGenderFemale);
    CharacterVoice voice;
    std::string error;
    ASSERT_TRUE(DecodeCharacterVoice(character.info.voice, voice, error)) << error;
    EXPECT_DOUBLE_EQ(2.0, RelativeVoiceSpeed(voice));
    EXPECT_DOUBLE_EQ(1.2, RelativeVoicePitch(voice));
    const auto calls = Say(character, "Hi <you> & me");
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ("GetVoices", calls[0].what);
    EXPECT_EQ("Language=409;Gender=Female", calls[0].text);
    EXPECT_EQ("Voice", calls[1].what);
    EXPECT_EQ("Mary", calls[1].text);
    EXPECT_EQ("Speak", calls[2].what);
    EXPECT_EQ("<rate absspeed=\"6\"><pitch absmiddle=\"3\">Hi &lt;you&gt; &amp; me</pitch></rate>", calls[2].text);
    EXPECT_EQ(1 | 8, calls[2].flags) << "spoken at once, as markup";
}

TEST_F(StageSpeechTest, TheLanguageCountsBeforeTheGenderAndAMissingVoiceLeavesTheDefault)
{
    // No German man is installed: a German voice speaks, at the normal speed and pitch,
    // as a page speaks this voice at rate 1 and pitch 1.
    auto calls = Say(Voiced(150, 120, 0x0407, kVoiceGenderMale), "Guten Tag");
    std::vector<std::string> seen;
    for (const auto& call : calls)
        seen.push_back(call.what + " " + call.text);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ("GetVoices Language=407;Gender=Male", seen[0]);
    EXPECT_EQ("GetVoices Language=407", seen[1]);
    EXPECT_EQ("Voice Anna", seen[2]);
    EXPECT_EQ("Speak <rate absspeed=\"0\"><pitch absmiddle=\"0\">Guten Tag</pitch></rate>", seen[3]);

    // Nothing in Japanese: every wish asked, no voice chosen, the speed still set.
    calls = Say(Voiced(100, 0, 0x0411, kVoiceGenderNeutral), "Konnichiwa");
    ASSERT_GE(calls.size(), 2u);
    for (const auto& call : calls)
        EXPECT_NE("Voice", call.what);
    EXPECT_EQ("GetVoices", calls[0].what);
    EXPECT_EQ("Language=411", calls[0].text);
    EXPECT_EQ("Speak", calls[1].what);
    EXPECT_EQ("<rate absspeed=\"-4\">Konnichiwa</rate>", calls[1].text);
}

TEST_F(StageSpeechTest, ACharacterWithoutVoiceSettingsSpeaksAsBefore)
{
    const CharacterData plain = MakeSampleCharacter();
    ASSERT_TRUE(plain.info.voice.empty());
    RecordingVoice voice(kInstalled);
    {
        LoadedStage stage(plain);
        const AgentRequest speak = stage.Speak("Hi <you> & me");
        ASSERT_TRUE(PumpUntil([&] { return IsDone(speak); }, kDeadline));
    }
    ASSERT_FALSE(voice.Calls().empty());
    for (const auto& call : voice.Calls())
        EXPECT_EQ("Speak", call.what) << call.text;
    const auto spoken = voice.Spoken();
    ASSERT_EQ(1u, spoken.size());
    EXPECT_EQ("Hi <you> & me", spoken[0].text);
    EXPECT_EQ(1, spoken[0].flags);
}

// The normal voice, which the stage leaves as the engine speaks and a page speaks at the
// browser's rate 1 and pitch 1, and the scales' steps from it.
TEST(SpeechSettingsTest, TheNormalVoiceIsTheEnginesUsualOneAndScalesGoFromIt)
{
    struct Case {
        uint16_t gender;
        uint16_t normalPitch;
    };
    for (const Case& one : { Case{ kVoiceGenderNeutral, 120 }, Case{ kVoiceGenderMale, 120 }, Case{ kVoiceGenderFemale, 200 } }) {
        CharacterVoice voice;
        voice.described = true;
        voice.gender = one.gender;
        voice.speed = 150;
        voice.pitch = one.normalPitch;
        EXPECT_DOUBLE_EQ(1.0, RelativeVoiceSpeed(voice)) << one.gender;
        EXPECT_DOUBLE_EQ(1.0, RelativeVoicePitch(voice)) << one.gender;
        SpeechSettings settings = SpeechSettingsFor(voice);
        EXPECT_EQ(0, settings.rate) << one.gender;
        EXPECT_EQ(0, settings.pitch) << one.gender;
        // Three times as fast, an octave up.
        voice.speed = 450;
        voice.pitch = uint16_t(one.normalPitch * 2);
        settings = SpeechSettingsFor(voice);
        EXPECT_EQ(10, settings.rate) << one.gender;
        EXPECT_EQ(10, settings.pitch) << one.gender;
    }
}

TEST(SpeechSettingsTest, ScalesEndAtTheirLimitsAndZeroLeavesTheVoicesOwn)
{
    CharacterVoice voice;
    EXPECT_TRUE(SpeechSettingsFor(voice).Empty());
    EXPECT_EQ("a < b", SpeechMarkup(SpeechSettingsFor(voice), "a < b"));

    voice.speed = 4000000000u;
    voice.pitch = 1;
    SpeechSettings settings = SpeechSettingsFor(voice);
    EXPECT_EQ(10, settings.rate);
    EXPECT_EQ(-10, settings.pitch);
    EXPECT_TRUE(settings.voiceQueries.empty()) << "nothing named, nothing looked for";

    voice.speed = 1;
    voice.pitch = 65535;
    settings = SpeechSettingsFor(voice);
    EXPECT_EQ(-10, settings.rate);
    EXPECT_EQ(10, settings.pitch);

    // A third of the usual speed, the usual pitch of a woman's voice.
    voice.speed = 50;
    voice.pitch = 200;
    voice.described = true;
    voice.gender = kVoiceGenderFemale;
    settings = SpeechSettingsFor(voice);
    EXPECT_EQ(-10, settings.rate);
    EXPECT_EQ(0, settings.pitch);
    EXPECT_EQ(std::vector<std::string>{ "Gender=Female" }, settings.voiceQueries);
    EXPECT_EQ("<rate absspeed=\"-10\"><pitch absmiddle=\"0\">&quot;Q&quot; &amp;&amp; A</pitch></rate>",
              SpeechMarkup(settings, "\"Q\" && A"));

    voice.gender = 9;  // of no known kind
    voice.pitch = 0;
    settings = SpeechSettingsFor(voice);
    EXPECT_FALSE(settings.hasPitch);
    EXPECT_TRUE(settings.voiceQueries.empty());
}

} // namespace
