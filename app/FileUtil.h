#pragma once
#include <string>

// True when a directory search for the path finds anything (wildcards match, folders count).
bool FileExists(const std::string& path);

// The installed character file of that name, or "" when it is not installed.
std::string FindCharacterFile(const std::string& characterName);
