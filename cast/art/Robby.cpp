// Robby: a boxy silver robot with a screen for a face, glowing eyes and mouth, an
// antenna that sparks his magic, and pincer hands.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"
#include <algorithm>

namespace {

enum RobbyInk : Ink { kMetal = kFirstFigureInk, kMetalShade, kDark, kScreen, kLight, kLightDim, kBolt, kBulb };

FigureInfo RobbyInfo()
{
    FigureInfo info;
    info.name = "Robby";
    info.description = "A friendly tin robot who delivers greetings with beeps and blinking lights.";
    info.balloon = CastBalloon(0x102A36, 0xEFFBFD, 0x3C7C8C);
    info.balloon.fontWeight = 700;
    info.outline = 0x1D2530;
    info.inks = { 0xCAD4DD, 0x97A6B4, 0x5B6877, 0x233343, 0x66F2E8, 0x2F8F95, 0xF28C28, 0xE84545 };
    return info;
}

class Robby : public Figure {
public:
    Robby() : Figure(RobbyInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        for (int side : { -1, 1 }) {
            const double lift = std::max(0.0, pose.step * side) * 3;
            raster.Line(Path({ side * 9.0, -22 }).To({ side * 9.0, -8 - lift }), 6, kMetalShade);
            raster.Shape(Path::RoundRect(side * 9.0 - 7, -9 - lift, side * 9.0 + 7, -1 - lift, 2.5), kDark);
        }
        raster.Shape(Path::RoundRect(-20, -58, 20, -18, 6), kMetal);
        raster.Fill(Path::RoundRect(13, -55, 18, -21, 2.5), kMetalShade);
        raster.Shape(Path::RoundRect(-12, -50, 12, -30, 3), kScreen);
        const Ink buttons[] = { kBolt, kLight, kBulb };
        for (int i = 0; i < 3; ++i)
            raster.Ellipse({ -6.0 + i * 6, -44 }, 2, 2, buttons[i]);
        raster.Stroke(Path({ -8, -35 }).To({ 8, -35 }), 1.4, kLightDim);
        raster.Ellipse({ -3.0 + pose.lookX * 4, -35 }, 1.8, 1.8, kLight);
        for (double x : { -17.0, 17.0 })
            for (double y : { -54.0, -22.0 })
                raster.Dot({ x + (x < 0 ? 2 : -2), y }, 0.9, kMetalShade);
        raster.Shape(Path::RoundRect(-5, -64, 5, -57, 1.5), kDark);
        const Point antenna = DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.kind = LimbKind::Robot;
        arm.upper = 13;
        arm.lower = 12;
        arm.width = 5.5;
        arm.sleeve = kMetalShade;
        arm.hand = kDark;
        arm.handRadius = 4.5;
        arm.accent = kBolt;
        DrawArms(raster, pose, { -21, -52 }, { 21, -52 }, arm, kClearInk, anchors);
        if (pose.held == Held::Wand)
            anchors.magic = antenna;
    }

    static void DrawEye(Raster& raster, Point c, int side, const Pose& pose)
    {
        const Point look{ pose.lookX * 1.6, pose.lookY * 1.4 };
        const double lid = std::max(pose.lid, pose.eyes == Eyes::Sleepy ? 0.5 : 0.0);
        if (pose.eyes == Eyes::Happy) {
            raster.Stroke(Path().Arc(c + Point{ 0, 1.5 }, 3, 2.5, 200, 340), 1.8, kLight);
        } else if (lid >= 0.95) {
            raster.Stroke(Path(c + Point{ -3, 0.5 }).To(c + Point{ 3, 0.5 }), 1.6, kLight);
        } else {
            const double grow = pose.eyes == Eyes::Wide ? 1.2 : 1;
            const double ry = 3.6 * grow * (1 - lid * 0.75);
            raster.Fill(Path::Ellipse(c + look + Point{ 0, 3.6 * grow - ry }, 3 * grow, ry), kLight);
            raster.Dot(c + look + Point{ 1, -1 }, 0.8, kWhiteInk);
        }
        if (pose.brow != 0) {
            const double worry = std::max(0.0, -pose.brow) * 2;
            const double up = std::max(0.0, pose.brow) * 1.5;
            raster.Stroke(Path(c + Point{ -side * 2.5, -6 - up - worry }).To(c + Point{ side * 3.0, -5.5 - up + worry * 0.3 }), 1.2,
                          kLight);
        }
    }

