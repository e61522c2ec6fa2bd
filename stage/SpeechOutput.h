#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

#include "stage/SpeechSettings.h"

// Speaks text aloud through the system's text-to-speech voice, bound late by its
// program id. Where there is no working voice the stage stays silent: the first
// failure turns speech off for good, and everything else goes on as before. A
// character's own voice settings choose the voice and set its rate and pitch.
class SpeechOutput {
public:
    SpeechOutput() = default;
    ~SpeechOutput();
    SpeechOutput(const SpeechOutput&) = delete;
    SpeechOutput& operator=(const SpeechOutput&) = delete;

    // The character's voice settings, for everything said from now on.
    void Use(const SpeechSettings& settings) { settings_ = settings; }
    // Starts speaking (8-bit text in the system's code page) and returns at once.
    void Speak(const std::string& text);
    // Cuts off what is being spoken.
    void Stop();

private:
    bool Connect();
    bool CallSpeak(const std::string& text, long flags);
    // The first installed voice of the kinds the settings ask for; the voice keeps its
    // default where there is none.
    void ChooseVoice();

    IDispatch* voice_ = nullptr;
    DISPID speakId_ = DISPID_UNKNOWN;
    bool comStarted_ = false;
    bool unavailable_ = false;
    SpeechSettings settings_;
};
