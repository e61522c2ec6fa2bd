// Grumbold: a big brown bear with bushy brows, a green waistcoat with gold buttons and a
// soft heart.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <algorithm>

namespace {

enum GrumboldInk : Ink { kFur = kFirstFigureInk, kFurShade, kMuzzle, kNose, kVest, kVestShade, kPad, kStick };

FigureInfo GrumboldInfo()
{
    FigureInfo info;
    info.name = "Grumbold";
    info.description = "A big, gruff-looking bear with a heart of honey and the warmest hugs.";
    info.balloon = CastBalloon(0x3A2414, 0xFFF6E6, 0x8A5A34);
    info.outline = 0x2E1E14;
    info.inks = { 0xA0714A, 0x83593A, 0xE8CDA2, 0x3B2A22, 0x3E8E5A, 0x2F7045, 0xD9A77A, 0x7A5230 };
    return info;
}

class Grumbold : public Figure {
public:
    Grumbold() : Figure(GrumboldInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        for (int side : { -1, 1 }) {
            const double lift = std::max(0.0, pose.step * side) * 3;
            raster.Ellipse({ side * 12.0, -6 - lift }, 9.5, 7, kFur);
            raster.Fill(Path::Ellipse({ side * 12.0, -4 - lift }, 5.5, 3.2), kPad);
        }
        raster.Ellipse({ 0, -31 }, 25, 27, kFur);
        raster.Fill(Path::Ellipse({ 0, -27 }, 15, 18), kMuzzle);
        // The waistcoat, open over the belly.
        for (int side : { -1, 1 }) {
            raster.Shape(Path({ side * 8.0, -55 })
                             .Curve({ side * 21.0, -54 }, { side * 25.0, -34 })
                             .Curve({ side * 24.0, -16 }, { side * 12.0, -12 })
                             .To({ side * 9.0, -18 })
                             .Curve({ side * 13.0, -34 }, { side * 8.0, -55 }),
                         kVest);
            for (double y : { -40.0, -30.0, -21.0 })
                raster.Ellipse({ side * 11.5 - side * (y + 40) * 0.06, y }, 1.6, 1.6, kGoldInk);
        }
        raster.Fill(Path({ 19, -48 }).Curve({ 25, -34 }, { 22, -17 }).Curve({ 23, -33 }, { 19, -48 }), kVestShade);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.upper = 13;
        arm.lower = 12;
        arm.width = 9;
        arm.sleeve = kFur;
        arm.hand = kFur;
        arm.handRadius = 5.5;
        DrawArms(raster, pose, { -19, -46 }, { 19, -46 }, arm, kStick, anchors);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -54 }, { 0, -70 }, pose);
        const Point f = FaceShift(pose, 4);
        for (int side : { -1, 1 }) {
            raster.Ellipse({ side * 15.0, -14 }, 7, 7, kFur);
            raster.Fill(Path::Ellipse({ side * 15.0, -13.5 }, 3.8, 3.8), kMuzzle);
        }
        raster.Ellipse({ 0, 0 }, 21, 18.5, kFur);
        raster.Ellipse(f + Point{ 0, 7 }, 11, 8, kMuzzle);
        DrawMouth(raster, f + Point{ 0, 10 }, 9, pose.mouth);
        raster.Shape(Path(f + Point{ -4.5, 1.5 }).Curve(f + Point{ 0, -1.5 }, f + Point{ 4.5, 1.5 }).Curve(f + Point{ 4, 5 }, f + Point{ 0, 5.5 })
                         .Curve(f + Point{ -4, 5 }, f + Point{ -4.5, 1.5 }),
                     kNose);
        raster.Dot(f + Point{ -1.5, 1.5 }, 0.9, kWhiteInk);
        EyeStyle eyes;
        eyes.apart = 8;
        eyes.rx = 3.3;
        eyes.ry = 3.9;
        eyes.pupil = 2.2;
        eyes.lid = kFur;
        eyes.brow = kFurShade;
        eyes.browWidth = 3;
        eyes.browLift = 2.5;
        DrawEyes(raster, f + Point{ 0, -5 }, pose, eyes);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 13.0, 3 }, 3.5);
        DrawTear(raster, f + Point{ -8, -5 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 17, -10 });

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(20);
        anchors.top = raster.Map({ 0, -21 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeGrumbold()
{
    return std::make_unique<Grumbold>();
}
