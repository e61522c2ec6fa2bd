#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Where the format and the samples lie in RIFF WAVE data, found and checked before any
// of it goes to the system: a character file's sounds are untrusted bytes.
struct WaveSound {
    const uint8_t* format = nullptr;  // the "fmt " chunk: a WAVEFORMAT, maybe more
    size_t formatSize = 0;
    uint16_t formatTag = 0;  // 1 for plain PCM
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    const uint8_t* samples = nullptr;  // the "data" chunk, cut to whole blocks
    size_t sampleBytes = 0;
};

// Finds the chunks of a RIFF WAVE file held in memory; false when the bytes are not
// one (wrong signature, a chunk running past the RIFF size or the data, no format
// before the samples, a format no player can use). The pointers point into `data`.
bool FindWaveSound(const std::vector<uint8_t>& data, WaveSound& sound);
