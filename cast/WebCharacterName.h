#pragma once
#include <string>

// The names under which characters go on the web. They become file names and parts of
// addresses, so only letters, digits, blanks, '-' and '_' (1 to 64 characters, the first
// a letter or digit). Greetings name characters in Windows-1252, so the letters are those
// that code page has (as in "Zoë"); the name itself is UTF-8, as file names and the page
// have it. Shared by the tool that writes the web characters and the site serving them.
bool IsWebCharacterName(const std::string& name);

// The web name of a character file's base name: UTF-8 as it stands, or else taken as
// Windows-1252 (a file from a Windows machine); empty when that is no web name.
std::string WebCharacterNameOfFile(const std::string& baseName);
