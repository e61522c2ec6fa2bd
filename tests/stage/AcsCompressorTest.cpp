#include "stage/AcsCompressor.h"
#include <gtest/gtest.h>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

const uint8_t Canary = 0xC5;
const size_t CanaryBytes = 64;

Bytes RandomBytes(size_t size, uint32_t seed, uint32_t range = 256)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = uint8_t(random() % range);
    return bytes;
}

// Decompresses into a buffer followed by canary bytes; false also when a canary changed.
bool Decompress(const Bytes& compressed, size_t outSize, Bytes& out)
{
    Bytes buffer(outSize + CanaryBytes, Canary);
    bool decompressed = DecompressAcsData(compressed.data(), compressed.size(), buffer.data(), outSize);
    for (size_t i = outSize; i < buffer.size(); ++i)
        if (buffer[i] != Canary) {
            ADD_FAILURE() << "wrote past the output at " << i;
            return false;
        }
    out.assign(buffer.begin(), buffer.begin() + outSize);
    return decompressed;
}

void ExpectRoundTrip(const Bytes& data, const char* what)
{
    Bytes compressed = CompressAcsData(data.data(), data.size());
    Bytes out;
    ASSERT_TRUE(Decompress(compressed, data.size(), out)) << what;
    EXPECT_TRUE(out == data) << what;
    EXPECT_LE(data.size(), MaxAcsDecompressedSize(compressed.size())) << what;
}

// Tokens assembled bit by bit as the format lays them out: lowest bit of each byte
// first, after an opening zero byte, closed by 1 bits and six 0xFF bytes.
class TokenStream {
public:
    TokenStream& Literal(uint8_t value)
    {
        Put(0, 1);
        Put(value, 8);
        expected.push_back(value);
        return *this;
    }
    // A copy with its distance class prefix and length code spelled out.
    TokenStream& Copy(size_t distance, size_t length, const char* classPrefix, int distanceBits,
                      uint32_t distanceValue, const char* lengthPrefix, int lengthBits, uint32_t lengthValue)
    {
        Put(1, 1);
        for (const char* bit = classPrefix; *bit; ++bit)
            Put(*bit == '1', 1);
        Put(distanceValue, distanceBits);
        for (const char* bit = lengthPrefix; *bit; ++bit)
            Put(*bit == '1', 1);
        Put(lengthValue, lengthBits);
        for (size_t i = 0; i < length; ++i)
            expected.push_back(expected[expected.size() - distance]);
        return *this;
    }
    Bytes Finish() const
    {
        Bytes bytes(1, 0);
        for (size_t i = 0; i < bits.size(); ++i) {
            if (i % 8 == 0)
                bytes.push_back(0xFF);
            if (!bits[i])
                bytes.back() &= uint8_t(~(1u << (i % 8)));
        }
        bytes.insert(bytes.end(), 6, 0xFF);
        return bytes;
    }

    Bytes expected;

private:
    void Put(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i)
            bits.push_back((value >> i & 1) != 0);
    }
    std::vector<bool> bits;
};

} // namespace

TEST(AcsCompressorTest, RoundTripsEverySortOfData)
{
    ExpectRoundTrip({}, "empty");
    ExpectRoundTrip({ 42 }, "one byte");
    ExpectRoundTrip({ 1, 2 }, "two bytes");
    ExpectRoundTrip(Bytes(100000, 0), "a long run");
    ExpectRoundTrip(RandomBytes(200000, 1), "random bytes");
    ExpectRoundTrip(RandomBytes(50000, 2, 3), "three values at random");

    // Repeats at every distance class: near, middle, far, and beyond a megabyte.
    for (size_t period : { 3u, 64u, 65u, 576u, 577u, 4672u, 4673u, 70000u }) {
        Bytes block = RandomBytes(period, uint32_t(period));
        Bytes data;
        for (int i = 0; i < 4; ++i)
            data.insert(data.end(), block.begin(), block.end());
        ExpectRoundTrip(data, ("period " + std::to_string(period)).c_str());
    }
    Bytes far = RandomBytes(1100000, 3);
    std::copy(far.begin(), far.begin() + 5000, far.end() - 5000);
    ExpectRoundTrip(far, "a repeat a megabyte back");

    // Short random lengths catch slips at the ends of the data.
    for (uint32_t seed = 0; seed < 300; ++seed)
        ExpectRoundTrip(RandomBytes(seed % 97, seed, 1 + seed % 4), "short data");
}

