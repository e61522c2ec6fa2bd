#pragma once
#include "support/CharacterFiles.h"
#include <string>
#include <vector>

// A greeting file's text as the maker writes it, with these action lines.
std::string GreetingText(const std::vector<std::string>& actionLines);

// The stage's small sample character, installed under test-only names in the character
// folder of the Windows directory for as long as it lives.
class InstalledSampleCharacters {
public:
    explicit InstalledSampleCharacters(const std::vector<std::string>& names);

    // Replaces a character's file with bytes that are no character.
    void Spoil(const std::string& name) const;

private:
    CharacterFiles files_;
};
