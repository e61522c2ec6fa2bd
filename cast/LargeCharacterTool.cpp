// A large character for benchmarks, drawn from one of ours: every image twice the size
// and speckled, so that its sprite sheet compresses about as badly as the big
// characters people download do.
//
//   pqlarge <file.ACS> <output.ACS>
#include "cast/OutputFile.h"
#include "stage/AcsReader.h"
#include "stage/AcsWriter.h"
#include <cstdio>
#include <string>

namespace {

const int kScale = 2;

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c)
{
    uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ c * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

CharacterImage Enlarge(const CharacterImage& image, uint32_t seed, uint8_t transparent, size_t colors)
{
    if (!image.present)
        return image;
    CharacterImage large;
    large.width = uint16_t(image.width * kScale);
    large.height = uint16_t(image.height * kScale);
    large.pixels.assign(large.Stride() * large.height, transparent);
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x) {
            uint8_t pixel = image.pixels[size_t(y / kScale) * image.Stride() + size_t(x / kScale)];
            const uint32_t roll = Hash(seed, uint32_t(x), uint32_t(y));
            // One visible pixel in twelve takes another colour of the palette.
            if (pixel != transparent && roll % 12 == 0) {
                pixel = uint8_t((roll >> 8) % colors);
                if (pixel == transparent)
                    pixel = uint8_t((pixel + 1) % colors);
            }
            large.pixels[size_t(y) * large.Stride() + size_t(x)] = pixel;
        }
    return large;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pqlarge <file.ACS> <output.ACS>\n");
        return 2;
    }
    CharacterData character;
    std::string error;
    if (!ReadCharacterFile(argv[1], character, error)) {
        std::fprintf(stderr, "pqlarge: %s\n", error.c_str());
        return 1;
    }
    character.info.width = uint16_t(character.info.width * kScale);
    character.info.height = uint16_t(character.info.height * kScale);
    const size_t colors = character.info.palette.size();
    for (size_t i = 0; i < character.images.size(); ++i)
        character.images[i] = Enlarge(character.images[i], uint32_t(i), character.info.transparentIndex, colors);
    for (CharacterAnimation& animation : character.animations)
        for (CharacterFrame& frame : animation.frames) {
            for (FrameImage& image : frame.images) {
                image.x = int16_t(image.x * kScale);
                image.y = int16_t(image.y * kScale);
            }
            for (MouthOverlay& overlay : frame.overlays) {
                overlay.x = int16_t(overlay.x * kScale);
                overlay.y = int16_t(overlay.y * kScale);
                overlay.width = uint16_t(overlay.width * kScale);
                overlay.height = uint16_t(overlay.height * kScale);
                overlay.region.clear();
            }
        }
    const std::vector<uint8_t> bytes = WriteCharacter(character, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "pqlarge: %s\n", error.c_str());
        return 1;
    }
    return WriteOutputFile(argv[2], bytes.data(), bytes.size(), "pqlarge") ? 0 : 1;
}
