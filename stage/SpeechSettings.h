#pragma once
#include <string>
#include <vector>

#include "stage/CharacterVoice.h"

// What a character's voice block asks of the system's text-to-speech voice: how fast
// and how high it speaks (its own scales, -10 to 10 around the voice's usual manner),
// and which kinds of voice to look for, the closest first.
struct SpeechSettings {
    bool hasRate = false;
    int rate = 0;
    bool hasPitch = false;
    int pitch = 0;
    // Token attribute sets ("Language=409;Gender=Female"), each a narrower wish than
    // the one after it.
    std::vector<std::string> voiceQueries;

    bool Empty() const { return !hasRate && !hasPitch && voiceQueries.empty(); }
};

// The speed next to a normal voice's (RelativeVoiceSpeed) maps onto the rate (three
// times as fast at 10, a third at -10), the pitch next to a normal voice's
// (RelativeVoicePitch) onto the pitch (an octave up or down at 10 and -10). Zero speed
// or pitch leaves the voice's own.
SpeechSettings SpeechSettingsFor(const CharacterVoice& voice);

// The text to hand to the voice: as it is when there is no rate or pitch, otherwise
// speech markup around it with the text's own markup characters escaped.
std::string SpeechMarkup(const SpeechSettings& settings, const std::string& text);
