#include "stage/SampleCharacter.h"

#include <algorithm>
#include <cmath>

namespace {

const int kSide = 128;

// Palette colours, 0x00RRGGBB, in SampleColor order.
const CharacterColor kPalette[kSampleColorCount] = {
    0xFF00FF, 0x1E2A3A, 0xFFFFFF, 0x4A90D9, 0x8A1F33, 0xF2A03D,
};

// Draws shapes into a new image, in top-down coordinates.
class Canvas {
public:
    Canvas(int width, int height)
    {
        image_.width = static_cast<uint16_t>(width);
        image_.height = static_cast<uint16_t>(height);
        image_.pixels.assign(image_.Stride() * image_.height, kSampleTransparent);
    }
    void Ellipse(int cx, int cy, int rx, int ry, uint8_t color)
    {
        for (int y = cy - ry; y <= cy + ry; ++y)
            for (int x = cx - rx; x <= cx + rx; ++x) {
                const long dx = x - cx, dy = y - cy;
                if (dx * dx * ry * ry + dy * dy * rx * rx <= static_cast<long>(rx) * rx * ry * ry)
                    Put(x, y, color);
            }
    }
    // A filled ellipse with an outline.
    void Blob(int cx, int cy, int rx, int ry, uint8_t color)
    {
        Ellipse(cx, cy, rx, ry, kSampleOutline);
        if (rx > 2 && ry > 2)
            Ellipse(cx, cy, rx - 2, ry - 2, color);
    }
    void Bar(int left, int top, int width, int height, uint8_t color)
    {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                Put(x, y, color);
    }
    CharacterImage Take() { return std::move(image_); }

private:
    void Put(int x, int y, uint8_t color)
    {
        if (x >= 0 && y >= 0 && x < image_.width && y < image_.height)
            image_.pixels[(image_.height - 1 - y) * image_.Stride() + x] = color;
    }
    CharacterImage image_;
};

// Image indices, in the order MakeImages adds them.
enum SampleImage : uint32_t {
    kBody,
    kBodySmall,
    kBodyMiddle,
    kBodyLarge,
    kEyesOpen,
    kEyesClosed,
    kEyesLeft,
    kEyesRight,
    kEyesUp,
    kEyesDown,
    kMouthLine,
    kMouthShapes,  // seven, in MouthType order
    kHand = kMouthShapes + 7,
};

const int kEyesLeftEdge = 34, kEyesTop = 46;
const int kMouthLeftEdge = 46, kMouthTop = 84;

CharacterImage Eyes(int lookX, int lookY, bool closed)
{
    Canvas canvas(60, 26);
    for (int cx : { 15, 45 }) {
        if (closed) {
            canvas.Bar(cx - 10, 12, 20, 3, kSampleOutline);
            continue;
        }
        canvas.Blob(cx, 13, 11, 12, kSampleWhite);
        canvas.Ellipse(cx + lookX, 13 + lookY, 4, 4, kSampleOutline);
    }
    return canvas.Take();
}

CharacterImage Mouth(int rx, int ry)
{
    Canvas canvas(36, 24);
    canvas.Blob(18, 12, rx, ry, kSampleMouth);
    return canvas.Take();
}

std::vector<CharacterImage> MakeImages()
{
    std::vector<CharacterImage> images;
    for (int radius : { 56, 16, 32, 44 }) {
        Canvas body(kSide, kSide);
        body.Blob(64, 68, radius, radius - radius / 12, kSampleBody);
        images.push_back(body.Take());
    }
    images.push_back(Eyes(0, 0, false));
    images.push_back(Eyes(0, 0, true));
    images.push_back(Eyes(-5, 0, false));
    images.push_back(Eyes(5, 0, false));
    images.push_back(Eyes(0, -5, false));
    images.push_back(Eyes(0, 5, false));
    Canvas line(36, 24);
    line.Bar(6, 11, 24, 3, kSampleOutline);
    images.push_back(line.Take());
    // Closed, four ever wider, medium and narrow.
    const int shapes[7][2] = { { 12, 3 }, { 12, 5 }, { 14, 7 }, { 15, 9 }, { 16, 11 }, { 10, 8 }, { 6, 7 } };
    for (const auto& shape : shapes)
        images.push_back(Mouth(shape[0], shape[1]));
    Canvas hand(28, 28);
    hand.Blob(14, 14, 13, 13, kSampleHand);
    images.push_back(hand.Take());
    return images;
}

// A frame of the face: mouth on top (so that mouth overlays can replace it), eyes, body.
CharacterFrame Face(uint32_t eyes, uint16_t duration, int bob = 0)
{
    CharacterFrame frame;
    frame.images = { { kMouthLine, kMouthLeftEdge, static_cast<int16_t>(kMouthTop + bob) },
                     { eyes, kEyesLeftEdge, static_cast<int16_t>(kEyesTop + bob) },
                     { kBody, 0, static_cast<int16_t>(bob) } };
    frame.duration = duration;
    return frame;
}

CharacterFrame BodyOnly(uint32_t body, uint16_t duration)
{
    CharacterFrame frame;
    frame.images = { { body, 0, 0 } };
    frame.duration = duration;
    return frame;
}

CharacterFrame WithHand(CharacterFrame frame, int x, int y)
{
    frame.images.insert(frame.images.begin(), FrameImage{ kHand, static_cast<int16_t>(x), static_cast<int16_t>(y) });
    return frame;
}

CharacterAnimation Animation(const char* name, std::vector<CharacterFrame> frames)
{
    CharacterAnimation animation;
    animation.name = name;
    animation.frames = std::move(frames);
    return animation;
}

std::vector<CharacterAnimation> MakeAnimations()
{
    std::vector<CharacterAnimation> animations;
    animations.push_back(Animation("RestPose", { Face(kEyesOpen, 10) }));
    animations.push_back(Animation("Showing", { BodyOnly(kBodySmall, 8), BodyOnly(kBodyMiddle, 8),
                                                BodyOnly(kBodyLarge, 8), Face(kEyesOpen, 8) }));
    animations.push_back(Animation("Hiding", { Face(kEyesClosed, 8), BodyOnly(kBodyLarge, 8),
                                               BodyOnly(kBodyMiddle, 8), BodyOnly(kBodySmall, 8),
                                               CharacterFrame{} }));

    CharacterFrame speaking = Face(kEyesOpen, 10);
    for (uint8_t mouth = kMouthClosed; mouth <= kMouthNarrow; ++mouth) {
        MouthOverlay overlay;
        overlay.mouth = mouth;
        overlay.replaceTopImage = true;
        overlay.image = static_cast<uint16_t>(kMouthShapes + mouth);
        overlay.x = kMouthLeftEdge;
        overlay.y = kMouthTop;
        overlay.width = 36;
        overlay.height = 24;
        speaking.overlays.push_back(overlay);
    }
    animations.push_back(Animation("Speaking", { speaking }));

    const struct {
        const char* name;
        uint32_t eyes;
    } moving[] = { { "MovingLeft", kEyesLeft }, { "MovingRight", kEyesRight },
                   { "MovingUp", kEyesUp }, { "MovingDown", kEyesDown } };
    for (const auto& way : moving)
        animations.push_back(Animation(way.name, { Face(way.eyes, 12, -3), Face(way.eyes, 12) }));

    CharacterAnimation wave = Animation("Wave", { WithHand(Face(kEyesOpen, 12), 100, 70),
                                                  WithHand(Face(kEyesOpen, 12), 102, 50),
                                                  WithHand(Face(kEyesOpen, 12), 100, 34),
                                                  WithHand(Face(kEyesOpen, 12), 102, 50),
                                                  WithHand(Face(kEyesOpen, 12), 100, 34),
                                                  WithHand(Face(kEyesOpen, 12), 100, 70) });
    wave.transition = kTransitionReturnAnimation;
    wave.returnAnimation = "RESTPOSE";
    animations.push_back(wave);

    CharacterAnimation blink = Animation("Blink", { Face(kEyesOpen, 30), Face(kEyesClosed, 12), Face(kEyesOpen, 20) });
    blink.frames[2].branches = { { 1, 30 } };
    animations.push_back(blink);

    CharacterAnimation pondering = Animation("Pondering", { Face(kEyesUp, 30), WithHand(Face(kEyesUp, 30), 70, 96),
                                                            Face(kEyesOpen, 10) });
    pondering.frames[1].branches = { { 0, 100 } };
    pondering.frames[1].exitFrame = 2;
    pondering.transition = kTransitionExitBranches;
    animations.push_back(pondering);
    return animations;
}

} // namespace

