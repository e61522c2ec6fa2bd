#include "AcsLayout.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

constexpr uint32_t kVoiceFlag = 0x20;
constexpr uint32_t kBalloonFlag = 0x200;

struct Part {
    uint32_t offset = 0;
    uint32_t size = 0;
    uint32_t End() const { return offset + size; }
};

// Little-endian fields from a position in the file; a read past the end throws.
class Walk {
public:
    Walk(const std::vector<uint8_t>& file, size_t at) : file(file), at(at) {}

    uint32_t Field(int bytes)
    {
        if (at + bytes > file.size())
            throw std::out_of_range("a field runs past the end of the file");
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= uint32_t(file[at + i]) << (8 * i);
        at += bytes;
        return value;
    }
    Part Locator()
    {
        Part part;
        part.offset = Field(4);
        part.size = Field(4);
        return part;
    }
    // A string, for the ASCII names the checks compare.
    std::string String()
    {
        const uint32_t units = Field(4);
        std::string text;
        for (uint32_t i = 0; i < units; ++i)
            text += char(Field(2));
        if (units > 0)
            Field(2);
        return text;
    }
    void Skip(size_t bytes) { at += bytes; }

    const std::vector<uint8_t>& file;
    size_t at;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Walks the character info up to the end of the state list; where that is.
size_t StateListEnd(Walk walk, uint32_t flags, AcsLayout& layout)
{
    if (flags & kVoiceFlag) {
        walk.Skip(16 + 16 + 4 + 2);
        if (walk.Field(1)) {
            walk.Field(2);
            walk.String();
            walk.Skip(2 + 2);
            walk.String();
        }
    }
    if (flags & kBalloonFlag) {
        walk.Skip(2);
        for (uint32_t& color : layout.balloonColors)
            color = walk.Field(4);
        walk.String();
        walk.Skip(4 + 4 + 1 + 1);
    }
    walk.Skip(4 * size_t(walk.Field(4)));  // palette
    if (walk.Field(1)) {
        walk.Skip(walk.Field(4));  // tray icon: monochrome and colour bitmaps
        walk.Skip(walk.Field(4));
    }
    for (uint32_t states = walk.Field(2); states > 0; --states) {
        walk.String();
        for (uint32_t animations = walk.Field(2); animations > 0; --animations)
            walk.String();
    }
    return walk.at;
}

void CheckAnimations(const std::vector<uint8_t>& file, Part list, AcsLayout& layout)
{
    Walk walk(file, list.offset);
    for (uint32_t count = walk.Field(4), i = 0; i < count; ++i) {
        const std::string name = walk.String();
        Walk record(file, walk.Locator().offset);
        if (record.String() != Upper(name))
            layout.problems.push_back("animation " + name + " does not repeat its name in upper case");
        record.Field(1);
        const std::string returning = record.String();
        if (returning != Upper(returning))
            layout.problems.push_back("animation " + name + " names its return animation in lower case");
    }
}

void CheckImages(const std::vector<uint8_t>& file, Part list, AcsLayout& layout)
{
    Walk walk(file, list.offset);
    for (uint32_t count = walk.Field(4), i = 0; i < count; ++i) {
        const std::string image = "image " + std::to_string(i);
        const Part record = walk.Locator();
        if (walk.Field(4) == 0)
            layout.problems.push_back(image + " has a zero checksum");
        Walk bytes(file, record.offset);
        const uint32_t present = bytes.Field(1);
        if (present == 0) {
            if (record.size != 1)
                layout.problems.push_back(image + " is an empty slot of more than one byte");
            continue;
        }
        if (present != 1)
            layout.problems.push_back(image + " does not open with 1");
        bytes.Skip(2 + 2 + 1);
        bytes.Skip(bytes.Field(4));  // pixels
        const uint32_t compressedRegion = bytes.Field(4);
        const uint32_t region = bytes.Field(4);
        if (compressedRegion == 0 || region == 0)
            layout.problems.push_back(image + " carries no compressed region data");
        else if (bytes.Field(1) != 0)
            layout.problems.push_back(image + " has region data that is not compressed data");
    }
}

void CheckSounds(const std::vector<uint8_t>& file, Part list, AcsLayout& layout)
{
    Walk walk(file, list.offset);
    for (uint32_t count = walk.Field(4), i = 0; i < count; ++i) {
        walk.Locator();
        if (walk.Field(4) == 0)
            layout.problems.push_back("sound " + std::to_string(i) + " has a zero checksum");
    }
}

} // namespace

AcsLayout ReadAcsLayout(const std::vector<uint8_t>& file)
{
    AcsLayout layout;
    try {
        Walk header(file, 0);
        if (header.Field(4) != 0xABCDABC3)
            layout.problems.push_back("the signature is wrong");
        const Part info = header.Locator();
        const Part lists[] = { header.Locator(), header.Locator(), header.Locator() };
        if (info.End() != file.size())
            layout.problems.push_back("the character info does not end the file");
        for (const Part& list : lists)
            if (list.End() > info.offset)
                layout.problems.push_back("a list lies after the character info");

        Walk walk(file, info.offset);
        walk.Skip(4);  // versions
        const Part names = walk.Locator();
        walk.Skip(16 + 2 + 2 + 1);
        const uint32_t flags = walk.Field(4);
        walk.Skip(4);  // animation set version
        if (names.offset != StateListEnd(walk, flags, layout))
            layout.problems.push_back("the name list does not follow the state list");
        if (names.offset < info.offset || names.End() != info.End())
            layout.problems.push_back("the name list does not end the character info");

        CheckAnimations(file, lists[0], layout);
        CheckImages(file, lists[1], layout);
        CheckSounds(file, lists[2], layout);
    } catch (const std::out_of_range& e) {
        layout.problems.push_back(e.what());
    }
    return layout;
}
