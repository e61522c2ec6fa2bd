#include "stage/WaveSound.h"

#include <cstring>

namespace {

const uint16_t kPcmFormat = 1;
const size_t kFormatSize = 16;          // a PCM format: tag ... bits per sample
const size_t kExtendedFormatSize = 18;  // other formats add the size of their extra bytes

uint16_t U16At(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t U32At(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ReadFormat(const uint8_t* chunk, size_t size, WaveSound& sound)
{
    if (size < kFormatSize)
        return false;
    sound.format = chunk;
    sound.formatSize = size;
    sound.formatTag = U16At(chunk);
    sound.channels = U16At(chunk + 2);
    sound.samplesPerSecond = U32At(chunk + 4);
    sound.blockAlign = U16At(chunk + 12);
    sound.bitsPerSample = U16At(chunk + 14);
    if (sound.channels == 0 || sound.samplesPerSecond == 0 || sound.blockAlign == 0)
        return false;
    if (sound.formatTag == kPcmFormat)
        return (sound.bitsPerSample == 8 || sound.bitsPerSample == 16) &&
               sound.blockAlign == sound.channels * sound.bitsPerSample / 8;
    // A compressed format says how many bytes of its own follow the common part.
    return size >= kExtendedFormatSize && U16At(chunk + 16) <= size - kExtendedFormatSize;
}

} // namespace

bool FindWaveSound(const std::vector<uint8_t>& data, WaveSound& sound)
{
    WaveSound found;
    if (data.size() < 12 || std::memcmp(data.data(), "RIFF", 4) != 0 ||
        std::memcmp(data.data() + 8, "WAVE", 4) != 0)
        return false;
    const uint32_t riffSize = U32At(data.data() + 4);
    if (riffSize < 4 || riffSize > data.size() - 8)
        return false;
    const uint8_t* at = data.data() + 12;
    const uint8_t* end = data.data() + 8 + riffSize;
    while (size_t(end - at) >= 8) {
        const uint32_t size = U32At(at + 4);
        const uint8_t* chunk = at + 8;
        if (size > size_t(end - chunk))
            return false;
        if (std::memcmp(at, "fmt ", 4) == 0) {
            if (found.format || !ReadFormat(chunk, size, found))
                return false;
        } else if (std::memcmp(at, "data", 4) == 0) {
            if (!found.format)
                return false;
            found.samples = chunk;
            found.sampleBytes = size - size % found.blockAlign;
            if (found.sampleBytes == 0)
                return false;
            sound = found;
            return true;
        }
        // Chunks start on even offsets.
        const size_t step = size_t(size) + (size & 1);
        if (step >= size_t(end - chunk))
            break;
        at = chunk + step;
    }
    return false;
}
