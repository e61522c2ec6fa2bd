#pragma once
#include <string>

class CParloDoc;

// Writes the greeting text to the player's file in the temporary folder and starts the
// player on it from the action at start. Tells the user what failed; true once started.
bool PlayGreetingText(const std::string& greetingText, int start);

// Plays the document's greeting as the current sender's from the action at start, and
// marks the document as previewed once the player has started.
void PreviewGreeting(CParloDoc& doc, int start);
