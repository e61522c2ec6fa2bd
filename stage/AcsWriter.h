#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "stage/CharacterData.h"

// Writes a character as a character file (.ACS) that ReadCharacter reads back as the
// same character, laid out as real files are: animations, images and sounds, then the
// character info with the name list at its end; every image opens with its presence
// flag, images and regions are compressed, list entries carry checksums, and each
// animation repeats its name in upper case. The same character always gives the same
// bytes. Returns no bytes, and says why in `error` when given, for a character
// that CheckCharacter refuses or that would make a file over the size a reader accepts.
std::vector<uint8_t> WriteCharacter(const CharacterData& character, std::string* error = nullptr);
