// Characters for the web: turns character files into what the greeting page plays.
//
//   pqweb <output folder> <file.ACS>...
// Writes <output folder>/<name>.json (the animations), <name>.png (the first sprite
// sheet), <name>.<n>.png (the others, from 1 on) and <name>.<n>.wav (each sound a
// browser plays, by its index) for each file, named after the file as the player names
// characters: a name in UTF-8, or in Windows-1252 as a file from Windows may have it,
// is written in UTF-8.
#include "cast/OutputFile.h"
#include "cast/WebCharacter.h"
#include "cast/WebCharacterName.h"
#include "stage/AcsReader.h"
#include <cstdio>
#include <exception>
#include <string>

namespace {

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool Convert(const std::string& folder, const std::string& file)
{
    const std::string name = WebCharacterNameOfFile(BaseName(file));
    if (name.empty()) {
        std::fprintf(stderr,
                     "pqweb: %s: a character for the web is named with letters, digits, blanks, '-' and '_' only\n",
                     file.c_str());
        return false;
    }
    CharacterData character;
    std::string error;
    if (!ReadCharacterFile(file, character, error)) {
        std::fprintf(stderr, "pqweb: %s\n", error.c_str());
        return false;
    }
    WebCharacter web;
    try {
        web = MakeWebCharacter(character, name);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pqweb: %s: %s\n", file.c_str(), e.what());
        return false;
    }
    const std::string base = folder + "/" + name;
    size_t sheetBytes = 0;
    for (size_t i = 0; i < web.sheets.size(); ++i) {
        const std::string path = i == 0 ? base + ".png" : base + "." + std::to_string(i) + ".png";
        if (!WriteOutputFile(path, web.sheets[i].data(), web.sheets[i].size(), "pqweb"))
            return false;
        sheetBytes += web.sheets[i].size();
    }
    for (size_t i = 0; i < web.sounds.size(); ++i) {
        if (!web.sounds[i].empty() &&
            !WriteOutputFile(base + "." + std::to_string(i) + ".wav", web.sounds[i].data(), web.sounds[i].size(), "pqweb"))
            return false;
    }
    // The description last: the site counts a character once it is there.
    if (!WriteOutputFile(base + ".json", web.description.data(), web.description.size(), "pqweb"))
        return false;
    std::printf("%s: %zu sheets of %zu bytes (the first %zu), description %zu bytes\n", name.c_str(),
                web.sheets.size(), sheetBytes, web.sheets[0].size(), web.description.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pqweb <output folder> <file.ACS>...\n");
        return 2;
    }
    bool ok = true;
    for (int i = 2; i < argc; ++i)
        ok = Convert(argv[1], argv[i]) && ok;
    return ok ? 0 : 1;
}
