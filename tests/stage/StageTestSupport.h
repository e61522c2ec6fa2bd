#pragma once
#include "agent/AgentDispatch.h"
#include "stage/CharacterData.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// The one character window or balloon of this thread (a test loads one character).
HWND CharacterWindow();
HWND BalloonWindow();

// Reads a rectangle of a device context as 0x00RRGGBB pixels, top row first.
std::vector<uint32_t> Pixels(HDC from, int x, int y, int width, int height);

// Writes a character file into the folder; its path.
std::string WriteCharacterFile(const TempFolder& folder, const CharacterData& character, const std::string& name);

// True once the request has left pending and in progress.
bool IsDone(const AgentRequest& request);

// A stage control, the way the program drives it, with one character loaded as "PQ"
// from a character file. Request errors are off, as the program has them.
struct LoadedStage {
    explicit LoadedStage(const CharacterData& character);
    // From the bytes of a character file.
    explicit LoadedStage(const std::vector<uint8_t>& file);

    TempFolder folder;
    AgentControl control;
    AgentCharacters characters;
    AgentCharacter character;

    // Requests made the way the program makes them.
    AgentRequest Show(bool fast) const;
    AgentRequest Hide(bool fast) const;
    AgentRequest Speak(const std::string& text) const;
    // A speed below 0 leaves the speed out (the default).
    AgentRequest MoveTo(short x, short y, long speed) const;
};
