#pragma once
#include <windows.h>
#include <string>
#include <vector>

// A text-to-speech voice that records what it is asked, installed where the stage
// looks for the system's voice: its program id names this class for as long as the
// object lives, and the class is served from this process. It offers the installed
// voices given (token attribute sets such as "Language=409;Gender=Female") to
// GetVoices, and speaking always succeeds.
class RecordingVoice {
public:
    struct Installed {
        std::string name;
        std::string attributes;
    };
    // Something the stage did to the voice, in order.
    struct Call {
        std::string what;  // "Speak", "GetVoices", "Voice"
        std::string text;  // what was said, the attributes asked for, the voice chosen
        long flags = 0;    // Speak's flags
    };

    explicit RecordingVoice(std::vector<Installed> voices);
    ~RecordingVoice();
    RecordingVoice(const RecordingVoice&) = delete;
    RecordingVoice& operator=(const RecordingVoice&) = delete;

    const std::vector<Call>& Calls() const;
    // The calls that spoke (not the empty ones that cut speech off).
    std::vector<Call> Spoken() const;

private:
    DWORD registration_ = 0;
    bool keyExisted_ = false;
    std::string previousClass_;
};
