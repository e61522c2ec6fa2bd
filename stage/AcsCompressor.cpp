#include "stage/AcsCompressor.h"

#include <algorithm>
#include <limits>

namespace {

// A copy's distance is a prefix of up to three 1 bits (ended by a 0 bit unless there
// are three) choosing how many bits follow and what they add.
struct DistanceClass {
    int bits;
    uint32_t base;
};
constexpr DistanceClass kDistanceClasses[] = {{6, 1}, {9, 65}, {12, 577}, {20, 4673}};
constexpr size_t kFarClass = 3;
constexpr uint32_t kEndMark = 0xFFFFF;  // the far distance value that ends the data
constexpr size_t kMaxDistance = kDistanceClasses[kFarClass].base + kEndMark - 1;

// A copy's length is 2 (3 for far copies) plus a value coded as n 1 bits, a 0 bit and
// n more bits, adding 2^n - 1 and those bits.
constexpr size_t kMinLength = 2;
constexpr int kMaxLengthPrefix = 11;
// The compressor stops one short of the longest prefix: whether a 0 bit closes that
// one is where readers could differ.
constexpr int kWrittenLengthPrefix = kMaxLengthPrefix - 1;
constexpr size_t kMaxWrittenLength = kMinLength + (size_t(2) << kWrittenLengthPrefix) - 2;

constexpr int kLiteralBits = 9;
constexpr size_t kClosingBytes = 6;

class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : next(data), end(data + size) {}

    // Reads n bits (n <= 24); false when the data ends first.
    bool Read(int n, uint32_t& value)
    {
        if (count < n) {
            while (count <= 56 && next < end) {
                bits |= uint64_t(*next++) << count;
                count += 8;
            }
            if (count < n)
                return false;
        }
        value = uint32_t(bits & ((uint64_t(1) << n) - 1));
        bits >>= n;
        count -= n;
        return true;
    }

private:
    const uint8_t* next;
    const uint8_t* end;
    uint64_t bits = 0;
    int count = 0;
};

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out(out) {}

    // Appends the low n bits of value (n <= 24).
    void Write(uint32_t value, int n)
    {
        bits |= uint64_t(value) << count;
        count += n;
        while (count >= 8) {
            out.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    }

    void WriteOnes(int n) { Write((uint32_t(1) << n) - 1, n); }

    // Fills the last byte with 1 bits, so that it reads as the start of the end mark.
    void FinishWithOnes()
    {
        if (count > 0)
            WriteOnes(8 - count);
    }

private:
    std::vector<uint8_t>& out;
    uint64_t bits = 0;
    int count = 0;
};

size_t DistanceClassOf(size_t distance)
{
    size_t index = 0;
    while (index < kFarClass && distance >= kDistanceClasses[index + 1].base)
        ++index;
    return index;
}

size_t MinLengthOf(size_t distanceClass)
{
    return kMinLength + (distanceClass == kFarClass ? 1 : 0);
}

int LengthPrefixOf(size_t extra)
{
    int prefix = 0;
    while (extra >= (size_t(2) << prefix) - 1)
        ++prefix;
    return prefix;
}

int CopyBits(size_t distance, size_t length)
{
    size_t distanceClass = DistanceClassOf(distance);
    int prefixBits = int(distanceClass) + (distanceClass == kFarClass ? 0 : 1);
    int lengthPrefix = LengthPrefixOf(length - MinLengthOf(distanceClass));
    return 1 + prefixBits + kDistanceClasses[distanceClass].bits + 2 * lengthPrefix + 1;
}

void WriteCopy(BitWriter& writer, size_t distance, size_t length)
{
    size_t distanceClass = DistanceClassOf(distance);
    writer.Write(1, 1);
    writer.WriteOnes(int(distanceClass));
    if (distanceClass != kFarClass)
        writer.Write(0, 1);
    writer.Write(uint32_t(distance - kDistanceClasses[distanceClass].base),
                 kDistanceClasses[distanceClass].bits);
    size_t extra = length - MinLengthOf(distanceClass);
    int prefix = LengthPrefixOf(extra);
    writer.WriteOnes(prefix);
    writer.Write(0, 1);
    writer.Write(uint32_t(extra - ((size_t(1) << prefix) - 1)), prefix);
}

// Finds earlier occurrences of the bytes at a position through chains of positions
// that share the hash of their first three bytes.
class MatchFinder {
public:
    MatchFinder(const uint8_t* data, size_t size) : data(data), size(size)
    {
        size_t window = 1;
        while (window < std::min(size, kMaxDistance))
            window <<= 1;
        if (window > kMaxDistance)
            window >>= 1;
        windowMask = window - 1;
        previous.assign(window, kNone);
        heads.assign(size_t(1) << kHashBits, kNone);
    }