CharacterData MakeSampleCharacter()
{
    CharacterData character;
    CharacterInfo& info = character.info;
    const uint8_t guid[16] = { 0x3F, 0x1C, 0x9A, 0x42, 0x77, 0x05, 0x4E, 0xB1,
                               0x8D, 0x2E, 0x60, 0x13, 0xC4, 0x5A, 0x9B, 0x07 };
    std::copy(guid, guid + 16, info.guid);
    info.width = kSide;
    info.height = kSide;
    info.transparentIndex = kSampleTransparent;
    info.flags = kCharacterBalloonEnabled | kCharacterBalloonSizeToText | kCharacterStandardAnimationSet;
    info.balloon.lines = 2;
    info.balloon.charsPerLine = 28;
    info.balloon.foreground = 0x1E2A3A;
    info.balloon.background = 0xFFFBE0;
    info.balloon.border = 0x1E2A3A;
    info.balloon.fontName = "Tahoma";
    info.balloon.fontHeight = -13;
    info.palette.assign(kPalette, kPalette + kSampleColorCount);
    info.states = { { "Showing", { "Showing" } },        { "Hiding", { "Hiding" } },
                    { "Speaking", { "Speaking" } },      { "MovingLeft", { "MovingLeft" } },
                    { "MovingRight", { "MovingRight" } }, { "MovingUp", { "MovingUp" } },
                    { "MovingDown", { "MovingDown" } },  { "IdlingLevel1", { "Blink" } } };
    info.localized = { { 0x0409, "Pip", "A round helper drawn from plain shapes", "" } };
    character.images = MakeImages();
    character.animations = MakeAnimations();
    return character;
}

