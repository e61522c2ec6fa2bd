#pragma once
#include <string>

// True when a directory search for the path finds anything (wildcards match, folders count).
bool FileExists(const std::string& path);

// Longest character name taken as a file name.
const size_t MaxCharacterNameLength = 64;

// True for a name that can only mean a file inside the character folder: not empty, at
// most MaxCharacterNameLength characters, no path separator, drive, "..", wildcard or
// control character. Greetings come from other people, and their names reach file paths.
bool IsPlainCharacterName(const std::string& name);

// The installed character file of that name, or "" when it is not installed; a name that
// is not plain is never installed.
std::string FindCharacterFile(const std::string& characterName);
