#include "cast/WebCharacterName.h"
#include <cstdint>

namespace {

const size_t MostCharacters = 64;

// Windows-1252's letters between 0x80 and 0x9F: Š Œ Ž š œ ž Ÿ; the other bytes there
// are no letters (or no characters) and stay out of names.
uint32_t Windows1252High(unsigned char byte)
{
    switch (byte) {
    case 0x8A: return 0x160;
    case 0x8C: return 0x152;
    case 0x8E: return 0x17D;
    case 0x9A: return 0x161;
    case 0x9C: return 0x153;
    case 0x9E: return 0x17E;
    case 0x9F: return 0x178;
    default: return 0;
    }
}

bool IsAsciiAlphanumeric(uint32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A letter that Windows-1252 holds above ASCII.
bool IsWindows1252Letter(uint32_t c)
{
    if (c >= 0xC0 && c <= 0xFF)
        return c != 0xD7 && c != 0xF7; // × and ÷
    return c == 0x160 || c == 0x161 || c == 0x152 || c == 0x153 || c == 0x17D || c == 0x17E || c == 0x178;
}

// The next code point of strict UTF-8 at `at`, moving past it; false for anything else
// (overlong forms, surrogates, cut sequences), which could hide a '.' or '/'.
bool NextCodePoint(const std::string& text, size_t& at, uint32_t& c)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    int extra = 0;
    if (lead < 0x80) {
        c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        c = lead & 0x1F;
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        c = lead & 0x0F;
        extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        c = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (at + extra >= text.size())
        return false;
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (next & 0x3F);
    }
    const uint32_t least[] = { 0, 0x80, 0x800, 0x10000 };
    if (c < least[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return false;
    at += extra + 1;
    return true;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

bool IsWebCharacterName(const std::string& name)
{
    size_t at = 0;
    size_t count = 0;
    while (at < name.size()) {
        uint32_t c = 0;
        if (!NextCodePoint(name, at, c))
            return false;
        const bool letterOrDigit = IsAsciiAlphanumeric(c) || IsWindows1252Letter(c);
        if (!letterOrDigit && (count == 0 || (c != ' ' && c != '-' && c != '_')))
            return false;
        if (++count > MostCharacters)
            return false;
    }
    return count > 0;
}

std::string WebCharacterNameOfFile(const std::string& baseName)
{
    if (IsWebCharacterName(baseName))
        return baseName;
    std::string converted;
    for (char byte : baseName) {
        const unsigned char b = static_cast<unsigned char>(byte);
        const uint32_t c = b >= 0x80 && b < 0xA0 ? Windows1252High(b) : b;
        if (c == 0)
            return std::string();
        AppendUtf8(converted, c);
    }
    return IsWebCharacterName(converted) ? converted : std::string();
}
