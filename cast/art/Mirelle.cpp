// Mirelle: a small flower fairy with pink hair in a bun, a lilac dress and shimmering
// wings, who hovers instead of walking.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <cmath>

namespace {

enum MirelleInk : Ink {
    kSkin = kFirstFigureInk, kHair, kHairShade, kDress, kDressShade, kWing, kWingVein, kShoe, kIris, kFlower,
};

FigureInfo MirelleInfo()
{
    FigureInfo info;
    info.name = "Mirelle";
    info.description = "A flower fairy who flutters in with a sprinkle of sparkles for every friend.";
    info.balloon = CastBalloon(0x4A2460, 0xFFF2FA, 0xC25A9A);
    info.outline = 0x3A2140;
    info.inks = { 0xFCDCC8, 0xF27BB0, 0xD2558E, 0xB993EA, 0x9772D2, 0xC4ECFF, 0x8CCBEB, 0xE0569A, 0x7A4FC8, 0xFFE066 };
    return info;
}

class Mirelle : public Figure {
public:
    Mirelle() : Figure(MirelleInfo()) {}

private:
    // She hovers, so she floats above the ground and bobs as she flies.
    double Ground() const override { return 10; }

    void DrawWings(Raster& raster, const Pose& pose) const
    {
        // The wings beat as she moves and when she lifts off.
        const double flap = 14 * pose.step + (pose.y < 0 ? 10 : 0);
        for (int side : { -1, 1 }) {
            for (int pair = 0; pair < 2; ++pair) {
                raster.Push();
                raster.Translate(side * 2.0, pair ? -38 : -42);
                raster.Rotate(-side * (pair ? 62 + flap * 0.5 : 128 - flap));
                const double length = pair ? 19 : 27;
                raster.Shape(Path::Ellipse({ 0, length * 0.55 }, length * 0.4, length * 0.55), kWing);
                raster.Stroke(Path({ 0, 3 }).Curve({ 2, length * 0.5 }, { 0, length * 0.95 }), 0.9, kWingVein);
                raster.Dot({ -length * 0.14, length * 0.45 }, 1.3, kWhiteInk);
                raster.Pop();
            }
        }
    }

    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        DrawWings(raster, pose);
        // Legs dangle below the dress, swinging as she flies along.
        for (int side : { -1, 1 }) {
            const double swing = pose.step * side * 2;
            const Point knee{ side * 5.0, -14 };
            const Point foot{ side * 6.0 + swing, -3 };
            raster.Line(Path(knee).To(foot), 3.2, kSkin);
            raster.Ellipse(foot + Point{ side * 1.5, 0 }, 3.6, 2.4, kShoe);
        }
        raster.Shape(Path({ -8, -48 })
                         .Curve({ -12, -34 }, { -20, -18 })
                         .Arc({ -14, -18 }, 6, 4, 180, 0)
                         .Arc({ -2.7, -18 }, 5.3, 4.5, 180, 0)
                         .Arc({ 8.3, -18 }, 5.3, 4.5, 180, 0)
                         .Arc({ 16.7, -18 }, 3.3, 3, 180, 0)
                         .Curve({ 12, -34 }, { 8, -48 })
                         .Curve({ 0, -51 }, { -8, -48 }),
                     kDress);
        raster.Fill(Path({ 4, -44 }).Curve({ 10, -32 }, { 14, -19 }).Curve({ 10, -17 }, { 8, -16 }).Curve({ 7, -30 }, { 4, -44 }),
                    kDressShade);
        raster.Stroke(Path({ -8, -40 }).Curve({ 0, -37 }, { 8, -40 }), 1.6, kDressShade);
        raster.Fill(StarPath({ 0, -39 }, 2.6, 1.1, 0), kFlower);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.upper = 11;
        arm.lower = 10.5;
        arm.width = 4;
        arm.sleeve = kSkin;
        arm.hand = kSkin;
        arm.handRadius = 3.4;
        DrawArms(raster, pose, { -8, -45 }, { 8, -45 }, arm, kSteelInk, anchors);
        // Puffed sleeves over the tops of the arms.
        for (int side : { -1, 1 })
            raster.Ellipse({ side * 8.0, -45 }, 4.6, 4, kDress);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -49 }, { 0, -66 }, pose);
        const Point f = FaceShift(pose, 3.5);
        // Hair behind the head, the face, then the fringe and the bun.
        raster.Shape(Path({ -18, 6 })
                         .Curve({ -22, -12 }, { -12, -22 }, { 0, -21 })
                         .Curve({ 12, -22 }, { 22, -12 }, { 18, 6 })
                         .Curve({ 14, 10 }, { 10, 6 })
                         .Curve({ 0, 0 }, { -10, 6 })
                         .Curve({ -14, 10 }, { -18, 6 }),
                     kHair);
        raster.Ellipse({ 0, 1 }, 14.5, 14, kSkin);
        raster.Shape(Path({ -15, -2 })
                         .Curve({ -14, -17 }, { 0, -18 })
                         .Curve({ 14, -17 }, { 15, -2 })
                         .Curve({ 10, -10 }, { 3, -9 })
                         .Curve({ 0, -6 }, { -3, -9 })
                         .Curve({ -10, -10 }, { -15, -2 }),
                     kHair);
        raster.Fill(Path({ 6, -16 }).Curve({ 12, -14 }, { 14, -6 }).Curve({ 10, -11 }, { 6, -12 }), kHairShade);
        raster.Ellipse({ 0, -22 }, 7.5, 6.5, kHair);
        raster.Stroke(Path().Arc({ 0, -22 }, 4.5, 3.5, 200, 330), 1, kHairShade);
        raster.Shape(StarPath({ 7, -23 }, 4, 1.8, 15), kFlower);
        EyeStyle eyes;
        eyes.apart = 6.2;
        eyes.rx = 3.9;
        eyes.ry = 5;
        eyes.pupil = 2.6;
        eyes.lid = kSkin;
        eyes.iris = kIris;
        eyes.browWidth = 1.2;
        eyes.browLift = 3;
        DrawEyes(raster, f + Point{ 0, 1 }, pose, eyes);
        // Lashes at the outer corners.
        if (pose.eyes != Eyes::Happy && pose.lid < 0.5)
            for (int side : { -1, 1 })
                raster.Stroke(Path(f + Point{ side * 9.6, -1.5 }).To(f + Point{ side * 11.6, -3.5 }), 1.1, kOutlineInk);
        raster.Dot(f * 1.15 + Point{ 0, 5 }, 0.9, kHairShade);
        DrawMouth(raster, f + Point{ 0, 8.5 }, 7, pose.mouth);
        for (int side : { -1, 1 })
            DrawBlush(raster, f + Point{ side * 8.5, 6 }, pose.blush ? 3.2 : 2);
        DrawTear(raster, f + Point{ -6.2, 1 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 12, -8 });

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(15);
        anchors.top = raster.Map({ 0, -29 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeMirelle()
{
    return std::make_unique<Mirelle>();
}
