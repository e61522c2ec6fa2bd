// Times reading a character file from memory, next to a plain copy of the same bytes as
// the yardstick, best of several runs each: a made-up file of about 2 MB with 60
// animations whose images all carry their outline as region data, or the file given.
//
//   CharacterLoadBench [file.acs]
#include "Stopwatch.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "tests/stage/SyntheticCharacter.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

const int Rounds = 10;
const double TargetMilliseconds = 100;

// The fastest of Rounds runs, in milliseconds; false from a run stops the timing.
template <class Run>
double Best(Run run)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < Rounds; ++i) {
        Stopwatch watch;
        if (!run())
            return -1;
        best = std::min(best, watch.Milliseconds());
    }
    return best;
}

// The file named, or the made-up character written out.
std::vector<uint8_t> FileToTime(int argc, char** argv, std::string& error)
{
    if (argc > 1) {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            error = std::string("cannot open ") + argv[1];
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    SyntheticCharacterShape shape;
    shape.animations = 60;
    shape.framesPerAnimation = 8;
    shape.images = 900;
    shape.imageSide = 120;
    shape.sounds = 10;
    shape.soundBytes = 20000;
    return WriteCharacter(MakeSyntheticCharacter(shape), &error);
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::vector<uint8_t> file = FileToTime(argc, argv, error);
    CharacterData character;
    if (file.empty() || !ReadCharacter(file.data(), file.size(), character, error)) {
        std::fprintf(stderr, "CharacterLoadBench: no character to time: %s\n", error.c_str());
        return 1;
    }
    size_t regionBytes = 0, imagesWithRegion = 0;
    for (const CharacterImage& image : character.images) {
        regionBytes += image.region.size();
        imagesWithRegion += !image.region.empty();
    }

    double read = Best([&] {
        CharacterData again;
        return ReadCharacter(file.data(), file.size(), again, error);
    });
    std::vector<uint8_t> copy(file.size());
    double copied = Best([&] {
        std::memcpy(copy.data(), file.data(), file.size());
        return copy.back() == file.back();
    });

    std::printf("character file%s%s: %zu bytes, %zu animations, %zu images, %zu of them with region data "
                "(%zu bytes decoded) (best of %d)\n",
                argc > 1 ? " " : "", argc > 1 ? argv[1] : "", file.size(), character.animations.size(),
                character.images.size(), imagesWithRegion, regionBytes, Rounds);
    std::printf("  read character  %8.2f ms  (target under %.0f ms)\n", read, TargetMilliseconds);
    std::printf("  memcpy          %8.3f ms\n", copied);
    return read < TargetMilliseconds ? 0 : 1;
}
