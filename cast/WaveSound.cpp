#include "cast/WaveSound.h"
#include <cstring>

namespace {

uint32_t U32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint16_t U16(const uint8_t* at)
{
    return uint16_t(at[0] | at[1] << 8);
}

bool FormatPlays(const uint8_t* format, uint32_t size)
{
    if (size < 16)
        return false;
    const uint16_t tag = U16(format), channels = U16(format + 2), bits = U16(format + 14);
    const uint32_t rate = U32(format + 4);
    return tag == 1 && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate >= 3000 && rate <= 192000;
}

} // namespace

bool IsPlayableWave(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;
    const uint64_t end = uint64_t(U32(bytes.data() + 4)) + 8;
    if (end > bytes.size())
        return false;
    bool formatSeen = false;
    for (uint64_t at = 12; at + 8 <= end;) {
        const uint8_t* chunk = bytes.data() + at;
        const uint32_t size = U32(chunk + 4);
        if (at + 8 + size > end)
            return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (!FormatPlays(chunk + 8, size))
                return false;
            formatSeen = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            return formatSeen && size > 0;
        }
        at += 8 + uint64_t(size) + (size & 1);  // chunks are padded to an even size
    }
    return false;
}
