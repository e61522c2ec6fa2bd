#pragma once
#include "stage/CharacterData.h"
#include "stage/CharacterVoice.h"

#include <string>
#include <vector>

// A small round character drawn from plain shapes, for the stage's showcase, benchmark
// and tests (not part of the programs). 128 x 128 with a palette of a few colours; it
// has every state the stage plays (Showing, Hiding, Speaking with mouth overlays that
// replace the closed mouth, Moving Left/Right/Up/Down, Idling) and these animations,
// in this file order:
//   RestPose, Showing, Hiding, Speaking, MovingLeft, MovingRight, MovingUp, MovingDown,
//   Wave (returns to RestPose), Blink (may blink twice), Pondering (loops until asked
//   to end, leaving by its exit frame).
CharacterData MakeSampleCharacter();

// Palette indices of the sample character.
enum SampleColor : uint8_t {
    kSampleTransparent = 0,
    kSampleOutline,
    kSampleWhite,
    kSampleBody,
    kSampleMouth,
    kSampleHand,
    kSampleColorCount,
};

// A tone as RIFF WAVE data (8-bit mono PCM at 11025 samples a second).
std::vector<uint8_t> MakeSampleTone(unsigned milliseconds, unsigned hertz);

// A sound for one frame of an animation, named as the character names it.
struct SampleSound {
    std::string animation;
    size_t frame = 0;
    std::vector<uint8_t> wave;  // as the file stores it, valid or not
};

// Appends each sound to the character's sounds and names it on its frame; false (and
// the character unchanged) when a frame does not exist.
bool AddSampleSounds(CharacterData& character, const std::vector<SampleSound>& sounds);

// Gives the character that voice block and the flag that says it has one.
void SetSampleVoice(CharacterData& character, const CharacterVoice& voice);
