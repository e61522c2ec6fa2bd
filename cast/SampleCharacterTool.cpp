// The sample character as a character file, with sounds on chosen frames and a voice,
// for tests that play characters from files they make themselves.
//
//   pqsample <output.ACS> [item...]
//     tone <animation> <frame> <milliseconds> <hertz>   a tone on that frame
//     broken <animation> <frame>                        a sound that is not wave data
//     voice <words a minute> <pitch Hz> <language id> <gender 0-2>
#include "cast/OutputFile.h"
#include "stage/AcsWriter.h"
#include "stage/SampleCharacter.h"
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: pqsample <output.ACS> [tone <animation> <frame> <ms> <Hz> | broken <animation> <frame> |"
                         " voice <words a minute> <pitch Hz> <language id> <gender>]...\n");
    return 2;
}

unsigned Number(const char* text)
{
    return unsigned(std::strtoul(text, nullptr, 0));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    CharacterData character = MakeSampleCharacter();
    std::vector<SampleSound> sounds;
    for (int i = 2; i < argc;) {
        const std::string item = argv[i];
        if (item == "tone" && i + 4 < argc) {
            sounds.push_back({ argv[i + 1], Number(argv[i + 2]), MakeSampleTone(Number(argv[i + 3]), Number(argv[i + 4])) });
            i += 5;
        } else if (item == "broken" && i + 2 < argc) {
            std::vector<uint8_t> wave = MakeSampleTone(100, 440);
            wave[8] = 'X';  // no longer WAVE
            sounds.push_back({ argv[i + 1], Number(argv[i + 2]), wave });
            i += 3;
        } else if (item == "voice" && i + 4 < argc) {
            CharacterVoice voice;
            voice.speed = Number(argv[i + 1]);
            voice.pitch = uint16_t(Number(argv[i + 2]));
            voice.described = true;
            voice.languageId = uint16_t(Number(argv[i + 3]));
            voice.gender = uint16_t(Number(argv[i + 4]));
            SetSampleVoice(character, voice);
            i += 5;
        } else {
            return Usage();
        }
    }
    if (!AddSampleSounds(character, sounds)) {
        std::fprintf(stderr, "pqsample: a sound names a frame the sample character does not have\n");
        return 1;
    }
    std::string error;
    const std::vector<uint8_t> bytes = WriteCharacter(character, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "pqsample: %s\n", error.c_str());
        return 1;
    }
    return WriteOutputFile(argv[1], bytes.data(), bytes.size(), "pqsample") ? 0 : 1;
}
