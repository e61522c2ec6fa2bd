#pragma once
#include <windows.h>

// How the user stops a performance: Esc, or a click on one of the characters. The player
// never has the keyboard focus (the stage's windows are never activated) and its windows
// get no keys, so both are read from the system's key state each time it is polled.
class StopGesture {
public:
    // Starts from the keys' present state: a key already held when the player starts
    // does not count.
    StopGesture();

    // True when Esc went down, or the primary mouse button went down over a character,
    // since the last poll.
    bool Poll();

private:
    static bool WentDown(int key, bool& wasDown);
    static bool CursorOnCharacter();
    static int PrimaryButton();

    bool escapeDown_ = false;
    bool buttonDown_ = false;
};
