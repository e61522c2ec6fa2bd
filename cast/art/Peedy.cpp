// Peedy: a bright green parrot with a red crest, blue-tipped wings, a yellow breast and
// a hooked beak that does the talking.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <algorithm>

namespace {

enum PeedyInk : Ink {
    kFeather = kFirstFigureInk, kFeatherShade, kBreast, kCrest, kWingTip, kBeak, kBeakShade, kClaw, kFacePatch,
};

FigureInfo PeedyInfo()
{
    FigureInfo info;
    info.name = "Peedy";
    info.description = "A chatty green parrot who loves to pass on a message, word for word.";
    info.balloon = CastBalloon(0x14361E, 0xF2FFF0, 0x2E9446);
    info.outline = 0x15301C;
    info.inks = { 0x3FBF5C, 0x2F9A48, 0xFFD54A, 0xE8453C, 0x3477DB, 0xF1E1BC, 0x6E6A66, 0x7D7D8A, 0xF3F7EE };
    return info;
}

class Peedy : public Figure {
public:
    Peedy() : Figure(PeedyInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        // Tail feathers behind, claws below.
        const Ink tail[] = { kWingTip, kCrest, kWingTip };
        for (int i = -1; i <= 1; ++i)
            raster.Shape(Path({ i * 4.0, -16 }).Curve({ i * 7.0 - 3, -6 }, { i * 6.0, 3 }).Curve({ i * 5.0 + 3, -6 }, { i * 4.0, -16 }),
                         tail[i + 1]);
        for (int side : { -1, 1 }) {
            const double lift = std::max(0.0, pose.step * side) * 3;
            for (double toe : { -3.0, 0.0, 3.0 })
                raster.Line(Path({ side * 7.0, -8 - lift }).To({ side * 7.0 + toe * 1.3, -1 - lift }), 1.8, kClaw);
        }
        raster.Ellipse({ 0, -32 }, 19, 25, kFeather);
        raster.Fill(Path::Ellipse({ 0, -26 }, 12, 17), kBreast);
        raster.Fill(Path({ 12, -50 }).Curve({ 21, -34 }, { 12, -12 }).Curve({ 16, -32 }, { 12, -50 }), kFeatherShade);
        for (int row = 0; row < 3; ++row)
            for (int i = -1; i <= 1; ++i)
                raster.Stroke(Path().Arc({ i * 5.0, -30.0 + row * 6 }, 2.5, 1.8, 20, 160), 0.9, kGoldInk);
        DrawHead(raster, pose, anchors);

        ArmStyle wing;
        wing.kind = LimbKind::Wing;
        wing.upper = 13;
        wing.lower = 12;
        wing.width = 9.5;
        wing.sleeve = kFeather;
        wing.hand = kWingTip;
        wing.handRadius = 3.6;
        wing.accent = kCrest;
        DrawArms(raster, pose, { -15, -46 }, { 15, -46 }, wing, kPupilInk, anchors);
    }

    // The hooked upper beak stays; the lower one drops to talk.
    static void DrawBeak(Raster& raster, Point c, Mouth mouth)
    {
        const double open = MouthOpening(mouth) * 8;
        if (open > 0) {
            raster.Ellipse(c + Point{ 0, 4 + open * 0.5 }, 5.5, 2 + open * 0.55, kMouthInk);
            if (open > 4)
                raster.Dot(c + Point{ 0, 4.5 + open * 0.75 }, 2.4, kTongueInk);
        }
        raster.Shape(Path(c + Point{ -5.5, 3 + open }).Curve(c + Point{ 0, 11 + open }, c + Point{ 5.5, 3 + open })
                         .Curve(c + Point{ 0, 5 + open }, c + Point{ -5.5, 3 + open }),
                     kBeakShade);
        raster.Shape(Path(c + Point{ -7, -5 })
                         .Curve(c + Point{ -8.5, 4 }, c + Point{ -2, 7 }, c + Point{ 0, 11 })
                         .Curve(c + Point{ 3, 8 }, c + Point{ 8.5, 4 }, c + Point{ 7, -5 })
                         .Curve(c + Point{ 0, -8.5 }, c + Point{ -7, -5 }),
                     kBeak);
        for (int side : { -1, 1 })
            raster.Dot(c + Point{ side * 2.5, -2.5 }, 0.8, kBeakShade);
        if (mouth == Mouth::Smile || mouth == Mouth::Grin)
            for (int side : { -1, 1 })
                raster.Stroke(Path(c + Point{ side * 7.5, 1 }).Curve(c + Point{ side * 9.5, 2 }, c + Point{ side * 10.0, -0.5 }), 1.2,
                              kOutlineInk);
        if (mouth == Mouth::Frown)
            for (int side : { -1, 1 })
                raster.Stroke(Path(c + Point{ side * 7.5, 2 }).To(c + Point{ side * 9.5, 4.5 }), 1.2, kOutlineInk);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -52 }, { 0, -67 }, pose);
        const Point f = FaceShift(pose, 3.5);
        for (int i = -1; i <= 1; ++i) {
            raster.Push();
            raster.Translate(i * 4.0, -13);
            raster.Rotate(i * 28 + 8);
            raster.Shape(Path({ -3, 0 }).Curve({ -4, -10 }, { 1.5, -16 }).Curve({ 3.5, -7 }, { 3, 0 }), kCrest);
            raster.Pop();
        }
        raster.Ellipse({ 0, 0 }, 17, 16, kFeather);
        for (int side : { -1, 1 })
            raster.Fill(Path::Ellipse(f + Point{ side * 7.0, -2 }, 6.8, 7.5), kFacePatch);
        EyeStyle eyes;
        eyes.apart = 7;
        eyes.rx = 4.6;
        eyes.ry = 5.3;
        eyes.pupil = 2.8;
        eyes.lid = kFeather;
        eyes.browLift = 2.5;
        DrawEyes(raster, f + Point{ 0, -3 }, pose, eyes);
        DrawBeak(raster, f * 1.2 + Point{ 0, 5 }, pose.mouth);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 11.0, 5 }, 3);
        DrawTear(raster, f + Point{ -7, -3 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 14, -9 });

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(16);
        anchors.top = raster.Map({ 0, -27 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakePeedy()
{
    return std::make_unique<Peedy>();
}
