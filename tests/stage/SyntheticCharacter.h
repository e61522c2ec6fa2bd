#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stage/CharacterData.h"

// Bytes laid out as a character file lays them out: little-endian fields, strings as
// UTF-16LE with a count.
class ByteList {
public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U16(uint16_t value)
    {
        U8(uint8_t(value));
        U8(uint8_t(value >> 8));
    }
    void U32(uint32_t value)
    {
        U16(uint16_t(value));
        U16(uint16_t(value >> 16));
    }
    void Text(const char* text)
    {
        bytes.insert(bytes.end(), text, text + std::char_traits<char>::length(text));
    }
    // A string as the file stores it, for ASCII text.
    void String(const char* text)
    {
        size_t length = std::char_traits<char>::length(text);
        U32(uint32_t(length));
        for (size_t i = 0; i < length; ++i)
            U16(uint8_t(text[i]));
        if (length > 0)
            U16(0);
    }
    void Repeat(size_t count, uint8_t value) { bytes.insert(bytes.end(), count, value); }

    std::vector<uint8_t> bytes;
};

// The size of a character made up in code.
struct SyntheticCharacterShape {
    size_t animations = 4;
    size_t framesPerAnimation = 5;
    size_t images = 8;
    uint16_t imageSide = 40;
    size_t sounds = 2;
    size_t soundBytes = 600;
};

// A character made up in code for the tests, the fuzzer and the benchmark, with every
// part of the file format in use: voice, balloon, tray icon, states, two languages with
// text beyond ASCII, frames with several images, sounds, exit frames (-1 and -2 for
// none), branches and mouths, images drawn as shapes on a transparent ground so that
// they compress as drawn art does, each with its outline, and after them an empty slot
// that frames and a mouth show. The same shape always gives the same character.
CharacterData MakeSyntheticCharacter(const SyntheticCharacterShape& shape = {});

// Which parts show the character's last image (the empty slot): frames and mouths as
// made, or only one of them, the other showing image 0 in its place. A file whose image
// count is one short then has an index equal to the count in just those parts.
enum class LastImageShownBy { FramesAndMouths, FramesOnly, MouthsOnly };
CharacterData ShowLastImageBy(CharacterData character, LastImageShownBy shownBy);
