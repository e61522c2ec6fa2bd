#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The bit-level LZ compression that character files use for image and region data.
// Bits are taken from each byte's lowest bit up. The data opens with a zero byte; then
// each token is a 0 bit and a literal byte, or a 1 bit, a distance back into the output
// and a length to copy from there. A reserved distance ends the data, which is padded
// with 1 bits and closed with six 0xFF bytes.

// Compresses the bytes; the result decompresses to exactly the same bytes.
std::vector<uint8_t> CompressAcsData(const uint8_t* data, size_t size);

// Decompresses into exactly outSize bytes and stops there. Fails when the data ends, or
// reaches its end mark, before outSize bytes; when a copy reaches back before the start
// of the output or past outSize; and when the data does not open with its zero byte.
bool DecompressAcsData(const uint8_t* data, size_t size, uint8_t* out, size_t outSize);

// The most bytes that `size` compressed bytes can stand for; anything claiming more is
// broken, and is refused before memory is set aside for it.
size_t MaxAcsDecompressedSize(size_t size);
