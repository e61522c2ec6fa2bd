#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A character as the stage holds it in memory: everything it needs to show, animate
// and voice a character. Parts the stage does not use (voice settings, tray icon,
// region data) are kept as the file's bytes so that a character written back loses
// nothing. Text is UTF-8 here; the file holds UTF-16LE.

// A colour as 0x00RRGGBB. Palette entries are stored blue first (an RGBQUAD read as a
// little-endian number is this value), balloon colours red first (a COLORREF); the top
// byte is kept as found and is normally 0.
using CharacterColor = uint32_t;

// Values of CharacterInfo::flags.
enum CharacterFlags : uint32_t {
    kCharacterVoiceDisabled = 0x00000010,
    kCharacterVoiceEnabled = 0x00000020,
    kCharacterBalloonDisabled = 0x00000100,
    kCharacterBalloonEnabled = 0x00000200,
    kCharacterBalloonSizeToText = 0x00010000,
    kCharacterBalloonNoAutoHide = 0x00020000,
    kCharacterBalloonNoAutoPace = 0x00040000,
    kCharacterStandardAnimationSet = 0x00100000,
};

// How the word balloon looks. Present in the file when kCharacterBalloonEnabled is set.
struct CharacterBalloon {
    uint8_t lines = 2;          // visible text lines
    uint8_t charsPerLine = 32;  // average characters per line
    CharacterColor foreground = 0x000000;
    CharacterColor background = 0xFFFFE1;
    CharacterColor border = 0x000000;
    std::string fontName;
    int32_t fontHeight = -13;  // as in LOGFONT: negative means character height in pixels
    int32_t fontWeight = 400;
    bool italic = false;
    uint8_t reserved = 0;  // a trailing byte of unknown meaning, kept as found

    bool operator==(const CharacterBalloon& o) const
    {
        return lines == o.lines && charsPerLine == o.charsPerLine && foreground == o.foreground &&
               background == o.background && border == o.border && fontName == o.fontName &&
               fontHeight == o.fontHeight && fontWeight == o.fontWeight && italic == o.italic &&
               reserved == o.reserved;
    }
};

// Name and description of the character in one language.
struct CharacterLocalizedInfo {
    uint16_t languageId = 0x0409;
    std::string name;
    std::string description;
    std::string extraData;

    bool operator==(const CharacterLocalizedInfo& o) const
    {
        return languageId == o.languageId && name == o.name && description == o.description &&
               extraData == o.extraData;
    }
};

// A named state (Speaking, Moving, Idling...) and the animations that may play in it.
struct CharacterState {
    std::string name;
    std::vector<std::string> animations;

    bool operator==(const CharacterState& o) const
    {
        return name == o.name && animations == o.animations;
    }
};

// Everything about the character as a whole.
struct CharacterInfo {
    uint16_t majorVersion = 2;
    uint16_t minorVersion = 1;
    uint8_t guid[16] = {};
    uint16_t width = 0;  // frame size in pixels
    uint16_t height = 0;
    uint8_t transparentIndex = 0;  // palette index drawn as transparent
    uint32_t flags = 0;            // CharacterFlags
    uint16_t animationSetMajorVersion = 2;
    uint16_t animationSetMinorVersion = 0;
    // Voice settings as the file stores them (speech engine and mode ids, speed, pitch,
    // language...); present exactly when kCharacterVoiceEnabled is set.
    std::vector<uint8_t> voice;
    CharacterBalloon balloon;  // used when kCharacterBalloonEnabled is set
    std::vector<CharacterColor> palette;  // up to 256 entries
    // Tray icon as the file stores it (a monochrome and a colour bitmap, each after its
    // size); empty when there is none.
    std::vector<uint8_t> trayIcon;
    std::vector<CharacterState> states;
    std::vector<CharacterLocalizedInfo> localized;  // one per language; normally at least one

    bool operator==(const CharacterInfo& o) const
    {
        return majorVersion == o.majorVersion && minorVersion == o.minorVersion &&
               std::equal(guid, guid + 16, o.guid) && width == o.width && height == o.height &&
               transparentIndex == o.transparentIndex && flags == o.flags &&
               animationSetMajorVersion == o.animationSetMajorVersion &&
               animationSetMinorVersion == o.animationSetMinorVersion && voice == o.voice &&
               balloon == o.balloon && palette == o.palette && trayIcon == o.trayIcon &&
               states == o.states && localized == o.localized;
    }
};

