// Genie: a big-chested blue genie with a black topknot, a purple vest and golden
// bracelets, floating on a swirl of smoke; his magic comes straight from his hands.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"

namespace {

enum GenieInk : Ink { kSkin = kFirstFigureInk, kSkinShade, kSmoke, kSmokeShade, kVest, kSash, kHair };

FigureInfo GenieInfo()
{
    FigureInfo info;
    info.name = "Genie";
    info.description = "A jolly genie out of his lamp, granting wishes one greeting at a time.";
    info.balloon = CastBalloon(0x2A1450, 0xF6F0FF, 0x7E3FB4);
    info.outline = 0x172448;
    info.inks = { 0x5AAAEB, 0x4089CC, 0xB2E0F8, 0x86C6EE, 0x7E3FB4, 0xD8343B, 0x24243A };
    return info;
}

class Genie : public Figure {
public:
    Genie() : Figure(GenieInfo()) {}

private:
    double Ground() const override { return 6; }

    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        const double sway = pose.step * 4;
        raster.Shape(Path({ -13, -40 })
                         .Curve({ -17, -26 }, { -8, -14 }, { sway, -8 })
                         .Curve({ 6 + sway, -4 }, { 12 + sway, -2 }, { 9 + sway, 2 })
                         .Curve({ 16 + sway, -3 }, { 12 + sway, -12 }, { 8 + sway * 0.5, -16 })
                         .Curve({ 15, -26 }, { 13, -40 }),
                     kSmoke);
        raster.Stroke(Path({ -6, -34 }).Curve({ -8, -22 }, { 4 + sway * 0.5, -18 }).Curve({ 9, -16 }, { 6 + sway, -10 }), 1.3,
                      kSmokeShade);
        raster.Shape(Path({ -13, -38 })
                         .Curve({ -16, -50 }, { -22, -56 }, { -20, -62 })
                         .Curve({ 0, -68 }, { 20, -62 })
                         .Curve({ 22, -56 }, { 16, -50 }, { 13, -38 })
                         .Curve({ 0, -36 }, { -13, -38 }),
                     kSkin);
        raster.Stroke(Path({ -8, -56 }).Curve({ -3, -53 }, { 0, -56 }).Curve({ 3, -53 }, { 8, -56 }), 1.1, kSkinShade);
        for (int side : { -1, 1 }) {
            raster.Shape(Path({ side * 20.0, -62 })
                             .Curve({ side * 12.0, -64 }, { side * 9.0, -60 })
                             .Curve({ side * 12.0, -48 }, { side * 10.0, -40 })
                             .To({ side * 14.0, -40 })
                             .Curve({ side * 17.0, -52 }, { side * 20.0, -62 }),
                         kVest);
            raster.Stroke(Path({ side * 9.0, -60 }).Curve({ side * 12.0, -48 }, { side * 10.0, -40 }), 1.4, kGoldInk);
        }
        raster.Shape(Path::RoundRect(-14.5, -43, 14.5, -36, 2), kSash);
        raster.Ellipse({ 4, -39.5 }, 3, 3, kSash);
        raster.Ellipse({ 0, -39.5 }, 1.6, 1.6, kGoldInk);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.upper = 14;
        arm.lower = 13;
        arm.width = 8;
        arm.sleeve = kSkin;
        arm.hand = kSkin;
        arm.handRadius = 5;
        arm.cuff = kGoldInk;
        DrawArms(raster, pose, { -18, -58 }, { 18, -58 }, arm, kClearInk, anchors);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -63 }, { 0, -77 }, pose);
        const Point f = FaceShift(pose, 3.5);
        raster.Line(Path({ 0, -15 }).Curve({ 8, -26 }, { 15, -22 }).Curve({ 19, -18 }, { 17, -10 }), 4, kHair);
        raster.Ellipse({ 0, -15 }, 5, 4.5, kHair);
        raster.Ellipse({ 0, -12 }, 2.6, 1.6, kGoldInk);
        for (int side : { -1, 1 })
            raster.Shape(Path({ side * 12.0, -4 }).To({ side * 18.0, -7 }).Curve({ side * 16.0, 2 }, { side * 12.0, 4 }), kSkin);
        raster.Stroke(Path::Ellipse({ 15.5, 5.5 }, 2.3, 2.6), 1.2, kGoldInk, true);
        raster.Ellipse({ 0, 0 }, 13.5, 14.5, kSkin);
        EyeStyle eyes;
        eyes.apart = 6;
        eyes.rx = 3.7;
        eyes.ry = 4.5;
        eyes.pupil = 2.3;
        eyes.lid = kSkin;
        eyes.browWidth = 2.6;
        eyes.browLift = 2.5;
        eyes.brow = kHair;
        DrawEyes(raster, f + Point{ 0, -3 }, pose, eyes);
        raster.Stroke(Path(f * 1.2 + Point{ -1, -1 }).Curve(f * 1.2 + Point{ 2.5, 3 }, f * 1.2 + Point{ -1, 3.5 }), 1.2, kSkinShade);
        DrawMouth(raster, f + Point{ 0, 7 }, 9, pose.mouth);
        raster.Shape(Path(f + Point{ -2.5, 12.5 }).To(f + Point{ 2.5, 12.5 }).To(f * 0.5 + Point{ 0, 17.5 }), kHair);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 8.5, 4 }, 2.8);
        DrawTear(raster, f + Point{ -6, -3 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 12, -9 });

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(14);
        anchors.top = raster.Map({ 0, -24 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeGenie()
{
    return std::make_unique<Genie>();
}
