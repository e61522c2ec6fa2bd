#pragma once
#include <cstdint>
#include <vector>

// Whether the bytes are a sound a browser plays: RIFF WAVE data whose chunks all lie
// within it, with a PCM "fmt " chunk (1 or 2 channels, 8 or 16 bits, a sample rate from
// 3000 to 192000) before a "data" chunk. Character files carry sounds as they were
// recorded, broken ones included; those are better left out than sent to a page.
bool IsPlayableWave(const std::vector<uint8_t>& bytes);
