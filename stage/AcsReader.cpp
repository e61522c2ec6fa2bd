#include "stage/AcsReader.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <utility>

#include "stage/AcsCompressor.h"
#include "stage/CharacterVoice.h"
#include "stage/Utf16Text.h"

namespace {

struct FormatError {
    std::string message;
};

[[noreturn]] void Fail(std::string message)
{
    throw FormatError{std::move(message)};
}

std::string Numbered(const char* what, size_t index)
{
    return what + (" " + std::to_string(index));
}

// Little-endian fields from one part of the file; reading past the part's end fails
// with the part's name.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size, std::string part)
        : data(data), size(size), part(std::move(part)) {}

    uint8_t U8() { return *Take(1); }
    uint16_t U16()
    {
        const uint8_t* p = Take(2);
        return uint16_t(p[0] | p[1] << 8);
    }
    int16_t I16() { return int16_t(U16()); }
    uint32_t U32()
    {
        const uint8_t* p = Take(4);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t I32() { return int32_t(U32()); }

    const uint8_t* Take(size_t count)
    {
        if (count > size - position)
            Fail(part + " ends early");
        const uint8_t* taken = data + position;
        position += count;
        return taken;
    }

    std::vector<uint8_t> Bytes(size_t count)
    {
        const uint8_t* taken = Take(count);
        return std::vector<uint8_t>(taken, taken + count);
    }

    // A count of UTF-16 units, the units, and a terminator unless the count is 0.
    std::string String()
    {
        uint32_t count = U32();
        if (count == 0)
            return std::string();
        if (count > (size - position) / 2)
            Fail(part + " has a string running past its end");
        const uint8_t* units = Take(size_t(count) * 2);
        Take(2);
        return Utf8FromUtf16(units, count);
    }

    // A list's item count, refused when the remaining bytes cannot hold that many items
    // of at least minItemSize bytes, so that no list reserves memory the file lacks.
    size_t Count(uint32_t count, size_t minItemSize)
    {
        if (count > (size - position) / minItemSize)
            Fail(part + " claims more items than it has bytes for");
        return count;
    }

    const std::string& Part() const { return part; }
    const uint8_t* Here() const { return data + position; }
    size_t Left() const { return size - position; }
    size_t Position() const { return position; }
    std::vector<uint8_t> BytesSince(size_t start) const
    {
        return std::vector<uint8_t>(data + start, data + position);
    }
    void ExpectEnd() const
    {
        if (position != size)
            Fail(part + " has bytes left over");
    }

private:
    const uint8_t* data;
    size_t size;
    size_t position = 0;
    std::string part;
};

AcsLocator ReadLocator(Cursor& cursor)
{
    AcsLocator locator;
    locator.offset = cursor.U32();
    locator.size = cursor.U32();
    return locator;
}

// A monochrome and a colour bitmap, each as a size and its bytes.
void SkipTrayIcon(Cursor& cursor)
{
    cursor.Take(cursor.U32());
    cursor.Take(cursor.U32());
}

// Smallest sizes of list items, to bound counts by the bytes that follow them.
constexpr size_t kMinString = 4;
constexpr size_t kMinState = kMinString + 2;
constexpr size_t kMinLocalized = 2 + 3 * kMinString;
constexpr size_t kMinListEntry = 8 + 4;  // a locator and a name or checksum
constexpr size_t kMinFrame = 2 + 2 + 2 + 2 + 1 + 1;
constexpr size_t kMinFrameImage = 4 + 2 + 2;
constexpr size_t kMinBranch = 2 + 2;
constexpr size_t kMinOverlay = 1 + 1 + 2 + 1 + 1 + 2 + 2 + 2 + 2;
constexpr uint16_t kNoAudio = 0xFFFF;

class CharacterFileReader {
public:
    CharacterFileReader(const uint8_t* data, size_t size)
        : data(data), size(size), itemBytesLeft(size) {}

    void Read(CharacterData& character)
    {
        // Older characters are compound documents, a different format altogether.
        static const uint8_t kCompoundDocument[] = { 0xD0, 0xCF, 0x11, 0xE0 };
        if (size >= sizeof kCompoundDocument &&
            std::equal(kCompoundDocument, kCompoundDocument + sizeof kCompoundDocument, data))
            Fail("the file is an Agent 1.5 character, which this program cannot play");
        if (size < kAcsHeaderSize)
            Fail("the file is too short to be a character file");
        Cursor header(data, kAcsHeaderSize, "the header");
        if (header.U32() != kAcsSignature)
            Fail("the file is not a character file (its signature is wrong)");
        AcsLocator info = ReadLocator(header);
        AcsLocator animations = ReadLocator(header);
        AcsLocator images = ReadLocator(header);
        AcsLocator audio = ReadLocator(header);

        Cursor infoCursor = Open(info, "the character info");
        ReadInfo(infoCursor, character.info);
        ReadAnimations(animations, character.animations);
        ReadImages(images, character.images);
        ReadAudio(audio, character.audio);
    }

private:
    Cursor Open(AcsLocator where, std::string part) const
    {
        if (where.offset > size || where.size > size - where.offset)
            Fail(part + " lies outside the file");
        return Cursor(data + where.offset, where.size, std::move(part));
    }

