#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stage/AcsReader.h"
#include "stage/Utf16Text.h"

// Little-endian fields appended to a character file or to a block of one.
class AcsOutput {
public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U16(uint16_t value)
    {
        U8(uint8_t(value));
        U8(uint8_t(value >> 8));
    }
    void I16(int16_t value) { U16(uint16_t(value)); }
    void U32(uint32_t value)
    {
        U16(uint16_t(value));
        U16(uint16_t(value >> 16));
    }
    void I32(int32_t value) { U32(uint32_t(value)); }
    void Bytes(const uint8_t* data, size_t size) { bytes.insert(bytes.end(), data, data + size); }
    void Bytes(const std::vector<uint8_t>& data) { Bytes(data.data(), data.size()); }
    void Put(AcsLocator locator)
    {
        U32(locator.offset);
        U32(locator.size);
    }
    // Fills in a locator written earlier at `at`.
    void PutAt(size_t at, AcsLocator locator)
    {
        AcsOutput field;
        field.Put(locator);
        std::copy(field.bytes.begin(), field.bytes.end(), bytes.begin() + at);
    }

    // A count of UTF-16 units, the units, and a terminator unless the count is 0.
    void String(const std::string& text)
    {
        std::vector<uint16_t> units = Utf16FromUtf8(text);
        U32(uint32_t(units.size()));
        if (units.empty())
            return;
        for (uint16_t unit : units)
            U16(unit);
        U16(0);
    }

    // Appends what `write` writes and returns where it lies.
    template <class Write>
    AcsLocator Block(Write write)
    {
        size_t start = bytes.size();
        write();
        return AcsLocator{uint32_t(start), uint32_t(bytes.size() - start)};
    }

    std::vector<uint8_t> bytes;
};
