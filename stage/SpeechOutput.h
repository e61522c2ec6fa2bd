#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

// Speaks text aloud through the system's text-to-speech voice, bound late by its
// program id. Where there is no working voice the stage stays silent: the first
// failure turns speech off for good, and everything else goes on as before.
class SpeechOutput {
public:
    SpeechOutput() = default;
    ~SpeechOutput();
    SpeechOutput(const SpeechOutput&) = delete;
    SpeechOutput& operator=(const SpeechOutput&) = delete;

    // Starts speaking (8-bit text in the system's code page) and returns at once.
    void Speak(const std::string& text);
    // Cuts off what is being spoken.
    void Stop();

private:
    bool Connect();
    bool CallSpeak(const std::string& text, long flags);

    IDispatch* voice_ = nullptr;
    DISPID speakId_ = DISPID_UNKNOWN;
    bool comStarted_ = false;
    bool unavailable_ = false;
};
