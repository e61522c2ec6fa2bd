#include "SyntheticCharacter.h"

#include <algorithm>
#include <random>

#include "stage/CharacterVoice.h"
#include "stage/ImageRegion.h"

namespace {

std::vector<uint8_t> MakeVoice()
{
    CharacterVoice voice;
    std::fill_n(voice.engine, 16, 0x11);
    std::fill_n(voice.mode, 16, 0x22);
    voice.speed = 150;
    voice.pitch = 120;
    voice.described = true;
    voice.languageId = 0x0409;
    voice.dialect = "US English";
    voice.gender = kVoiceGenderFemale;
    voice.age = 3;
    voice.style = "Casual";
    return EncodeCharacterVoice(voice);
}

std::vector<uint8_t> MakeTrayIcon()
{
    ByteList icon;
    icon.U32(48);
    icon.Repeat(48, 0x5A);
    icon.U32(0);
    return icon.bytes;
}

CharacterImage MakeImage(size_t index, uint16_t side, std::mt19937& random)
{
    CharacterImage image;
    image.width = uint16_t(side + index % 3);
    image.height = side;
    image.pixels.assign(image.Stride() * image.height, 0);
    const int centre = side / 2;
    const uint8_t colour = uint8_t(1 + index * 7 % 200);
    for (int row = 0; row < image.height; ++row) {
        uint8_t* line = image.pixels.data() + size_t(row) * image.Stride();
        for (int column = 0; column < image.width; ++column) {
            int dx = column - centre, dy = row - centre;
            if (dx * dx + dy * dy > centre * centre)
                continue;
            line[column] = uint8_t(colour + (column + row + index) / 6 % 3);
            if (random() % 50 == 0)
                line[column] = uint8_t(random() % 256);
        }
    }
    image.region = MakeImageRegion(image, 0);
    return image;
}

std::vector<uint8_t> MakeSound(size_t index, size_t dataBytes)
{
    ByteList sound;
    sound.Text("RIFF");
    sound.U32(uint32_t(36 + dataBytes));
    sound.Text("WAVEfmt ");
    sound.U32(16);
    sound.U16(1);  // PCM
    sound.U16(1);  // mono
    sound.U32(11025);
    sound.U32(11025);
    sound.U16(1);
    sound.U16(8);
    sound.Text("data");
    sound.U32(uint32_t(dataBytes));
    for (size_t i = 0; i < dataBytes; ++i)
        sound.U8(uint8_t(128 + (i * (index + 3) % 64) - 32));
    return sound.bytes;
}

std::string AnimationName(size_t index)
{
    static const char* const named[] = { "Show", "Hide", "Greet", "Explain", "RestPose" };
    if (index < sizeof named / sizeof named[0])
        return named[index];
    return "Gesture" + std::to_string(index);
}

// The empty slot follows the drawn images.
CharacterFrame MakeFrame(const SyntheticCharacterShape& shape, const std::vector<CharacterImage>& drawn,
                         size_t animation, size_t index)
{
    const uint16_t emptySlot = uint16_t(shape.images);
    CharacterFrame frame;
    const size_t images = 1 + (animation + index) % 3;
    for (size_t i = 0; i < images && shape.images > 0; ++i) {
        uint32_t image = uint32_t((animation * 5 + index * 3 + i) % shape.images);
        frame.images.push_back({ image, int16_t(i * 4), int16_t(-int(i) * 2) });
    }
    if (index == 1)
        frame.images.push_back({ emptySlot, 0, 0 });
    frame.duration = uint16_t(5 + index * 3);
    if (index == 0 && shape.sounds > 0)
        frame.audio = int32_t(animation % shape.sounds);
    if (shape.framesPerAnimation > 1) {
        // Files say "no exit frame" with -1 or -2.
        frame.exitFrame = index + 1 < shape.framesPerAnimation ? int32_t(shape.framesPerAnimation - 1)
                                                               : -1 - int32_t(animation % 2);
        if (index % 2 == 1)
            frame.branches = { { 0, 30 }, { uint16_t(index - 1), 25 } };
    }
    if (index % 2 == 0 && shape.images > 0) {
        for (uint8_t mouth = kMouthClosed; mouth <= kMouthNarrow; ++mouth) {
            MouthOverlay overlay;
            overlay.mouth = mouth;
            overlay.replaceTopImage = mouth % 2 == 1;
            overlay.image = mouth == kMouthNarrow ? emptySlot : uint16_t((mouth + animation) % shape.images);
            overlay.x = 10;
            overlay.y = int16_t(20 + mouth);
            overlay.width = 16;
            overlay.height = 8;
            if (mouth == kMouthWide2)
                overlay.region = drawn[overlay.image].region;
            frame.overlays.push_back(overlay);
        }
    }
    return frame;
}

} // namespace