    // Animations, images and sounds each have their own bytes in a well-made file, so
    // their sizes add up to no more than the file's: this keeps a file from having the
    // same bytes parsed over and over.
    Cursor OpenItem(AcsLocator where, std::string part)
    {
        Cursor cursor = Open(where, part);
        if (where.size > itemBytesLeft)
            Fail(part + " shares its bytes with others");
        itemBytesLeft -= where.size;
        return cursor;
    }

    void ReadInfo(Cursor& cursor, CharacterInfo& info)
    {
        info.minorVersion = cursor.U16();
        info.majorVersion = cursor.U16();
        AcsLocator localized = ReadLocator(cursor);
        std::copy_n(cursor.Take(16), 16, info.guid);
        info.width = cursor.U16();
        info.height = cursor.U16();
        info.transparentIndex = cursor.U8();
        info.flags = cursor.U32();
        info.animationSetMajorVersion = cursor.U16();
        info.animationSetMinorVersion = cursor.U16();
        if (info.flags & kCharacterVoiceEnabled) {
            CharacterVoice voice;
            std::string error;
            size_t used = ReadCharacterVoice(cursor.Here(), cursor.Left(), voice, error);
            if (used == 0)
                Fail(error);
            info.voice = cursor.Bytes(used);
        }
        if (info.flags & kCharacterBalloonEnabled)
            ReadBalloon(cursor, info.balloon);

        size_t colors = cursor.Count(cursor.U32(), 4);
        if (colors > kAcsMaxPaletteSize)
            Fail("the palette has more than 256 colours");
        info.palette.resize(colors);
        for (CharacterColor& color : info.palette)
            color = cursor.U32();

        if (cursor.U8() != 0) {
            size_t start = cursor.Position();
            SkipTrayIcon(cursor);
            info.trayIcon = cursor.BytesSince(start);
        }

        info.states.resize(cursor.Count(cursor.U16(), kMinState));
        for (CharacterState& state : info.states) {
            state.name = cursor.String();
            state.animations.resize(cursor.Count(cursor.U16(), kMinString));
            for (std::string& animation : state.animations)
                animation = cursor.String();
        }

        Cursor names = Open(localized, "the name list");
        info.localized.resize(names.Count(names.U16(), kMinLocalized));
        for (CharacterLocalizedInfo& language : info.localized) {
            language.languageId = names.U16();
            language.name = names.String();
            language.description = names.String();
            language.extraData = names.String();
        }
    }

    static void ReadBalloon(Cursor& cursor, CharacterBalloon& balloon)
    {
        balloon.lines = cursor.U8();
        balloon.charsPerLine = cursor.U8();
        balloon.foreground = SwapRedAndBlue(cursor.U32());
        balloon.background = SwapRedAndBlue(cursor.U32());
        balloon.border = SwapRedAndBlue(cursor.U32());
        balloon.fontName = cursor.String();
        balloon.fontHeight = cursor.I32();
        balloon.fontWeight = cursor.I32();
        balloon.italic = cursor.U8() != 0;
        balloon.reserved = cursor.U8();
    }

    void ReadAnimations(AcsLocator where, std::vector<CharacterAnimation>& animations)
    {
        Cursor list = Open(where, "the animation list");
        animations.resize(list.Count(list.U32(), kMinListEntry));
        for (size_t i = 0; i < animations.size(); ++i) {
            animations[i].name = list.String();
            Cursor cursor = OpenItem(ReadLocator(list), Numbered("animation", i));
            ReadAnimation(cursor, animations[i]);
        }
    }

    // The list's name of the animation stands; the one repeated here is passed over.
    static void ReadAnimation(Cursor& cursor, CharacterAnimation& animation)
    {
        cursor.String();
        animation.transition = cursor.U8();
        animation.returnAnimation = AsciiUpperCase(cursor.String());
        animation.frames.resize(cursor.Count(cursor.U16(), kMinFrame));
        for (CharacterFrame& frame : animation.frames)
            ReadFrame(cursor, frame);
    }

