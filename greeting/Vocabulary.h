#pragma once
#include <string>
#include <vector>

// The commands an action can carry.
inline constexpr char CommandShow[] = "Show";
inline constexpr char CommandHide[] = "Hide";
inline constexpr char CommandSay[] = "Say";
inline constexpr char CommandAnimate[] = "Animate";
inline constexpr char CommandMove[] = "Move";

// Stands for no animation at all in the animation choices and in the settings.
inline constexpr char NoAnimation[] = "(None)";

// Filled once at start-up by FillVocabulary, read-only afterwards.
extern std::vector<std::string> CommandNames;
extern std::vector<std::string> CharacterNames;
extern std::vector<std::string> PositionNames; // row by row, top left first
extern int ScreenWidth;
extern int ScreenHeight;

// Takes the primary screen's size and fills the lists in their fixed order.
void FillVocabulary();