std::vector<uint8_t> MakeSampleTone(unsigned milliseconds, unsigned hertz)
{
    const uint32_t kRate = 11025;
    const uint32_t samples = kRate * milliseconds / 1000;
    const uint32_t padding = samples % 2;  // chunks are padded to an even size
    std::vector<uint8_t> wave;
    auto text = [&wave](const char* four) { wave.insert(wave.end(), four, four + 4); };
    auto u16 = [&wave](uint32_t v) {
        wave.push_back(uint8_t(v));
        wave.push_back(uint8_t(v >> 8));
    };
    auto u32 = [&u16](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    text("RIFF");
    u32(36 + samples + padding);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kRate);
    u32(kRate);  // bytes a second
    u16(1);      // block alignment
    u16(8);      // bits a sample
    text("data");
    u32(samples);
    const double kTwoPi = 6.283185307179586;
    for (uint32_t i = 0; i < samples; ++i)
        wave.push_back(uint8_t(128 + 60 * std::sin(kTwoPi * hertz * i / kRate)));
    wave.resize(wave.size() + padding, 128);
    return wave;
}

bool AddSampleSounds(CharacterData& character, const std::vector<SampleSound>& sounds)
{
    CharacterData changed = character;
    for (const SampleSound& sound : sounds) {
        auto named = std::find_if(changed.animations.begin(), changed.animations.end(),
                                  [&](const CharacterAnimation& a) { return a.name == sound.animation; });
        if (named == changed.animations.end() || sound.frame >= named->frames.size())
            return false;
        named->frames[sound.frame].audio = int32_t(changed.audio.size());
        changed.audio.push_back(sound.wave);
    }
    character = std::move(changed);
    return true;
}

void SetSampleVoice(CharacterData& character, const CharacterVoice& voice)
{
    character.info.voice = EncodeCharacterVoice(voice);
    character.info.flags = (character.info.flags & ~kCharacterVoiceDisabled) | kCharacterVoiceEnabled;
}
