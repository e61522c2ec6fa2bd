#pragma once
#include <string>
#include <vector>

// Makes characters count as installed for as long as it lives: an empty file in the
// character folder of the Windows directory for each name that has none. Files that
// were there before (the bundled cast) are left as they are.
class CharacterFiles {
public:
    explicit CharacterFiles(const std::vector<std::string>& names);
    ~CharacterFiles();
    CharacterFiles(const CharacterFiles&) = delete;
    CharacterFiles& operator=(const CharacterFiles&) = delete;

    std::string PathOf(const std::string& name) const;
    // Makes a character count as not installed until this object goes (its file is put
    // aside and brought back).
    void Uninstall(const std::string& name);

private:
    std::string folder_;
    std::vector<std::string> created_;
    std::vector<std::string> putAside_;
};
