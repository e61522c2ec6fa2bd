#include "cast/CharacterBuilder.h"
#include "cast/Choreography.h"
#include "cast/Effects.h"
#include "cast/ImageBank.h"
#include "stage/ImageRegion.h"
#include <deque>

namespace {

const double kOutlineWidth = 1.1;

// The figure and its effects, drawn apart so that the same body under different
// effects is kept once.
struct Layers {
    Pose pose;
    Picture figure;
    Picture effects;
};

class Builder {
public:
    explicit Builder(const Figure& figure) : figure_(figure), palette_(figure.PaletteInks()) {}

    CharacterData Build();

private:
    const Layers& Draw(const Pose& pose);
    CharacterFrame MakeFrame(const Beat& beat);
    std::vector<MouthOverlay> Overlays(const Pose& pose, const Picture& closed);
    CharacterInfo MakeInfo() const;

    const Figure& figure_;
    InkPalette palette_;
    ImageBank bank_;
    std::deque<Layers> drawn_;  // a deque keeps references to what it holds
};

Picture Resolve(const Raster& raster, const InkPalette& palette)
{
    return Picture{ raster.Width(), raster.Height(), raster.Resolve(palette) };
}

const Layers& Builder::Draw(const Pose& pose)
{
    for (const Layers& layers : drawn_)
        if (SamePose(layers.pose, pose))
            return layers;
    const FigureInfo& info = figure_.Info();
    Raster body(info.width, info.height, kOutlineWidth);
    Anchors anchors;
    figure_.Draw(body, pose, anchors);
    Raster effects(info.width, info.height, kOutlineWidth);
    DrawEffects(effects, pose, anchors);
    drawn_.push_back(Layers{ pose, Resolve(body, palette_), Resolve(effects, palette_) });
    return drawn_.back();
}

std::vector<MouthOverlay> Builder::Overlays(const Pose& pose, const Picture& closed)
{
    std::vector<MouthOverlay> overlays;
    for (uint8_t mouth = kMouthClosed; mouth <= kMouthNarrow; ++mouth) {
        Pose talking = pose;
        talking.mouth = Mouth(mouth);
        const Picture& open = Draw(talking).figure;
        const Box changed = closed.Differences(open);
        // A shape drawn as the frame already shows it needs no overlay.
        if (changed.Empty())
            continue;
        const FrameImage image = bank_.Add(open, changed);
        MouthOverlay overlay;
        overlay.mouth = mouth;
        overlay.image = uint16_t(image.image);
        overlay.x = image.x;
        overlay.y = image.y;
        overlay.width = uint16_t(changed.Width());
        overlay.height = uint16_t(changed.Height());
        overlays.push_back(overlay);
    }
    return overlays;
}

CharacterFrame Builder::MakeFrame(const Beat& beat)
{
    const Layers& layers = Draw(beat.pose);
    CharacterFrame frame;
    // The first image is drawn on top.
    for (const Picture* picture : { &layers.effects, &layers.figure }) {
        const Box box = picture->Bounds();
        if (!box.Empty())
            frame.images.push_back(bank_.Add(*picture, box));
    }
    frame.duration = beat.duration;
    frame.exitFrame = beat.exitFrame;
    frame.branches = beat.branches;
    if (beat.speaks)
        frame.overlays = Overlays(beat.pose, layers.figure);
    return frame;
}

// A stable identity made from the name, so that a character keeps its id from build to build.
void NameGuid(const std::string& name, uint8_t guid[16])
{
    uint64_t hash[2] = { 0xcbf29ce484222325ull, 0x84222325cbf29ce4ull };
    for (int half = 0; half < 2; ++half)
        for (char c : name + (half ? "#cast" : "cast")) {
            hash[half] ^= uint8_t(c);
            hash[half] *= 0x100000001b3ull;
        }
    for (int i = 0; i < 16; ++i)
        guid[i] = uint8_t(hash[i / 8] >> (8 * (i % 8)));
}

CharacterInfo Builder::MakeInfo() const
{
    const FigureInfo& figure = figure_.Info();
    CharacterInfo info;
    NameGuid(figure.name, info.guid);
    info.width = figure.width;
    info.height = figure.height;
    info.transparentIndex = 0;
    info.flags = kCharacterVoiceDisabled | kCharacterBalloonEnabled | kCharacterBalloonSizeToText |
                 kCharacterStandardAnimationSet;
    info.balloon = figure.balloon;
    info.palette = palette_.Colors();
    info.states = CastStates();
    info.localized = { { 0x0409, figure.name, figure.description, "" } };
    return info;
}

CharacterData Builder::Build()
{
    CharacterData character;
    character.info = MakeInfo();
    for (const Act& act : CastActs()) {
        CharacterAnimation animation;
        animation.name = act.name;
        animation.transition = act.transition;
        for (const Beat& beat : act.beats)
            animation.frames.push_back(MakeFrame(beat));
        character.animations.push_back(std::move(animation));
    }
    character.images = bank_.Take();
    // Real characters carry every image's outline; other players shape their windows by it.
    for (CharacterImage& image : character.images)
        image.region = MakeImageRegion(image, character.info.transparentIndex);
    return character;
}

} // namespace

CharacterData BuildCharacter(const Figure& figure)
{
    return Builder(figure).Build();
}
