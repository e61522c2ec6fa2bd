#pragma once
#include "settings/AppSettings.h"
#include <string>
#include <vector>

// The commands an action can carry.
inline constexpr char CommandShow[] = "Show";
inline constexpr char CommandHide[] = "Hide";
inline constexpr char CommandSay[] = "Say";
inline constexpr char CommandAnimate[] = "Animate";
inline constexpr char CommandMove[] = "Move";

// NoAnimation comes with the settings, whose default animation it is.

// Filled once at start-up by FillVocabulary, read-only afterwards.
extern std::vector<std::string> CommandNames;
extern std::vector<std::string> CharacterNames;
extern std::vector<std::string> PositionNames; // row by row, top left first
extern int ScreenWidth;
extern int ScreenHeight;

// Takes the primary screen's size and fills the lists in their fixed order.
void FillVocabulary();
