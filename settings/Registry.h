#pragma once
#include <string>

// The application's settings key under HKEY_LOCAL_MACHINE; each section is a subkey.
extern const char* const SettingsKey;

// Reads never fail: a missing key or value, or one that cannot be read, gives the default.
std::string ReadRegString(const std::string& section, const std::string& valueName, const std::string& fallback);
int ReadRegNumber(const std::string& section, const std::string& valueName, int fallback);
// Writes fail silently (no right to write there, say); the caller keeps its values.
void WriteRegString(const std::string& section, const std::string& valueName, const std::string& text);
void WriteRegNumber(const std::string& section, const std::string& valueName, int number);