CharacterData MakeSyntheticCharacter(const SyntheticCharacterShape& shape)
{
    std::mt19937 random(7);
    CharacterData character;
    CharacterInfo& info = character.info;
    for (int i = 0; i < 16; ++i)
        info.guid[i] = uint8_t(0xA0 + i);
    info.width = uint16_t(shape.imageSide + 20);
    info.height = uint16_t(shape.imageSide + 10);
    info.transparentIndex = 0;
    info.flags = kCharacterVoiceEnabled | kCharacterBalloonEnabled | kCharacterBalloonSizeToText |
                 kCharacterStandardAnimationSet;
    info.voice = MakeVoice();
    info.balloon.lines = 3;
    info.balloon.charsPerLine = 28;
    info.balloon.foreground = 0x00102030;
    info.balloon.background = 0x00FFFFE1;
    info.balloon.border = 0x00405060;
    info.balloon.fontName = "Tahoma";
    info.balloon.fontHeight = -11;
    info.balloon.fontWeight = 700;
    info.balloon.italic = true;
    for (uint32_t i = 0; i < 256; ++i)
        info.palette.push_back(i << 16 | (255 - i) << 8 | (i * 3 & 0xFF));
    info.trayIcon = MakeTrayIcon();
    info.states = { { "Speaking", { "Explain" } },
                    { "Showing", { "Show" } },
                    { "IdlingLevel1", { "RestPose", "Greet" } } };
    // Accents, a character beyond the basic plane (two UTF-16 units) and an empty string.
    info.localized = { { 0x0409, "Parla", "A made-up helper \xE2\x80\x94 for tests", "" },
                       { 0x0407, "Parl\xC3\xA4", "Ein Helfer \xF0\x9F\x98\x80", "extra" } };

    for (size_t i = 0; i < shape.images; ++i)
        character.images.push_back(MakeImage(i, shape.imageSide, random));
    CharacterImage emptySlot;
    emptySlot.present = false;
    character.images.push_back(emptySlot);
    for (size_t i = 0; i < shape.sounds; ++i)
        character.audio.push_back(MakeSound(i, shape.soundBytes));
    for (size_t a = 0; a < shape.animations; ++a) {
        CharacterAnimation animation;
        animation.name = AnimationName(a);
        animation.transition = uint8_t(a % 3);
        if (animation.transition == kTransitionReturnAnimation)
            animation.returnAnimation = "RESTPOSE";
        for (size_t f = 0; f < shape.framesPerAnimation; ++f)
            animation.frames.push_back(MakeFrame(shape, character.images, a, f));
        character.animations.push_back(animation);
    }
    return character;
}

CharacterData ShowLastImageBy(CharacterData character, LastImageShownBy shownBy)
{
    if (character.images.empty())
        return character;
    const size_t last = character.images.size() - 1;
    for (CharacterAnimation& animation : character.animations) {
        for (CharacterFrame& frame : animation.frames) {
            for (FrameImage& image : frame.images) {
                if (image.image == last && shownBy == LastImageShownBy::MouthsOnly)
                    image.image = 0;
            }
            for (MouthOverlay& overlay : frame.overlays) {
                if (overlay.image == last && shownBy == LastImageShownBy::FramesOnly) {
                    overlay.image = 0;
                    overlay.region.clear();
                }
            }
        }
    }
    return character;
}
