#include "cast/PngFile.h"
#include <stdexcept>
#include <zlib.h>

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& data)
{
    PutU32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

} // namespace

std::vector<uint8_t> EncodeIndexedPng(int width, int height, const std::vector<uint8_t>& pixels,
                                      const std::vector<CharacterColor>& palette, uint8_t transparentIndex)
{
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * height)
        throw std::invalid_argument("the image's pixels do not match its size");

    std::vector<uint8_t> header;
    PutU32(header, uint32_t(width));
    PutU32(header, uint32_t(height));
    // 8 bits per pixel, palette colour, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), { 8, 3, 0, 0, 0 });

    std::vector<uint8_t> colors;
    for (size_t index = 0; index < 256; ++index) {
        const CharacterColor color = index < palette.size() ? palette[index] : 0;
        colors.insert(colors.end(), { uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color) });
    }
    // Alphas past the last one given are opaque.
    std::vector<uint8_t> alphas(size_t(transparentIndex) + 1, 0xFF);
    alphas[transparentIndex] = 0;

    // Palette images pack best without a row filter: each row starts with filter 0.
    std::vector<uint8_t> rows;
    rows.reserve(pixels.size() + size_t(height));
    for (int row = 0; row < height; ++row) {
        rows.push_back(0);
        rows.insert(rows.end(), pixels.begin() + size_t(row) * width, pixels.begin() + size_t(row + 1) * width);
    }
    uLongf packedSize = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), uLong(rows.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("the image could not be compressed");
    packed.resize(packedSize);

    std::vector<uint8_t> png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    PutChunk(png, "IHDR", header);
    PutChunk(png, "PLTE", colors);
    PutChunk(png, "tRNS", alphas);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}
