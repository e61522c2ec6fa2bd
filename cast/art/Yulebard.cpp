// Yulebard: a singing snowman with a carrot nose, a striped red scarf, a top hat with
// holly, twig arms and red mittens.
#include "cast/FigureKit.h"
#include "cast/art/Cast.h"

namespace {

enum YulebardInk : Ink { kSnow = kFirstFigureInk, kSnowShade, kCarrot, kCoal, kScarf, kStripe, kHat, kTwig, kHolly };

FigureInfo YulebardInfo()
{
    FigureInfo info;
    info.name = "Yulebard";
    info.description = "A snowman minstrel who sings every greeting, whatever the season.";
    info.balloon = CastBalloon(0x1A2E4A, 0xF4FAFF, 0xC8343B);
    info.outline = 0x20283A;
    info.inks = { 0xF9FCFF, 0xD3E2F1, 0xF28A30, 0x2B2B35, 0xD8343B, 0x2E9E5B, 0x2F2F3D, 0x7A5230, 0x2C8A4A };
    return info;
}

class Yulebard : public Figure {
public:
    Yulebard() : Figure(YulebardInfo()) {}

private:
    void DrawBody(Raster& raster, const Pose& pose, Anchors& anchors) const override
    {
        // The bottom ball rocks from side to side instead of walking.
        raster.Push();
        raster.Rotate(pose.step * 4);
        raster.Ellipse({ 0, -20 }, 22, 20, kSnow);
        raster.Fill(Path().Arc({ 0, -20 }, 20, 18, 10, 120).Curve({ 4, -10 }, { 19, -14 }), kSnowShade);
        raster.Pop();
        raster.Ellipse({ 0, -48 }, 16, 14.5, kSnow);
        raster.Fill(Path().Arc({ 0, -48 }, 14, 12.5, 10, 120).Curve({ 3, -40 }, { 13, -43 }), kSnowShade);
        for (double y : { -53.0, -46.0, -39.0 })
            raster.Ellipse({ 0, y }, 1.7, 1.7, kCoal);
        DrawHead(raster, pose, anchors);

        ArmStyle arm;
        arm.kind = LimbKind::Twig;
        arm.upper = 13;
        arm.lower = 12;
        arm.width = 2.4;
        arm.sleeve = kTwig;
        arm.hand = kScarf;
        arm.handRadius = 4.3;
        DrawArms(raster, pose, { -13, -52 }, { 13, -52 }, arm, kScarf, anchors);
    }

    void DrawHead(Raster& raster, const Pose& pose, Anchors& anchors) const
    {
        EnterHead(raster, { 0, -60 }, { 0, -73 }, pose);
        const Point f = FaceShift(pose, 3.5);
        raster.Ellipse({ 0, 0 }, 13, 12.5, kSnow);
        EyeStyle eyes;
        eyes.apart = 5.5;
        eyes.rx = 3;
        eyes.ry = 3.4;
        eyes.pupil = 2.3;
        eyes.lid = kSnow;
        eyes.browLift = 2.5;
        eyes.iris = kCoal;
        DrawEyes(raster, f + Point{ 0, -3 }, pose, eyes);
        DrawMouth(raster, f + Point{ 0, 6 }, 8, pose.mouth);
        // The carrot points the way he looks.
        const Point nose = f * 1.3 + Point{ 0, 1.5 };
        raster.Shape(Path(nose + Point{ -1, -2.2 }).Curve(nose + Point{ 7 + pose.headTurn * 3, -1 }, nose + Point{ 11 + pose.headTurn * 4, 1.5 })
                         .Curve(nose + Point{ 6, 1.8 }, nose + Point{ -1, 2 }),
                     kCarrot);
        if (pose.blush)
            for (int side : { -1, 1 })
                DrawBlush(raster, f + Point{ side * 8.0, 3.5 }, 2.6);
        DrawTear(raster, f + Point{ -5.5, -3 }, pose.tear);
        if (pose.sweat)
            DrawSweat(raster, { 11, -7 });

        // The scarf round the neck, one end hanging down.
        raster.Shape(Path({ 4, 11 }).To({ 11, 12 }).To({ 12, 26 }).To({ 6, 27 }), kScarf);
        for (double y : { 17.0, 22.0 })
            raster.Stroke(Path({ 7, y }).To({ 11.5, y + 0.3 }), 1.6, kStripe);
        raster.Shape(Path::RoundRect(-13, 9, 13, 15.5, 3), kScarf);
        for (double x : { -7.0, 0.0, 7.0 })
            raster.Fill(Path::RoundRect(x - 1.2, 9.6, x + 1.2, 15, 0.5), kStripe);

        raster.Shape(Path::RoundRect(-15, -12.5, 15, -9.5, 1.5), kHat);
        raster.Shape(Path::RoundRect(-10, -30, 10, -11, 2), kHat);
        raster.Fill(Path::RoundRect(-10, -15.5, 10, -12.5, 0.5), kScarf);
        for (int side : { -1, 1 })
            raster.Shape(Path({ 4, -14 }).Curve({ 4 + side * 3.0, -19 }, { 4 + side * 6.5, -18 }).Curve({ 4 + side * 4.0, -14 }, { 4, -14 }),
                         kHolly);
        for (double x : { 3.0, 5.5 })
            raster.Ellipse({ x, -14.5 }, 1.4, 1.4, kScarf);

        anchors.headCentre = raster.Map({ 0, 0 });
        anchors.headRadius = raster.MapLength(13);
        anchors.top = raster.Map({ 0, -30 });
        raster.Pop();
    }
};

} // namespace

std::unique_ptr<Figure> MakeYulebard()
{
    return std::make_unique<Yulebard>();
}
