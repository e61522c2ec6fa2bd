#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Character files hold text as UTF-16LE; the stage holds it as UTF-8.

// From `count` little-endian UTF-16 units; lone surrogates become U+FFFD rather than
// failing a file over a name.
std::string Utf8FromUtf16(const uint8_t* units, size_t count);

// A malformed UTF-8 sequence becomes U+FFFD.
std::vector<uint16_t> Utf16FromUtf8(const std::string& text);
