#include "stage/Utf16Text.h"

namespace {

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Decodes one UTF-8 sequence at text[i] and moves i past it; a malformed sequence gives
// U+FFFD and moves one byte on.
uint32_t NextCodePoint(const std::string& text, size_t& i)
{
    auto byte = [&text](size_t at) { return uint32_t(uint8_t(text[at])); };
    uint32_t lead = byte(i);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                                     : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || length > text.size() - i) {
        ++i;
        return kReplacementCharacter;
    }
    uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return kReplacementCharacter;
        }
        c = c << 6 | (byte(i + k) & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        ++i;
        return kReplacementCharacter;
    }
    i += length;
    return c;
}

void AppendUtf8(std::string& text, uint32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | c >> 6);
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | c >> 12);
        text += char(0x80 | (c >> 6 & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | c >> 18);
        text += char(0x80 | (c >> 12 & 0x3F));
        text += char(0x80 | (c >> 6 & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Utf8FromUtf16(const uint8_t* units, size_t count)
{
    auto unit = [units](size_t i) { return uint32_t(units[2 * i] | units[2 * i + 1] << 8); };
    std::string text;
    text.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacementCharacter;
        }
        AppendUtf8(text, c);
    }
    return text;
}

std::vector<uint16_t> Utf16FromUtf8(const std::string& text)
{
    std::vector<uint16_t> units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t c = NextCodePoint(text, i);
        if (c < 0x10000) {
            units.push_back(uint16_t(c));
        } else {
            units.push_back(uint16_t(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(uint16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

