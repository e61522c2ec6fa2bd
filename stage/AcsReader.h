#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "stage/CharacterData.h"

// Character files (.ACS). The header holds the signature and where the character
// info, animation list, image list and audio list lie in the file.
constexpr uint32_t kAcsSignature = 0xABCDABC3;
constexpr size_t kAcsHeaderSize = 4 + 4 * 8;

// Balloon colours are stored red first (a COLORREF), CharacterColor holds blue lowest:
// swapping the red and blue bytes turns either into the other.
inline uint32_t SwapRedAndBlue(uint32_t color)
{
    return (color & 0xFF00FF00u) | (color & 0xFFu) << 16 | (color >> 16 & 0xFFu);
}

// Files store an animation's own name and its return animation's in upper case; only
// ASCII letters change.
inline std::string AsciiUpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - ('a' - 'A'));
    return text;
}

// Where a part of the file lies.
struct AcsLocator {
    uint32_t offset;
    uint32_t size;
};
// Bounds that real characters stay far within; a file beyond them is refused.
constexpr uint16_t kAcsMaxImageSide = 4096;
constexpr size_t kAcsMaxPaletteSize = 256;
constexpr size_t kAcsMaxDecodedBytes = 256u << 20;  // all images and regions together
constexpr size_t kAcsMaxFileSize = 256u << 20;

// Reads a character file held in memory. Every offset, count and size is checked
// against the data and the bounds above, and every index a frame holds (images, audio,
// frames) is checked against what the file has, so a broken or hostile file fails with
// a message in `error` and leaves `out` as it was.
bool ReadCharacter(const uint8_t* data, size_t size, CharacterData& out, std::string& error);

// Reads a character file from disk (an 8-bit path).
bool ReadCharacterFile(const std::string& path, CharacterData& out, std::string& error);

// Checks what ReadCharacter guarantees of a character it returns: counts and sizes
// that fit the file's fields and the bounds above, indices in range, voice and tray
// icon bytes well formed, voice present exactly when the flags say so, return
// animations named in upper case, empty image slots without size or region. The writer
// checks the same before writing.
bool CheckCharacter(const CharacterData& character, std::string& error);
