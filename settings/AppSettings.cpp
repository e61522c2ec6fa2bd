#include "settings/AppSettings.h"
#include "settings/Registry.h"

AppSettings& GetSettings()
{
    static AppSettings settings;
    return settings;
}

bool LoadSettings()
{
    AppSettings& s = GetSettings();
    s.DefaultGreetingType = ReadRegString("General", "DefaultGreetingType", "Say Hi");
    s.UserName = ReadRegString("General", "UserName", "");
    s.Gender = ReadRegString("General", "Gender", "Male");
    s.UserEmail = ReadRegString("General", "UserEmail", "");
    s.CharacterName = ReadRegString("Character", "Name", "Merlin");
    s.CharacterAnimation = ReadRegString("Character", "Animation", NoAnimation);
    s.AutoAddress = ReadRegNumber("General", "AutoAddress", 0);
    s.ShowPromo = ReadRegNumber("General", "ShowPromo", 1);
    s.loaded = 1;
    return true;
}

bool SaveSettings()
{
    const AppSettings& s = GetSettings();
    WriteRegString("General", "DefaultGreetingType", s.DefaultGreetingType);
    WriteRegString("General", "UserName", s.UserName);
    WriteRegString("General", "Gender", s.Gender);
    WriteRegString("General", "UserEmail", s.UserEmail);
    WriteRegString("Character", "Name", s.CharacterName);
    WriteRegString("Character", "Animation", s.CharacterAnimation);
    WriteRegNumber("General", "AutoAddress", s.AutoAddress);
    WriteRegNumber("General", "ShowPromo", s.ShowPromo);
    return true;
}
