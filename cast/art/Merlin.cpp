// Merlin: an old wizard in a starry blue robe and a tall pointed hat, with a long white
// beard and a wooden wand.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"

namespace {

enum MerlinInk : Ink { kRobe = kFirstFigureInk, kRobeShade, kSkin, kNose, kBeard, kBeardShade, kHat, kShoe, kWood };

FigureInfo MerlinInfo()
{
    FigureInfo info;
    info.name = "Merlin";
    info.description = "A kindly old wizard who turns every greeting into a little magic.";
    info.balloon = CastBalloon(0x202050, 0xF4F1FF, 0x3B4FA8);
    info.outline = 0x1B1D3A;
    info.inks = { 0x3F57B8, 0x2E418F, 0xF7D2B0, 0xEBA98C, 0xF8F8F6, 0xCBD0DA, 0x3448A0, 0x6B4428, 0x8C5A2E };
    return info;
}

class Merlin : public Figure {
public:
    Merlin() : Figure(MerlinInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        DrawFeet(raster, 8, 6.5, 3.5, pose, kShoe);
        raster.Shape(Path({ -13, -54 })
                         .Curve({ -19, -30 }, { -28, -4 })
                         .Curve({ 0, 3 }, { 28, -4 })
                         .Curve({ 19, -30 }, { 13, -54 })
                         .Curve({ 0, -58 }, { -13, -54 }),
                     kRobe);
        raster.Fill(Path({ 7, -50 }).Curve({ 14, -28 }, { 24, -5 }).Curve({ 18, -3 }, { 14, -2 }).Curve({ 10, -26 }, { 7, -50 }),
                    kRobeShade);
        raster.Stroke(Path({ -27, -6 }).Curve({ 0, 0 }, { 27, -6 }), 2.2, kGoldInk);
        for (Point star : { Point{ -11, -30 }, Point{ 12, -20 }, Point{ -4, -14 }, Point{ 3, -40 } })
            raster.Fill(StarPath(star, 3, 1.3, star.x * 7), kGoldInk);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.upper = 14;
        arm.lower = 12;
        arm.width = 8.5;
        arm.sleeve = kRobe;
        arm.hand = kSkin;
        arm.handRadius = 4.6;
        arm.cuff = kGoldInk;
        DrawArms(raster, pose, { -12, -50 }, { 12, -50 }, arm, kWood, anchors);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -56 }, { 0, -70 }, pose);
        const Point f = FaceShift(pose, 4);
        for (int side : { -1, 1 })
            raster.Ellipse({ side * 14.5 + f.x * 0.3, 0 }, 3, 4.5, kSkin);
        raster.Ellipse({ 0, 0 }, 15, 15.5, kSkin);
        // The beard frames the mouth and falls onto the chest.
        raster.Shape(Path({ -15, -2 })
                         .Curve({ -18, 18 }, { -7, 30 }, { f.x * 0.6, 37 })
                         .Curve({ 7, 30 }, { 18, 18 }, { 15, -2 })
                         .Curve({ 8 + f.x, 5 + f.y }, { f.x, 4 + f.y })
                         .Curve({ -8 + f.x, 5 + f.y }, { -15, -2 }),
                     kBeard);
        for (double x : { -7.0, 0.0, 7.0 })
            raster.Stroke(Path({ x * 1.1 + f.x * 0.5, 18 }).Curve({ x * 0.9, 25 }, { x * 0.6 + f.x * 0.6, 31 }), 0.9, kBeardShade);
        DrawMouth(raster, f + Point{ 0, 10.5 }, 10, pose.mouth);
        for (int side : { -1, 1 })
            raster.Shape(Path(f + Point{ 0, 5 })
                             .Curve(f + Point{ side * 5.0, 2 }, f + Point{ side * 10.5, 6 })
                             .Curve(f + Point{ side * 8.0, 9.5 }, f + Point{ 0, 7.5 }),
                         kBeard);
        raster.Ellipse(f * 1.2 + Point{ 0, 1.5 }, 3.6, 3.2, kNose);
        EyeStyle eyes;
        eyes.apart = 6.5;
        eyes.rx = 3.6;
        eyes.ry = 4.4;
        eyes.pupil = 2.1;
        eyes.lid = kSkin;
        eyes.brow = kBeard;
        eyes.browWidth = 2.4;
        eyes.browLift = 3;
        DrawEyes(raster, f + Point{ 0, -5 }, pose, eyes);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 9.5, 1 }, 3);
        DrawTear(raster, f + Point{ -6.5, -5 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 13, -11 });

        raster.Ellipse({ 0, -12 }, 22, 4.5, kHat);
        const Point tip{ 9, -44 };
        raster.Shape(Path({ -13, -13 })
                         .Curve({ -8, -30 }, { -2, -38 }, tip)
                         .Curve({ 5, -34 }, { 10, -22 }, { 13, -13 })
                         .Curve({ 0, -10 }, { -13, -13 }),
                     kHat);
        raster.Stroke(Path({ -12.5, -14.5 }).Curve({ 0, -11.5 }, { 12.5, -14.5 }), 2.2, kGoldInk);
        raster.Fill(StarPath({ -2, -25 }, 3.4, 1.4, 10), kGoldInk);
        raster.Fill(StarPath({ 4, -34 }, 2.2, 0.9, 30), kGoldInk);
        raster.Dot({ 6, -19 }, 1, kGoldLightInk);

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(15);
        anchors.top = raster.Map(tip);
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeMerlin()
{
    return std::make_unique<Merlin>();
}
