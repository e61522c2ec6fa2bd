#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The voice a character file asks for (CharacterInfo::voice): the speech engine and
// mode it was made with, how fast and how high it speaks, and optionally the kind of
// voice (language, gender, age...) to look for where that engine is missing.

enum CharacterVoiceGender : uint16_t {
    kVoiceGenderNeutral = 0,
    kVoiceGenderFemale = 1,
    kVoiceGenderMale = 2,
};

struct CharacterVoice {
    uint8_t engine[16] = {};  // engine and mode ids (GUIDs) as the file stores them
    uint8_t mode[16] = {};
    uint32_t speed = 0;  // words per minute; 0 leaves the engine's own
    uint16_t pitch = 0;  // base pitch in Hz; 0 leaves the engine's own
    // The rest is present only when described is set.
    bool described = false;
    uint16_t languageId = 0;  // a Windows language id (0x0409 US English)
    std::string dialect;      // UTF-8
    uint16_t gender = kVoiceGenderNeutral;  // CharacterVoiceGender; other values as found
    uint16_t age = 0;
    std::string style;  // UTF-8

    bool operator==(const CharacterVoice& o) const;
    bool operator!=(const CharacterVoice& o) const { return !(*this == o); }
};

// How fast and how high the voice speaks next to a normal voice, as a multiple of it (2:
// twice as fast, or an octave higher); 0 where the file leaves the engine's own. The
// normal voice speaks 150 words a minute at 120 Hz (200 Hz for a woman's voice): the
// manner that speech engines and browsers take as their usual one. Both the stage and
// the characters' web form go by these.
double RelativeVoiceSpeed(const CharacterVoice& voice);
double RelativeVoicePitch(const CharacterVoice& voice);

// Reads a voice block from the start of `size` bytes. Returns how many bytes it took,
// or 0 with the reason in `error` when the bytes cannot hold one (cut short, or a name
// running past the end).
size_t ReadCharacterVoice(const uint8_t* data, size_t size, CharacterVoice& voice, std::string& error);

// A whole voice block, nothing left over; false with the reason in `error` otherwise.
bool DecodeCharacterVoice(const std::vector<uint8_t>& block, CharacterVoice& voice, std::string& error);

// The block as a character file stores it.
std::vector<uint8_t> EncodeCharacterVoice(const CharacterVoice& voice);
