// Tolvan: a round green frog with bulging eyes, a wide grin, a red bow tie and a small
// golden crown.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <algorithm>

namespace {

enum TolvanInk : Ink { kSkin = kFirstFigureInk, kSkinShade, kBelly, kSpot, kTie, kTieShade, kCrown, kStick };

FigureInfo TolvanInfo()
{
    FigureInfo info;
    info.name = "Tolvan";
    info.description = "A cheerful pond frog with a crown, always ready to hop in with good news.";
    info.balloon = CastBalloon(0x1F3A14, 0xF1FBE4, 0x4E9A35);
    info.outline = 0x1C3318;
    info.inks = { 0x72C64B, 0x57A83A, 0xEAF5B4, 0x4F9A33, 0xD8423A, 0xAE2E2A, 0xF5C632, 0x3E7D2A };
    return info;
}

class Tolvan : public Figure {
public:
    Tolvan() : Figure(TolvanInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        // Webbed feet and the haunches above them.
        for (int side : { -1, 1 }) {
            const double lift = std::max(0.0, pose.step * side) * 3;
            const Point foot{ side * 15.0, -3 - lift };
            for (double toe : { -6.0, 0.0, 6.0 })
                raster.Ellipse(foot + Point{ side * 3 + toe, 1 }, 2.6, 2.2, kSkin);
            raster.Ellipse(foot, 9, 3.5, kSkin);
            raster.Ellipse({ side * 17.0, -13 - lift * 0.5 }, 9, 10, kSkin);
        }
        raster.Ellipse({ 0, -28 }, 22, 25, kSkin);
        raster.Fill(Path::Ellipse({ 0, -25 }, 14.5, 17.5), kBelly);
        raster.Fill(Path({ 15, -44 }).Curve({ 24, -30 }, { 16, -8 }).Curve({ 19, -26 }, { 15, -44 }), kSkinShade);
        for (Point spot : { Point{ -16, -34 }, Point{ -12, -14 }, Point{ 17, -24 } })
            raster.Fill(Path::Ellipse(spot, 2.2, 1.8), kSpot);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.upper = 12;
        arm.lower = 12;
        arm.width = 6;
        arm.sleeve = kSkin;
        arm.hand = kSkin;
        arm.handRadius = 4.3;
        DrawArms(raster, pose, { -17, -42 }, { 17, -42 }, arm, kStick, anchors);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        // The bow tie sits on the neck and turns with the head.
        EnterHead(raster, { 0, -46 }, { 0, -64 }, pose);
        const Point f = FaceShift(pose, 4);
        for (int side : { -1, 1 })
            raster.Shape(Path({ 0, 18 }).To({ side * 10.0, 13 }).To({ side * 10.0, 23 }), kTie);
        raster.Ellipse({ 0, 18 }, 3, 3, kTieShade);

        // Eye bumps on top of a wide head.
        for (int side : { -1, 1 })
            raster.Ellipse(f * 0.5 + Point{ side * 11.0, -13 }, 9.5, 9, kSkin);
        raster.Ellipse({ 0, 0 }, 25, 16, kSkin);
        raster.Fill(Path::Ellipse(f * 0.5 + Point{ 0, -13 }, 18, 5), kSkin);
        EyeStyle eyes;
        eyes.apart = 11;
        eyes.rx = 6;
        eyes.ry = 6.2;
        eyes.pupil = 3;
        eyes.lid = kSkin;
        eyes.browLift = 5;
        DrawEyes(raster, f * 0.5 + Point{ 0, -13 }, pose, eyes);
        for (int side : { -1, 1 })
            raster.Dot(f + Point{ side * 3.5, -3 }, 1, kOutlineInk);
        if (pose.mouth == Mouth::Smile || pose.mouth == Mouth::Closed)
            raster.Stroke(Path(f + Point{ -17, 1 }).Curve(f + Point{ 0, 13 }, f + Point{ 17, 1 }), 1.7, kOutlineInk);
        else
            DrawMouth(raster, f + Point{ 0, 4 }, 18, pose.mouth);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 17.0, 2 }, 3.5);
        DrawTear(raster, f * 0.5 + Point{ -11, -11 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 21, -8 });

        const Point crown = f * 0.3 + Point{ 0, -20 };
        raster.Shape(Path(crown + Point{ -6, 2 })
                         .To(crown + Point{ -7, -6 })
                         .To(crown + Point{ -3.5, -2 })
                         .To(crown + Point{ 0, -8 })
                         .To(crown + Point{ 3.5, -2 })
                         .To(crown + Point{ 7, -6 })
                         .To(crown + Point{ 6, 2 }),
                     kCrown);
        raster.Dot(crown + Point{ 0, -1 }, 1.2, kTie);

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(22);
        anchors.top = raster.Map(crown + Point{ 0, -8 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeTolvan()
{
    return std::make_unique<Tolvan>();
}
