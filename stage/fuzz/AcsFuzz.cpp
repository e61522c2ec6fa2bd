// Mutates a written character file over and over and reads each result: the reader must
// refuse it with a message or return a character that keeps the reader's promises (every
// index a frame holds names something the character has, checked here on its own rather
// than by the reader's check, which a fault could share), passes the checks and writes
// out to a file that reads back as the same character. Built with the address and undefined
// behaviour sanitizers in the host tree, so a stray read or write stops the run.
//
//   acs_fuzz [iterations [seed]]     defaults: 4000 iterations, seed 1
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include "tests/stage/SyntheticCharacter.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A run stops early rather than hold up the test run on a slow machine.
const double TimeLimitSeconds = 120;

void SetU32(Bytes& bytes, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

uint32_t U32At(const Bytes& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        value |= uint32_t(bytes[at + i]) << (8 * i);
    return value;
}

// One to four mutations of the kinds that break files: stray bytes, fields set to
// boundary values or moved by one (a count one short makes the last index equal to it),
// cut ends, and copied stretches.
void Mutate(Bytes& bytes, std::mt19937& random)
{
    static const uint32_t boundaries[] = { 0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x10000,
                                           0x7FFFFFFF, 0x80000000, 0xFFFFFFFF };
    for (int count = 1 + random() % 4; count > 0 && !bytes.empty(); --count) {
        size_t at = random() % bytes.size();
        switch (random() % 7) {
        case 5:
            bytes[at] = uint8_t(bytes[at] + (random() % 2 ? 1 : -1));
            break;
        case 6: {
            // The count of the animation, image or audio list, whose locators follow the
            // signature and the character info's.
            const size_t list = U32At(bytes, 12 + 8 * (random() % 3));
            if (list + 4 <= bytes.size())
                SetU32(bytes, list, U32At(bytes, list) + (random() % 2 ? 1u : uint32_t(-1)));
            break;
        }
        case 0:
            bytes[at] = uint8_t(random());
            break;
        case 1:
            bytes[at] ^= uint8_t(1u << (random() % 8));
            break;
        case 2:
            SetU32(bytes, at, boundaries[random() % (sizeof boundaries / sizeof boundaries[0])]);
            break;
        case 3:
            bytes.resize(at);
            break;
        default: {
            size_t from = random() % bytes.size();
            size_t length = std::min<size_t>(random() % 64, bytes.size() - std::max(at, from));
            std::copy(bytes.begin() + from, bytes.begin() + from + length, bytes.begin() + at);
            break;
        }
        }
    }
}

// The indices of every frame against what the character holds; empty when all are in
// range, else what is not.
std::string IndexOutOfRange(const CharacterData& character)
{
    for (const CharacterAnimation& animation : character.animations) {
        for (const CharacterFrame& frame : animation.frames) {
            for (const FrameImage& image : frame.images) {
                if (image.image >= character.images.size())
                    return "a frame shows image " + std::to_string(image.image) + " of " +
                           std::to_string(character.images.size());
            }
            for (const MouthOverlay& overlay : frame.overlays) {
                if (overlay.image >= character.images.size())
                    return "a mouth shows image " + std::to_string(overlay.image) + " of " +
                           std::to_string(character.images.size());
            }
            if (frame.audio >= 0 && size_t(frame.audio) >= character.audio.size())
                return "a frame plays sound " + std::to_string(frame.audio) + " of " +
                       std::to_string(character.audio.size());
            if (frame.exitFrame >= 0 && size_t(frame.exitFrame) >= animation.frames.size())
                return "a frame exits to frame " + std::to_string(frame.exitFrame) + " of " +
                       std::to_string(animation.frames.size());
            for (const FrameBranch& branch : frame.branches) {
                if (branch.frame >= animation.frames.size())
                    return "a frame branches to frame " + std::to_string(branch.frame) + " of " +
                           std::to_string(animation.frames.size());
            }
        }
    }
    return std::string();
}

// False, with a message, when a character the reader accepted breaks a promise.
bool CheckAccepted(const CharacterData& character, std::string& problem)
{
    problem = IndexOutOfRange(character);
    if (!problem.empty())
        return false;
    if (!CheckCharacter(character, problem))
        return false;
    Bytes rewritten = WriteCharacter(character, &problem);
    if (rewritten.empty())
        return false;
    CharacterData reread;
    if (!ReadCharacter(rewritten.data(), rewritten.size(), reread, problem))
        return false;
    if (!(reread == character)) {
        problem = "the rewritten file reads back differently";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 4000;
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;

    SyntheticCharacterShape shape;
    shape.animations = 3;
    shape.framesPerAnimation = 4;
    shape.images = 4;
    shape.imageSide = 12;
    shape.sounds = 2;
    shape.soundBytes = 40;
    // The last image shown by frames and mouths, and by each alone, so that a count one
    // short reaches each check of an index on its own.
    std::vector<Bytes> originals;
    for (LastImageShownBy shownBy :
         { LastImageShownBy::FramesAndMouths, LastImageShownBy::FramesOnly, LastImageShownBy::MouthsOnly }) {
        originals.push_back(WriteCharacter(ShowLastImageBy(MakeSyntheticCharacter(shape), shownBy)));
        if (originals.back().empty()) {
            std::fprintf(stderr, "acs_fuzz: the synthetic character could not be written\n");
            return 1;
        }
    }

    std::mt19937 random(seed);
    const auto start = std::chrono::steady_clock::now();
    long done = 0, accepted = 0;
    for (; done < iterations; ++done) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > TimeLimitSeconds)
            break;
        Bytes mutated = originals[done % originals.size()];
        Mutate(mutated, random);
        // A buffer of exactly the file's size, so that the sanitizer sees a read past its end.
        const Bytes bytes(mutated.begin(), mutated.end());
        CharacterData character;
        std::string error;
        if (!ReadCharacter(bytes.data(), bytes.size(), character, error)) {
            if (error.empty()) {
                std::fprintf(stderr, "acs_fuzz: iteration %ld failed without a message\n", done);
                return 1;
            }
            continue;
        }
        ++accepted;
        std::string problem;
        if (!CheckAccepted(character, problem)) {
            std::fprintf(stderr, "acs_fuzz: iteration %ld: %s\n", done, problem.c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("acs_fuzz: %ld mutated files of about %zu bytes (seed %lu) in %.1f s: %ld read, %ld refused\n",
                done, originals[0].size(), seed, seconds, accepted, done - accepted);
    return 0;
}
