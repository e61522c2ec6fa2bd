#pragma once
#include <string>

// Stands for no animation at all in the animation choices and in the settings.
inline constexpr char NoAnimation[] = "(None)";

// The process-wide working copy of the user's settings. Dialogs change it in memory;
// it reaches the registry only through SaveSettings.
struct AppSettings {
    int AutoAddress = 0;
    int ShowPromo = 0;
    std::string DefaultGreetingType;
    std::string UserName;
    std::string Gender;
    std::string UserEmail;
    std::string CharacterName;
    std::string CharacterAnimation;
    int loaded = 0;
};

AppSettings& GetSettings();

// Reads every value from the registry, each missing one taking its default.
bool LoadSettings();
// Writes every value back; a failed write is not reported.
bool SaveSettings();