    static void DrawMouth(Raster& raster, Point c, Mouth mouth)
    {
        switch (mouth) {
        case Mouth::Smile:
        case Mouth::Closed:
            raster.Stroke(Path(c + Point{ -5, -1 }).Curve(c + Point{ 0, 3 }, c + Point{ 5, -1 }), 1.6, kLight);
            return;
        case Mouth::Frown:
            raster.Stroke(Path(c + Point{ -4.5, 1.5 }).Curve(c + Point{ 0, -2 }, c + Point{ 4.5, 1.5 }), 1.6, kLight);
            return;
        case Mouth::Flat:
            raster.Stroke(Path(c + Point{ -4, 0.5 }).To(c + Point{ 4, 0.5 }), 1.6, kLight);
            return;
        case Mouth::Wavy:
            raster.Stroke(Path(c + Point{ -5, 0.5 }).To(c + Point{ -2.5, -1 }).To(c + Point{ 0, 1 }).To(c + Point{ 2.5, -1 })
                              .To(c + Point{ 5, 0.5 }),
                          1.3, kLight);
            return;
        default:
            break;
        }
        // Open shapes light up as a row of bars.
        const double open = MouthOpening(mouth);
        const bool round = mouth == Mouth::Medium || mouth == Mouth::Narrow || mouth == Mouth::Oh;
        const int bars = mouth == Mouth::Grin ? 7 : round ? 3 : 5;
        for (int i = 0; i < bars; ++i) {
            const double middle = 1 - std::abs(i - (bars - 1) / 2.0) / bars;
            const double half = 0.7 + open * 4.3 * middle;
            const double x = c.x + (i - (bars - 1) / 2.0) * 2.4;
            raster.Fill(Path::RoundRect(x - 0.8, c.y - half, x + 0.8, c.y + half, 0.7), kLight);
        }
    }

    // Says where the antenna's tip is.
    Point DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -60 }, { 0, -78 }, pose);
        const Point f = FaceShift(pose, 3);
        raster.Line(Path({ 0, -14 }).To({ 0, -21 }), 1.8, kMetalShade);
        raster.Ellipse({ 0, -23.5 }, 3, 3, kBulb);
        raster.Dot({ -0.9, -24.4 }, 0.9, kWhiteInk);
        for (int side : { -1, 1 })
            raster.Ellipse({ side * 19.0, 0 }, 3.2, 4.5, kBolt);
        raster.Shape(Path::RoundRect(-18, -14, 18, 14, 6), kMetal);
        raster.Shape(Path::RoundRect(-14, -10, 14, 10, 4), kScreen);
        for (int side : { -1, 1 })
            DrawEye(raster, f + Point{ side * 6.0, -2.5 }, side, pose);
        DrawMouth(raster, f + Point{ 0, 4.5 }, pose.mouth);
        if (pose.blush)
            for (int side : { -1, 1 })
                raster.Fill(Path::RoundRect(f.x + side * 10.0 - 2, 2, f.x + side * 10.0 + 2, 4, 1), kBlushInk);
        DrawTear(raster, f + Point{ -6, -1 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 16, -13 });

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(17);
        anchors.top = raster.Map({ 0, -27 });
        const Point antenna = raster.Map({ 0, -23.5 });
        raster.Pop();
        return antenna;
    }
};

} // namespace

std::unique_ptr<Figure> MakeRobby()
{
    return std::make_unique<Robby>();
}
