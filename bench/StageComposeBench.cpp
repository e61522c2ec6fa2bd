// Times composing one 128 x 128 frame of the sample character, with a mouth overlay,
// into the character window's bitmap, next to a plain copy of a bitmap of that size
// as the yardstick. Best of several runs each. The character is composed as the stage
// has it: written as a file with every image's region data and read back.
#include "Stopwatch.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "stage/CharacterWindow.h"
#include "stage/FrameComposer.h"
#include "stage/ImageRegion.h"
#include "stage/SampleCharacter.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

const int Rounds = 10;
const int FramesPerRound = 500;
const double TargetMilliseconds = 1;

// The fastest of Rounds runs of FramesPerRound frames, in milliseconds per frame.
template <class Run>
double BestPerFrame(Run run)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < Rounds; ++i) {
        const Stopwatch watch;
        for (int frame = 0; frame < FramesPerRound; ++frame)
            run(frame);
        best = std::min(best, (watch.Milliseconds()) / FramesPerRound);
    }
    return best;
}

} // namespace

int main()
{
    CharacterData sample = MakeSampleCharacter();
    for (CharacterImage& image : sample.images)
        image.region = MakeImageRegion(image, sample.info.transparentIndex);
    std::string error;
    const std::vector<uint8_t> file = WriteCharacter(sample, &error);
    CharacterData character;
    if (file.empty() || !ReadCharacter(file.data(), file.size(), character, error)) {
        std::fprintf(stderr, "StageComposeBench: the sample character does not go through a file: %s\n",
                     error.c_str());
        return 1;
    }
    size_t regionBytes = 0;
    for (const CharacterImage& image : character.images)
        regionBytes += image.region.size();
    const CharacterAnimation* speaking = character.FindAnimation("Speaking");
    if (!speaking || speaking->frames.empty()) {
        std::fprintf(stderr, "StageComposeBench: the sample character has no Speaking frame\n");
        return 1;
    }
    const CharacterFrame& frame = speaking->frames.front();
    CharacterWindow window;
    if (!window.Create(character.info.width, character.info.height, 96, error)) {
        std::fprintf(stderr, "StageComposeBench: %s\n", error.c_str());
        return 1;
    }
    const FrameComposer composer(character);
    const double composed = BestPerFrame([&](int round) {
        composer.Compose(&frame, round % (kMouthNarrow + 1), window.Pixels());
    });

    const size_t bytes = static_cast<size_t>(composer.Width()) * composer.Height() * sizeof(uint32_t);
    const std::vector<uint8_t> source(bytes, 0x5A);
    const double copied = BestPerFrame([&](int) {
        std::memcpy(window.Pixels(), source.data(), bytes);
    });

    std::printf("frame %d x %d, %zu images and a mouth overlay, read from a %zu-byte file with %zu bytes of "
                "region data (best of %d runs of %d frames)\n",
                composer.Width(), composer.Height(), frame.images.size(), file.size(), regionBytes, Rounds,
                FramesPerRound);
    std::printf("  compose frame   %8.4f ms  (target under %.0f ms)\n", composed, TargetMilliseconds);
    std::printf("  memcpy          %8.4f ms\n", copied);
    return composed < TargetMilliseconds ? 0 : 1;
}
