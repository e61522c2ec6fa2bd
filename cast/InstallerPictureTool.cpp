// Draws the installer's welcome picture from a character file.
//
//   pqpicture <output.bmp> <file.ACS>
#include "cast/InstallerPicture.h"
#include "stage/AcsReader.h"
#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pqpicture <output.bmp> <file.ACS>\n");
        return 2;
    }
    CharacterData character;
    std::string error;
    if (!ReadCharacterFile(argv[2], character, error)) {
        std::fprintf(stderr, "pqpicture: %s: %s\n", argv[2], error.c_str());
        return 1;
    }
    const std::vector<uint8_t> picture = MakeInstallerPicture(character);
    if (picture.empty()) {
        std::fprintf(stderr, "pqpicture: %s has no frame to draw\n", argv[2]);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "pqpicture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
