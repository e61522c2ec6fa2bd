#pragma once
#include <string>
#include <vector>

// Installs empty character files in the character folder of the Windows directory for
// as long as it lives; enough for a character to count as installed.
class CharacterFiles {
public:
    explicit CharacterFiles(const std::vector<std::string>& names);
    ~CharacterFiles();
    CharacterFiles(const CharacterFiles&) = delete;
    CharacterFiles& operator=(const CharacterFiles&) = delete;

    std::string PathOf(const std::string& name) const;

private:
    std::string folder_;
    std::vector<std::string> paths_;
};