    static void ReadFrame(Cursor& cursor, CharacterFrame& frame)
    {
        frame.images.resize(cursor.Count(cursor.U16(), kMinFrameImage));
        for (FrameImage& image : frame.images) {
            image.image = cursor.U32();
            image.x = cursor.I16();
            image.y = cursor.I16();
        }
        uint16_t audio = cursor.U16();
        frame.audio = audio == kNoAudio ? -1 : audio;
        frame.duration = cursor.U16();
        frame.exitFrame = cursor.I16();
        frame.branches.resize(cursor.Count(cursor.U8(), kMinBranch));
        for (FrameBranch& branch : frame.branches) {
            branch.frame = cursor.U16();
            branch.probability = cursor.U16();
        }
        frame.overlays.resize(cursor.Count(cursor.U8(), kMinOverlay));
        for (MouthOverlay& overlay : frame.overlays) {
            overlay.mouth = cursor.U8();
            overlay.replaceTopImage = cursor.U8() != 0;
            overlay.image = cursor.U16();
            overlay.reserved = cursor.U8();
            bool hasRegion = cursor.U8() != 0;
            overlay.x = cursor.I16();
            overlay.y = cursor.I16();
            overlay.width = cursor.U16();
            overlay.height = cursor.U16();
            if (hasRegion)
                overlay.region = cursor.Bytes(cursor.U32());
        }
    }

    void ReadImages(AcsLocator where, std::vector<CharacterImage>& images)
    {
        Cursor list = Open(where, "the image list");
        images.resize(list.Count(list.U32(), kMinListEntry));
        for (size_t i = 0; i < images.size(); ++i) {
            AcsLocator locator = ReadLocator(list);
            list.U32();  // a checksum, which nothing needs to verify
            Cursor cursor = OpenItem(locator, Numbered("image", i));
            ReadImage(cursor, images[i]);
        }
    }

    void ReadImage(Cursor& cursor, CharacterImage& image)
    {
        // A slot without an image is its zero flag alone.
        image.present = cursor.U8() != 0;
        if (!image.present)
            return;
        image.width = cursor.U16();
        image.height = cursor.U16();
        bool compressed = cursor.U8() != 0;
        if (image.width > kAcsMaxImageSide || image.height > kAcsMaxImageSide)
            Fail(cursor.Part() + " is larger than 4096 by 4096 pixels");
        uint32_t dataSize = cursor.U32();
        const uint8_t* pixels = cursor.Take(dataSize);
        image.pixels = Decode(pixels, dataSize, compressed, image.Stride() * image.height,
                              cursor.Part());

        // Region data: its compressed size (0 when stored as it is), its size, its bytes.
        uint32_t compressedRegionSize = cursor.U32();
        uint32_t regionSize = cursor.U32();
        bool regionCompressed = compressedRegionSize != 0;
        uint32_t storedRegionSize = regionCompressed ? compressedRegionSize : regionSize;
        const uint8_t* region = cursor.Take(storedRegionSize);
        image.region = Decode(region, storedRegionSize, regionCompressed, regionSize,
                              cursor.Part() + "'s region");
    }

    // Every image and region byte counts against one budget, so that no file, however
    // well its compressed data packs, makes the stage hold more than that.
    std::vector<uint8_t> Decode(const uint8_t* stored, size_t storedSize, bool compressed,
                                size_t decodedSize, const std::string& part)
    {
        if (compressed ? decodedSize > MaxAcsDecompressedSize(storedSize)
                       : decodedSize > storedSize)
            Fail(part + " has too few bytes for its size");
        if (decodedSize > decodedBytesLeft)
            Fail("the images need more than 256 MB of memory");
        decodedBytesLeft -= decodedSize;
        if (!compressed)
            return std::vector<uint8_t>(stored, stored + decodedSize);
        std::vector<uint8_t> decoded(decodedSize);
        if (!DecompressAcsData(stored, storedSize, decoded.data(), decodedSize))
            Fail(part + " has broken compressed data");
        return decoded;
    }

    void ReadAudio(AcsLocator where, std::vector<std::vector<uint8_t>>& audio)
    {
        Cursor list = Open(where, "the sound list");
        audio.resize(list.Count(list.U32(), kMinListEntry));
        for (size_t i = 0; i < audio.size(); ++i) {
            AcsLocator locator = ReadLocator(list);
            list.U32();  // a checksum, which nothing needs to verify
            Cursor cursor = OpenItem(locator, Numbered("sound", i));
            audio[i] = cursor.Bytes(locator.size);
        }
    }

