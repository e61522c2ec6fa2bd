#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <cstdint>
#include <vector>

// Plays a character's sounds from memory through the system's wave output, one at a
// time per character. Where there is no output device the character stays silent and
// everything else goes on as before.
class SoundOutput {
public:
    SoundOutput() = default;
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    // Cuts off the sound before and starts this one (RIFF WAVE data, which must stay
    // in place while it plays), returning at once. Bytes that are not wave data are
    // skipped and leave what plays alone.
    void Play(const std::vector<uint8_t>& wave);
    // Cuts off what is playing.
    void Stop();

private:
    void Close();

    HWAVEOUT device_ = nullptr;
    WAVEHDR header_{};
    bool sounding_ = false;  // a sound was started and not cut off since
};

// Called on the stage's thread each time a sound is handed to the system (with its
// data) and each time one is cut off (with null), whether or not a device plays it.
using SoundObserver = void (*)(const SoundOutput* output, const std::vector<uint8_t>* wave);

// Installs an observer for the calling thread; returns the previous one.
SoundObserver SetSoundObserver(SoundObserver observer);
