// Times reading a character file of about 2 MB with 60 animations from memory, next to
// a plain copy of the same bytes as the yardstick. Best of several runs each.
#include "Stopwatch.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "tests/stage/SyntheticCharacter.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
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

} // namespace

int main()
{
    SyntheticCharacterShape shape;
    shape.animations = 60;
    shape.framesPerAnimation = 8;
    shape.images = 900;
    shape.imageSide = 120;
    shape.sounds = 10;
    shape.soundBytes = 20000;
    std::string error;
    const std::vector<uint8_t> file = WriteCharacter(MakeSyntheticCharacter(shape), &error);
    if (file.empty()) {
        std::fprintf(stderr, "CharacterLoadBench: cannot write the character: %s\n", error.c_str());
        return 1;
    }

    double read = Best([&] {
        CharacterData character;
        return ReadCharacter(file.data(), file.size(), character, error);
    });
    if (read < 0) {
        std::fprintf(stderr, "CharacterLoadBench: cannot read the character: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint8_t> copy(file.size());
    double copied = Best([&] {
        std::memcpy(copy.data(), file.data(), file.size());
        return copy.back() == file.back();
    });

    std::printf("character file: %zu bytes, %zu animations, %zu images (best of %d)\n", file.size(),
                shape.animations, shape.images, Rounds);
    std::printf("  read character  %8.2f ms  (target under %.0f ms)\n", read, TargetMilliseconds);
    std::printf("  memcpy          %8.3f ms\n", copied);
    return read < TargetMilliseconds ? 0 : 1;
}