    // Records position so that later positions can copy from it.
    void Insert(size_t position)
    {
        if (position + 3 > size)
            return;
        uint32_t& head = heads[Hash(position)];
        previous[position & windowMask] = head;
        head = uint32_t(position);
    }

    // The longest earlier match worth copying at position, closest first among equals;
    // length 0 when writing literals is as short.
    void Find(size_t position, size_t& bestDistance, size_t& bestLength) const
    {
        bestDistance = bestLength = 0;
        if (position + 3 > size)
            return;
        size_t limit = std::min(kMaxWrittenLength, size - position);
        uint32_t candidate = heads[Hash(position)];
        for (int depth = 0; depth < kMaxChain && candidate != kNone; ++depth) {
            size_t distance = position - candidate;
            if (distance > windowMask)
                break;
            size_t length = 0;
            while (length < limit && data[candidate + length] == data[position + length])
                ++length;
            if (length > bestLength && length >= MinLengthOf(DistanceClassOf(distance)) &&
                CopyBits(distance, length) < kLiteralBits * int(length)) {
                bestDistance = distance;
                bestLength = length;
                if (length == limit)
                    break;
            }
            candidate = previous[candidate & windowMask];
        }
    }

private:
    static constexpr int kHashBits = 16;
    static constexpr int kMaxChain = 48;
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

    uint32_t Hash(size_t position) const
    {
        uint32_t key = uint32_t(data[position]) | uint32_t(data[position + 1]) << 8 |
                       uint32_t(data[position + 2]) << 16;
        return (key * 2654435761u) >> (32 - kHashBits);
    }

    const uint8_t* data;
    size_t size;
    size_t windowMask;
    std::vector<uint32_t> previous;
    std::vector<uint32_t> heads;
};

} // namespace

std::vector<uint8_t> CompressAcsData(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out;
    out.reserve(size + size / 8 + 16);
    out.push_back(0);
    BitWriter writer(out);
    MatchFinder finder(data, size);
    size_t position = 0;
    while (position < size) {
        size_t distance, length;
        finder.Find(position, distance, length);
        if (length == 0) {
            writer.Write(0, 1);
            writer.Write(data[position], 8);
            finder.Insert(position++);
            continue;
        }
        WriteCopy(writer, distance, length);
        for (size_t end = position + length; position < end; ++position)
            finder.Insert(position);
    }
    writer.FinishWithOnes();
    out.insert(out.end(), kClosingBytes, 0xFF);
    return out;
}

bool DecompressAcsData(const uint8_t* data, size_t size, uint8_t* out, size_t outSize)
{
    if (size == 0 || data[0] != 0)
        return false;
    BitReader reader(data + 1, size - 1);
    size_t written = 0;
    uint32_t bit, value;
    while (written < outSize) {
        if (!reader.Read(1, bit))
            return false;
        if (bit == 0) {
            if (!reader.Read(8, value))
                return false;
            out[written++] = uint8_t(value);
            continue;
        }
        size_t distanceClass = 0;
        while (distanceClass < kFarClass) {
            if (!reader.Read(1, bit))
                return false;
            if (bit == 0)
                break;
            ++distanceClass;
        }
        if (!reader.Read(kDistanceClasses[distanceClass].bits, value))
            return false;
        if (distanceClass == kFarClass && value == kEndMark)
            return false;  // the end mark before all the bytes
        size_t distance = value + kDistanceClasses[distanceClass].base;

        int prefix = 0;
        for (;;) {
            if (!reader.Read(1, bit))
                return false;
            if (bit == 0)
                break;
            if (++prefix > kMaxLengthPrefix)
                return false;
        }
        size_t length = MinLengthOf(distanceClass);
        if (prefix > 0) {
            if (!reader.Read(prefix, value))
                return false;
            length += ((size_t(1) << prefix) - 1) + value;
        }
        if (distance > written || length > outSize - written)
            return false;
        // Byte by byte: a copy may overlap the bytes it is writing.
        const uint8_t* from = out + written - distance;
        for (size_t i = 0; i < length; ++i)
            out[written + i] = from[i];
        written += length;
    }
    return true;
}

size_t MaxAcsDecompressedSize(size_t size)
{
    // The most productive token, a near copy of the longest length, takes 31 bits.
    constexpr uint64_t kLongestCopy = kMinLength + (uint64_t(2) << kMaxLengthPrefix) - 2;
    constexpr uint64_t kShortestCopyBits = 1 + 1 + 6 + 2 * kMaxLengthPrefix + 1;
    uint64_t most = (uint64_t(size) * 8 / kShortestCopyBits + 1) * kLongestCopy;
    return size_t(std::min<uint64_t>(most, std::numeric_limits<size_t>::max()));
}
