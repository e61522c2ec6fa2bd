// The character compiler: draws the bundled characters and writes each as a character
// file.
//
//   pqcast <output folder> [name...]     all nine characters, or the ones named
#include "cast/CharacterBuilder.h"
#include "cast/OutputFile.h"
#include "cast/art/Cast.h"
#include "stage/AcsWriter.h"
#include <cstdio>
#include <exception>
#include <set>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: pqcast <output folder> [name...]\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::set<std::string> wanted(argv + 2, argv + argc);
    for (const auto& figure : MakeCast()) {
        const std::string& name = figure->Info().name;
        if (argc > 2 && wanted.erase(name) == 0)
            continue;
        CharacterData character;
        std::string error;
        try {
            character = BuildCharacter(*figure);
        } catch (const std::exception& e) {
            // A figure that asks for more than a character file holds (inks, sizes).
            std::fprintf(stderr, "pqcast: %s cannot be drawn: %s\n", name.c_str(), e.what());
            return 1;
        }
        const std::vector<uint8_t> bytes = WriteCharacter(character, &error);
        if (bytes.empty()) {
            std::fprintf(stderr, "pqcast: %s: %s\n", name.c_str(), error.c_str());
            return 1;
        }
        if (!WriteOutputFile(folder + "/" + name + ".ACS", bytes.data(), bytes.size(), "pqcast"))
            return 1;
        std::printf("%s.ACS: %zu animations, %zu images, %zu colours, %zu bytes\n", name.c_str(),
                    character.animations.size(), character.images.size(), character.info.palette.size(), bytes.size());
    }
    for (const std::string& name : wanted)
        std::fprintf(stderr, "pqcast: no character is called %s\n", name.c_str());
    return wanted.empty() ? 0 : 2;
}
