#pragma once
#include <optional>
#include <string>

// A file of a character's web form as an address or the folder names it:
//   <name>.json      its description
//   <name>.png       its first sprite sheet
//   <name>.<n>.png   its other sheets, n from 1
//   <name>.<n>.wav   its sounds, n from 0
// The sheets and sounds also go under hashed names, the content's hash before the
// extension (<name>.<n>.<hash>.png).
struct CharacterFileName {
    std::string character;
    std::string file; // the plain name, as on disk
    std::string hash; // empty for the plain name
    const char* type; // the content type
};

// Nothing for a name of any other form, or one whose character's name is no web name:
// what this gives is safe in a path of the characters' folder.
std::optional<CharacterFileName> ParseCharacterFileName(const std::string& name);