// One image of a frame, drawn at an offset from the frame's top left corner.
struct FrameImage {
    uint32_t image = 0;  // index into CharacterData::images
    int16_t x = 0;
    int16_t y = 0;

    bool operator==(const FrameImage& o) const
    {
        return image == o.image && x == o.x && y == o.y;
    }
};

// Where a frame may jump instead of going on to the next one.
struct FrameBranch {
    uint16_t frame = 0;        // frame index within the same animation
    uint16_t probability = 0;  // percent

    bool operator==(const FrameBranch& o) const
    {
        return frame == o.frame && probability == o.probability;
    }
};

// Mouth shapes an overlay stands for while the character speaks.
enum MouthType : uint8_t {
    kMouthClosed = 0,
    kMouthWide1 = 1,
    kMouthWide2 = 2,
    kMouthWide3 = 3,
    kMouthWide4 = 4,
    kMouthMedium = 5,
    kMouthNarrow = 6,
};

// An image drawn over the frame for one mouth shape.
struct MouthOverlay {
    uint8_t mouth = kMouthClosed;  // MouthType
    bool replaceTopImage = false;  // replaces the frame's first image instead of adding to it
    uint16_t image = 0;            // index into CharacterData::images
    uint8_t reserved = 0;          // a byte of unknown meaning, kept as found
    int16_t x = 0;
    int16_t y = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> region;  // region data (RGNDATA) as the file stores it; empty when none

    bool operator==(const MouthOverlay& o) const
    {
        return mouth == o.mouth && replaceTopImage == o.replaceTopImage && image == o.image &&
               reserved == o.reserved && x == o.x && y == o.y && width == o.width &&
               height == o.height && region == o.region;
    }
};

struct CharacterFrame {
    std::vector<FrameImage> images;  // the first is on top
    int32_t audio = -1;              // index into CharacterData::audio, or -1
    uint16_t duration = 10;          // in 1/100 s
    // Frame to go to when the animation is asked to stop; negative for none (files hold
    // -1 or -2, kept as found).
    int32_t exitFrame = -1;
    std::vector<FrameBranch> branches;
    std::vector<MouthOverlay> overlays;

    bool operator==(const CharacterFrame& o) const
    {
        return images == o.images && audio == o.audio && duration == o.duration &&
               exitFrame == o.exitFrame && branches == o.branches && overlays == o.overlays;
    }
};

// How an animation leaves its last frame.
enum TransitionType : uint8_t {
    kTransitionReturnAnimation = 0,  // play returnAnimation
    kTransitionExitBranches = 1,     // follow the frames' exit frames back out
    kTransitionNone = 2,
};

struct CharacterAnimation {
    std::string name;
    uint8_t transition = kTransitionNone;  // TransitionType
    std::string returnAnimation;  // in ASCII upper case, as files store it
    std::vector<CharacterFrame> frames;

    bool operator==(const CharacterAnimation& o) const
    {
        return name == o.name && transition == o.transition &&
               returnAnimation == o.returnAnimation && frames == o.frames;
    }
};

// An image as palette indices, laid out as an 8-bit DIB: rows bottom-up (the first row
// in pixels is the image's bottom row), each row padded to a multiple of 4 bytes, so
// that pixels can go to the screen as they are.
struct CharacterImage {
    // False for an empty slot, which some files have and frames may name: it has no
    // size, pixels or region, and draws nothing.
    bool present = true;
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> pixels;  // Stride() * height bytes
    // The outline of the visible pixels as region data (RGNDATA, rows top-down),
    // uncompressed; may be empty.
    std::vector<uint8_t> region;

    size_t Stride() const { return (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3); }
    bool operator==(const CharacterImage& o) const
    {
        return present == o.present && width == o.width && height == o.height &&
               pixels == o.pixels && region == o.region;
    }
};

struct CharacterData {
    CharacterInfo info;
    std::vector<CharacterAnimation> animations;
    std::vector<CharacterImage> images;
    std::vector<std::vector<uint8_t>> audio;  // RIFF WAVE data, as the file stores it

    // The animation of that name, compared without regard to ASCII case; null when none.
    const CharacterAnimation* FindAnimation(const std::string& wanted) const
    {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        for (const CharacterAnimation& animation : animations) {
            if (std::equal(animation.name.begin(), animation.name.end(), wanted.begin(),
                           wanted.end(), [&](char a, char b) { return lower(a) == lower(b); }))
                return &animation;
        }
        return nullptr;
    }
    bool operator==(const CharacterData& o) const
    {
        return info == o.info && animations == o.animations && images == o.images &&
               audio == o.audio;
    }
};
