// Crookbeak: a pelican postman with a long hooked beak and a stretchy pouch, a blue
// cap with a gold badge and a satchel of letters.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <algorithm>

namespace {

enum CrookbeakInk : Ink {
    kFeather = kFirstFigureInk, kFeatherShade, kBeak, kPouch, kBeakShade, kLeg, kCap, kCapShade, kSatchel, kSatchelShade, kTip,
};

FigureInfo CrookbeakInfo()
{
    FigureInfo info;
    info.name = "Crookbeak";
    info.description = "A pelican postman who carries every greeting safely in his beak.";
    info.balloon = CastBalloon(0x1B2B4A, 0xFFFBEF, 0x2D5DA8);
    info.outline = 0x232634;
    info.inks = { 0xF7F5F0, 0xD3CFC6, 0xF5A623, 0xF8CD78, 0xC97A12, 0xF09A3C, 0x2D5DA8, 0x21467F, 0x9A6231, 0x7A4A22, 0x5B5E68 };
    return info;
}

class Crookbeak : public Figure {
public:
    Crookbeak() : Figure(CrookbeakInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        for (int side : { -1, 1 }) {
            const double lift = std::max(0.0, pose.step * side) * 3;
            raster.Line(Path({ side * 6.0, -16 }).To({ side * 7.0, -4 - lift }), 2.4, kLeg);
            raster.Shape(Path({ side * 7.0, -5 - lift }).To({ side * 7.0 + 6, -1 - lift }).To({ side * 7.0 - 6, -1 - lift }), kLeg);
        }
        raster.Ellipse({ 0, -33 }, 19, 23, kFeather);
        raster.Fill(Path({ 11, -50 }).Curve({ 21, -34 }, { 11, -13 }).Curve({ 15, -33 }, { 11, -50 }), kFeatherShade);
        raster.Shape(Path::RoundRect(-6, -66, 6, -48, 5), kFeather);
        // The satchel hangs from a strap across the chest.
        raster.Line(Path({ -13, -50 }).To({ 15, -24 }), 2.6, kSatchel);
        raster.Shape(Path({ 12, -23 }).To({ 16, -27 }).To({ 23, -25 }).To({ 20, -20 }), kPaperInk);
        raster.Shape(Path::RoundRect(8, -24, 25, -10, 2.5), kSatchel);
        raster.Shape(Path({ 8, -24 }).To({ 25, -24 }).To({ 25, -19 }).Curve({ 16.5, -15 }, { 8, -19 }), kSatchelShade);
        raster.Shape(Path::RoundRect(15, -19, 18, -16, 0.6), kGoldInk);
        DrawHead(raster, pose, anchors);

        ArmStyle wing;
        wing.kind = LimbKind::Wing;
        wing.upper = 13;
        wing.lower = 12;
        wing.width = 9;
        wing.sleeve = kFeather;
        wing.hand = kTip;
        wing.handRadius = 3.8;
        wing.accent = kFeatherShade;
        DrawArms(raster, pose, { -15, -47 }, { 15, -47 }, wing, kSatchel, anchors);
    }

    // The long upper beak stays; the pouch swings down to talk.
    static void DrawBeak(Raster& raster, Point base, Point turn, Mouth mouth)
    {
        const double open = MouthOpening(mouth) * 5;
        const Point tip = base + turn + Point{ 6, 23 };
        if (open > 0)
            raster.Shape(Path(base + Point{ -3, 2 }).Curve(base + Point{ -5 - open, 13 }, tip + Point{ -2, open * 0.6 })
                             .To(tip).Curve(base + Point{ 1, 12 }, base + Point{ -3, 2 }),
                         kMouthInk);
        raster.Shape(Path(base + Point{ -3, 3 + open * 0.4 })
                         .Curve(base + Point{ -10 - open, 11 + open }, tip + Point{ -8 - open * 0.5, open }, tip + Point{ -2, 2 + open * 0.7 })
                         .Curve(base + Point{ 1, 14 + open * 0.4 }, base + Point{ -3, 3 + open * 0.4 }),
                     kPouch);
        raster.Shape(Path(base + Point{ -3.5, -1 })
                         .Curve(base + Point{ -1, 11 }, tip + Point{ -1, -1 })
                         .Curve(tip + Point{ 1.5, 3 }, tip + Point{ 3.5, 1.5 })
                         .Curve(tip + Point{ 1.5, -6 }, base + Point{ 4, 9 }, base + Point{ 3.5, -1 })
                         .Curve(base + Point{ 0, -2.5 }, base + Point{ -3.5, -1 }),
                     kBeak);
        raster.Stroke(Path(base + Point{ 0, 1 }).Curve(base + Point{ 1.5, 11 }, tip + Point{ 0, -3 }), 0.9, kBeakShade);
        for (int side : { -1, 1 }) {
            const Point corner = base + Point{ side * 4.5, 0.5 };
            if (mouth == Mouth::Smile || mouth == Mouth::Grin)
                raster.Stroke(Path(corner).Curve(corner + Point{ side * 1.5, 1.5 }, corner + Point{ side * 2.5, -1 }), 1.1, kOutlineInk);
            else if (mouth == Mouth::Frown)
                raster.Stroke(Path(corner).To(corner + Point{ side * 2.0, 2.5 }), 1.1, kOutlineInk);
        }
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -60 }, { 0, -75 }, pose);
        const Point f = FaceShift(pose, 3.5);
        raster.Ellipse({ 0, 0 }, 13, 12.5, kFeather);
        EyeStyle eyes;
        eyes.apart = 6;
        eyes.rx = 3.2;
        eyes.ry = 3.8;
        eyes.pupil = 2.1;
        eyes.lid = kFeather;
        eyes.brow = kFeatherShade;
        eyes.browWidth = 1.6;
        eyes.browLift = 2.5;
        DrawEyes(raster, f + Point{ 0, 0.5 }, pose, eyes);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 8.5, 4 }, 2.4);
        DrawTear(raster, f + Point{ -6, 0.5 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 11, -7 });
        DrawBeak(raster, f + Point{ 0, 5 }, f * 0.6, pose.mouth);

        raster.Shape(Path({ -12.5, -8 }).Curve({ -12.5, -20 }, { 12.5, -20 }, { 12.5, -8 }), kCap);
        raster.Shape(Path::RoundRect(-13, -10, 13, -6, 1), kCapShade);
        raster.Shape(Path({ -9, -6.5 }).Curve({ 0, -1.5 }, { 9, -6.5 }).Curve({ 0, -4.5 }, { -9, -6.5 }), kCapShade);
        raster.Ellipse({ 0, -13 }, 2, 2, kGoldInk);

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(13);
        anchors.top = raster.Map({ 0, -19 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeCrookbeak()
{
    return std::make_unique<Crookbeak>();
}