    const uint8_t* data;
    size_t size;
    size_t itemBytesLeft;
    size_t decodedBytesLeft = kAcsMaxDecodedBytes;
};

void CheckCount(size_t count, size_t most, const std::string& what)
{
    if (count > most)
        Fail(what + " has more than " + std::to_string(most) + " items");
}

void CheckFrame(const CharacterData& character, const CharacterAnimation& animation,
                const CharacterFrame& frame, const std::string& part)
{
    CheckCount(frame.images.size(), 0xFFFF, part + "'s image list");
    for (const FrameImage& image : frame.images) {
        if (image.image >= character.images.size())
            Fail(part + " shows an image that does not exist");
    }
    if (frame.audio != -1 && (frame.audio < 0 || size_t(frame.audio) >= character.audio.size() ||
                              frame.audio >= kNoAudio))
        Fail(part + " plays a sound that does not exist");
    // Any negative exit frame means none; the file holds it in 16 bits.
    size_t frameCount = std::min<size_t>(animation.frames.size(), 0x8000);
    if (frame.exitFrame < -0x8000 || (frame.exitFrame >= 0 && size_t(frame.exitFrame) >= frameCount))
        Fail(part + " exits to a frame that does not exist");
    CheckCount(frame.branches.size(), 0xFF, part + "'s branch list");
    for (const FrameBranch& branch : frame.branches) {
        if (branch.frame >= animation.frames.size())
            Fail(part + " branches to a frame that does not exist");
    }
    CheckCount(frame.overlays.size(), 0xFF, part + "'s mouth list");
    for (const MouthOverlay& overlay : frame.overlays) {
        if (overlay.mouth > kMouthNarrow)
            Fail(part + " has a mouth of unknown kind");
        if (overlay.image >= character.images.size())
            Fail(part + " has a mouth image that does not exist");
    }
}

void Check(const CharacterData& character)
{
    const CharacterInfo& info = character.info;
    bool voiceFlagged = (info.flags & kCharacterVoiceEnabled) != 0;
    if (voiceFlagged != !info.voice.empty())
        Fail(voiceFlagged ? "the flags ask for voice settings and there are none"
                          : "there are voice settings but the flags leave them out");
    if (!info.voice.empty()) {
        CharacterVoice voice;
        std::string error;
        if (!DecodeCharacterVoice(info.voice, voice, error))
            Fail(error);
    }
    if (!info.trayIcon.empty()) {
        Cursor icon(info.trayIcon.data(), info.trayIcon.size(), "the tray icon");
        SkipTrayIcon(icon);
        icon.ExpectEnd();
    }
    if (info.palette.size() > kAcsMaxPaletteSize)
        Fail("the palette has more than 256 colours");
    CheckCount(info.states.size(), 0xFFFF, "the state list");
    for (size_t i = 0; i < info.states.size(); ++i)
        CheckCount(info.states[i].animations.size(), 0xFFFF, Numbered("state", i));
    CheckCount(info.localized.size(), 0xFFFF, "the name list");

    size_t decodedBytes = 0;
    for (size_t i = 0; i < character.images.size(); ++i) {
        const CharacterImage& image = character.images[i];
        if (!image.present && (image.width || image.height || !image.region.empty()))
            Fail(Numbered("image", i) + " is an empty slot with a size or region");
        if (image.width > kAcsMaxImageSide || image.height > kAcsMaxImageSide)
            Fail(Numbered("image", i) + " is larger than 4096 by 4096 pixels");
        if (image.pixels.size() != image.Stride() * image.height)
            Fail(Numbered("image", i) + " has pixels that do not match its size");
        decodedBytes += image.pixels.size() + image.region.size();
        if (decodedBytes > kAcsMaxDecodedBytes)
            Fail("the images need more than 256 MB of memory");
    }
    for (size_t i = 0; i < character.animations.size(); ++i) {
        const CharacterAnimation& animation = character.animations[i];
        std::string part = Numbered("animation", i);
        if (animation.returnAnimation != AsciiUpperCase(animation.returnAnimation))
            Fail(part + " names its return animation in lower case");
        CheckCount(animation.frames.size(), 0xFFFF, part + "'s frame list");
        for (size_t f = 0; f < animation.frames.size(); ++f)
            CheckFrame(character, animation, animation.frames[f], part + Numbered(", frame", f));
    }
}

// Turns the failures of a reading or checking step into a message.
template <class Step>
bool Report(Step step, std::string& error)
{
    try {
        step();
        return true;
    } catch (const FormatError& failure) {
        error = failure.message;
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to read the character";
    }
    return false;
}

} // namespace

bool ReadCharacter(const uint8_t* data, size_t size, CharacterData& out, std::string& error)
{
    CharacterData character;
    bool read = Report([&] {
        CharacterFileReader(data, size).Read(character);
        Check(character);
    }, error);
    if (read)
        out = std::move(character);
    return read;
}

bool ReadCharacterFile(const std::string& path, CharacterData& out, std::string& error)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::streamoff size = file.tellg();
    if (size < 0) {
        error = "cannot read " + path;
        return false;
    }
    if (uint64_t(size) > kAcsMaxFileSize) {
        error = path + " is too large to be a character file";
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = "cannot read " + path;
        return false;
    }
    if (!ReadCharacter(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool CheckCharacter(const CharacterData& character, std::string& error)
{
    return Report([&] { Check(character); }, error);
}