TEST(AcsCompressorTest, PacksRepeatsAndBarelyGrowsNoise)
{
    Bytes run(100000, 7);
    EXPECT_LT(CompressAcsData(run.data(), run.size()).size(), run.size() / 100);

    // A literal takes 9 bits, plus the opening byte and the closing bytes.
    Bytes noise = RandomBytes(100000, 4);
    EXPECT_LE(CompressAcsData(noise.data(), noise.size()).size(), noise.size() * 9 / 8 + 8);
}

TEST(AcsCompressorTest, TruncatedDataFailsAndTheClosingBytesAreSpare)
{
    Bytes data = RandomBytes(3000, 5, 6);
    Bytes compressed = CompressAcsData(data.data(), data.size());
    ASSERT_GT(compressed.size(), 7u);
    for (size_t length = 0; length < compressed.size(); ++length) {
        Bytes cut(compressed.begin(), compressed.begin() + length), out;
        bool decompressed = Decompress(cut, data.size(), out);
        // The last byte with token bits comes just before the six closing bytes.
        EXPECT_EQ(length >= compressed.size() - 6, decompressed) << length;
        EXPECT_TRUE(!decompressed || out == data) << length;
    }
}

TEST(AcsCompressorTest, StopsAtTheOutputSize)
{
    Bytes data = RandomBytes(2000, 6, 4);
    Bytes compressed = CompressAcsData(data.data(), data.size());
    for (size_t outSize = 0; outSize < data.size(); ++outSize) {
        Bytes out;
        bool decompressed = Decompress(compressed, outSize, out);
        EXPECT_TRUE(!decompressed || std::equal(out.begin(), out.end(), data.begin())) << outSize;
    }
    Bytes out;
    EXPECT_FALSE(Decompress(compressed, data.size() + 1, out)) << "the end mark comes first";
}

TEST(AcsCompressorTest, RefusesMalformedData)
{
    Bytes out;
    EXPECT_FALSE(Decompress({}, 1, out));
    Bytes data(50, 9);
    Bytes compressed = CompressAcsData(data.data(), data.size());
    compressed[0] = 1;
    EXPECT_FALSE(Decompress(compressed, data.size(), out)) << "no opening zero byte";
    // A copy as the first token, one byte back into an empty output.
    EXPECT_FALSE(Decompress({ 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF }, 4, out));

    // Garbage never writes past the output or crashes.
    std::mt19937 random(8);
    for (int i = 0; i < 3000; ++i) {
        Bytes garbage = RandomBytes(1 + random() % 200, random());
        garbage[0] = 0;
        Decompress(garbage, random() % 5000, out);
    }
}

TEST(AcsCompressorTest, DecodesTokensOfEveryDistanceClass)
{
    TokenStream tokens;
    for (int i = 0; i < 5000; ++i)
        tokens.Literal(uint8_t(i * 7 + i / 256));
    tokens.Copy(1, 2, "0", 6, 0, "0", 0, 0)
        .Copy(64, 3, "0", 6, 63, "10", 1, 0)
        .Copy(65, 4, "10", 9, 0, "10", 1, 1)
        .Copy(576, 5, "10", 9, 511, "110", 2, 0)
        .Copy(577, 8, "110", 12, 0, "110", 2, 3)
        .Copy(4672, 9, "110", 12, 4095, "1110", 3, 0)
        .Copy(4673, 3, "111", 20, 0, "0", 0, 0)  // far copies are one longer
        .Copy(5000, 5, "111", 20, 327, "10", 1, 1);
    Bytes out;
    ASSERT_TRUE(Decompress(tokens.Finish(), tokens.expected.size(), out));
    EXPECT_TRUE(out == tokens.expected);
}

TEST(AcsCompressorTest, DecodesTheFormatDescriptionsWorkedExample)
{
    // The published example: literals, copies of several lengths, the end mark and
    // the closing bytes; it stands for the 32-byte header of an empty region.
    const Bytes example = { 0x00, 0x40, 0x00, 0x04, 0x10, 0xD0, 0x90, 0x80, 0x42, 0xED,
                            0x98, 0x01, 0xB7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF };
    Bytes expected(32, 0x00);
    expected[0] = 0x20;
    expected[4] = 0x01;
    expected[12] = 0xA8;
    Bytes out;
    ASSERT_TRUE(Decompress(example, expected.size(), out));
    EXPECT_TRUE(out == expected);
    EXPECT_FALSE(Decompress(example, expected.size() + 1, out)) << "the end mark follows the 32 bytes";
    EXPECT_LE(expected.size(), MaxAcsDecompressedSize(example.size()));
}
