#pragma once
#include <string>

// The player's name, which captions every box it shows.
inline constexpr char PlayerTitle[] = "Parlacard Player";

// Tells the user why the player cannot go on. The player has no window of its own, so
// the box comes to the front by itself.
void ShowPlayerError(const std::string& text);
