#include "stage/AcsWriter.h"

#include <algorithm>

#include "stage/AcsCompressor.h"
#include "stage/AcsReader.h"
#include "stage/Utf16Text.h"

namespace {

// Little-endian fields appended to the file.
class Output {
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
        Output field;
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

void WriteBalloon(Output& out, const CharacterBalloon& balloon)
{
    out.U8(balloon.lines);
    out.U8(balloon.charsPerLine);
    out.U32(SwapRedAndBlue(balloon.foreground));
    out.U32(SwapRedAndBlue(balloon.background));
    out.U32(SwapRedAndBlue(balloon.border));
    out.String(balloon.fontName);
    out.I32(balloon.fontHeight);
    out.I32(balloon.fontWeight);
    out.U8(balloon.italic ? 1 : 0);
    out.U8(balloon.reserved);
}

void WriteLocalized(Output& out, const std::vector<CharacterLocalizedInfo>& languages)
{
    out.U16(uint16_t(languages.size()));
    for (const CharacterLocalizedInfo& language : languages) {
        out.U16(language.languageId);
        out.String(language.name);
        out.String(language.description);
        out.String(language.extraData);
    }
}

// The name list ends the block, right after the state list: readers take the state
// list's length from where the name list starts.
void WriteInfo(Output& out, const CharacterInfo& info)
{
    out.U16(info.minorVersion);
    out.U16(info.majorVersion);
    const size_t localizedAt = out.bytes.size();
    out.Put(AcsLocator{});
    out.Bytes(info.guid, sizeof info.guid);
    out.U16(info.width);
    out.U16(info.height);
    out.U8(info.transparentIndex);
    out.U32(info.flags);
    out.U16(info.animationSetMajorVersion);
    out.U16(info.animationSetMinorVersion);
    out.Bytes(info.voice);
    if (info.flags & kCharacterBalloonEnabled)
        WriteBalloon(out, info.balloon);
    out.U32(uint32_t(info.palette.size()));
    for (CharacterColor color : info.palette)
        out.U32(color);
    out.U8(info.trayIcon.empty() ? 0 : 1);
    out.Bytes(info.trayIcon);
    out.U16(uint16_t(info.states.size()));
    for (const CharacterState& state : info.states) {
        out.String(state.name);
        out.U16(uint16_t(state.animations.size()));
        for (const std::string& animation : state.animations)
            out.String(animation);
    }
    out.PutAt(localizedAt, out.Block([&] { WriteLocalized(out, info.localized); }));
}

void WriteFrame(Output& out, const CharacterFrame& frame)
{
    out.U16(uint16_t(frame.images.size()));
    for (const FrameImage& image : frame.images) {
        out.U32(image.image);
        out.I16(image.x);
        out.I16(image.y);
    }
    out.U16(uint16_t(frame.audio));  // -1 becomes 0xFFFF, no sound
    out.U16(frame.duration);
    out.I16(int16_t(frame.exitFrame));
    out.U8(uint8_t(frame.branches.size()));
    for (const FrameBranch& branch : frame.branches) {
        out.U16(branch.frame);
        out.U16(branch.probability);
    }
    out.U8(uint8_t(frame.overlays.size()));
    for (const MouthOverlay& overlay : frame.overlays) {
        out.U8(overlay.mouth);
        out.U8(overlay.replaceTopImage ? 1 : 0);
        out.U16(overlay.image);
        out.U8(overlay.reserved);
        out.U8(overlay.region.empty() ? 0 : 1);
        out.I16(overlay.x);
        out.I16(overlay.y);
        out.U16(overlay.width);
        out.U16(overlay.height);
        if (!overlay.region.empty()) {
            out.U32(uint32_t(overlay.region.size()));
            out.Bytes(overlay.region);
        }
    }
}

void WriteAnimation(Output& out, const CharacterAnimation& animation)
{
    out.String(AsciiUpperCase(animation.name));
    out.U8(animation.transition);
    out.String(animation.returnAnimation);
    out.U16(uint16_t(animation.frames.size()));
    for (const CharacterFrame& frame : animation.frames)
        WriteFrame(out, frame);
}

void WriteImage(Output& out, const CharacterImage& image)
{
    out.U8(image.present ? 1 : 0);
    if (!image.present)
        return;
    out.U16(image.width);
    out.U16(image.height);
    out.U8(1);  // compressed
    std::vector<uint8_t> pixels = CompressAcsData(image.pixels.data(), image.pixels.size());
    out.U32(uint32_t(pixels.size()));
    out.Bytes(pixels);
    if (image.region.empty()) {
        out.U32(0);
        out.U32(0);
        return;
    }
    std::vector<uint8_t> region = CompressAcsData(image.region.data(), image.region.size());
    out.U32(uint32_t(region.size()));
    out.U32(uint32_t(image.region.size()));
    out.Bytes(region);
}

// The format leaves the checksum's sum unknown and readers do not verify it; real files
// carry non-zero values, which a CRC-32 of the entry's bytes gives.
uint32_t Checksum(const std::vector<uint8_t>& bytes, AcsLocator block)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = block.offset; i < size_t(block.offset) + block.size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Each item's bytes, then the list of their locators (with a name or a checksum), which
// `writeEntry` writes; returns where the list lies.
template <class Item, class WriteItem, class WriteEntry>
AcsLocator WriteList(Output& out, const std::vector<Item>& items, WriteItem writeItem,
                  WriteEntry writeEntry)
{
    std::vector<AcsLocator> blocks;
    blocks.reserve(items.size());
    for (const Item& item : items)
        blocks.push_back(out.Block([&] { writeItem(item); }));
    return out.Block([&] {
        out.U32(uint32_t(items.size()));
        for (size_t i = 0; i < items.size(); ++i)
            writeEntry(items[i], blocks[i]);
    });
}

} // namespace

std::vector<uint8_t> WriteCharacter(const CharacterData& character, std::string* error)
{
    std::string problem;
    if (!CheckCharacter(character, problem)) {
        if (error)
            *error = problem;
        return {};
    }
    Output out;
    out.bytes.resize(kAcsHeaderSize);  // filled in once the parts' places are known

    // The parts in the order real files have them, the character info last.
    AcsLocator animations = WriteList(
        out, character.animations,
        [&](const CharacterAnimation& animation) { WriteAnimation(out, animation); },
        [&](const CharacterAnimation& animation, AcsLocator block) {
            out.String(animation.name);
            out.Put(block);
        });
    auto checkedEntry = [&](const auto&, AcsLocator block) {
        out.Put(block);
        out.U32(Checksum(out.bytes, block));
    };
    AcsLocator images = WriteList(
        out, character.images, [&](const CharacterImage& image) { WriteImage(out, image); }, checkedEntry);
    AcsLocator audio = WriteList(
        out, character.audio, [&](const std::vector<uint8_t>& sound) { out.Bytes(sound); }, checkedEntry);
    AcsLocator info = out.Block([&] { WriteInfo(out, character.info); });

    if (out.bytes.size() > kAcsMaxFileSize) {
        if (error)
            *error = "the character makes a file larger than 256 MB";
        return {};
    }
    Output header;
    header.U32(kAcsSignature);
    header.Put(info);
    header.Put(animations);
    header.Put(images);
    header.Put(audio);
    std::copy(header.bytes.begin(), header.bytes.end(), out.bytes.begin());
    return std::move(out.bytes);
}
