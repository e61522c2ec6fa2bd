#include "cast/Effects.h"
#include "cast/SharedInks.h"
#include <algorithm>
#include <cmath>

namespace {

const double kTurn = 2 * 3.14159265358979323846;

// A four-pointed glint.
Path Glint(Point c, double r)
{
    Path glint;
    for (int i = 0; i < 8; ++i) {
        const double angle = Radians(i * 45 - 90);
        const double reach = i % 2 ? r * 0.3 : r;
        glint.To(c + Point{ reach * std::cos(angle), reach * std::sin(angle) });
    }
    return glint;
}

// The same scatter every time: a number in [0, 1) for each seed.
double Scatter(int seed)
{
    const unsigned value = unsigned(seed) * 2654435761u ^ 0x9E3779B9u;
    return (value >> 8 & 0xFFFF) / 65536.0;
}

void Sparkles(Raster& raster, Point c, double phase)
{
    const Ink inks[] = { kGoldInk, kGoldLightInk, kWhiteInk };
    for (int i = 0; i < 7; ++i) {
        const double angle = Radians(i * 51.4 + phase * 80);
        const double reach = 5 + phase * (16 + 8 * Scatter(i));
        const double size = (2.5 + 2.5 * Scatter(i + 20)) * std::sin(3.14159 * (0.25 + 0.7 * phase));
        const Point at = c + Point{ std::cos(angle), std::sin(angle) } * reach;
        raster.Shape(Glint(at, std::max(1.5, size)), inks[i % 3]);
    }
}

void Question(Raster& raster, Point at)
{
    raster.Line(Path().Arc(at, 4.5, 4.5, 180, 360).Curve(at + Point{ 4.5, 4 }, at + Point{ 0, 6 }).To(at + Point{ 0, 8.5 }),
                2.8, kQuestionInk);
    raster.Ellipse(at + Point{ 0, 13 }, 1.7, 1.7, kQuestionInk);
}

void Exclaim(Raster& raster, Point at, double phase)
{
    raster.Shape(Path(at + Point{ -2.4, -8 }).To(at + Point{ 2.4, -8 }).To(at + Point{ 1.1, 5 }).To(at + Point{ -1.1, 5 }),
                 kExclaimInk);
    raster.Ellipse(at + Point{ 0, 9 }, 1.8, 1.8, kExclaimInk);
    const double reach = 5 + 3 * phase;
    for (int side : { -1, 1 })
        for (int i = 0; i < 2; ++i) {
            const Point d = SideDirection(120 + i * 35, side);
            raster.Stroke(Path(at + Point{ 0, -1 } + d * reach).To(at + Point{ 0, -1 } + d * (reach + 4)), 1.4,
                          kOutlineInk);
        }
}

void Bulb(Raster& raster, Point at, double phase)
{
    for (int i = 0; i < 7; ++i) {
        const double angle = Radians(-180 + i * 30);
        const Point d{ std::cos(angle), std::sin(angle) };
        const double reach = 10 + 2 * std::sin(phase * kTurn + i);
        raster.Stroke(Path(at + d * reach).To(at + d * (reach + 3.5)), 1.5, kGoldInk);
    }
    raster.Shape(Path::RoundRect(at.x - 3.2, at.y + 5, at.x + 3.2, at.y + 10.5, 1.2), kSteelInk);
    raster.Shape(Path(at + Point{ -3.5, 6 }).Curve(at + Point{ -8.5, 1 }, at + Point{ -8.5, -4 }, at + Point{ 0, -8 })
                     .Curve(at + Point{ 8.5, -4 }, at + Point{ 8.5, 1 }, at + Point{ 3.5, 6 }),
                 kGoldLightInk);
    raster.Stroke(Path(at + Point{ -1.5, 5 }).To(at + Point{ -1.5, 1 }).To(at + Point{ 1.5, 1 }).To(at + Point{ 1.5, 5 }), 0.9,
                  kGoldInk);
    raster.Stroke(Path(at + Point{ 6.2, 7.5 }).To(at + Point{ -6.2, 7.5 }), 0.8, kOutlineInk);
}

void Confetti(Raster& raster, Point top, double phase)
{
    const Ink inks[] = { kPinkInk, kBlueInk, kGreenInk, kGoldInk };
    for (int i = 0; i < 16; ++i) {
        const double x = top.x + (Scatter(i) - 0.5) * 90 + 6 * std::sin(phase * kTurn + i);
        const double y = top.y - 20 + Scatter(i + 40) * 30 + phase * 55;
        const double angle = Radians(Scatter(i + 80) * 180 + phase * 360 * (i % 2 ? 1 : -1));
        const Point d{ std::cos(angle) * 2.6, std::sin(angle) * 2.6 };
        const Point n{ -d.y * 0.5, d.x * 0.5 };
        const Point c{ x, y };
        raster.Fill(Path(c - d - n).To(c + d - n).To(c + d + n).To(c - d + n), inks[i % 4]);
    }
}

void Thought(Raster& raster, Point head, double radius, double phase)
{
    const Point from = head + Point{ radius * 0.8, -radius * 0.9 };
    for (int i = 0; i < 3; ++i)
        if (phase * 3 > i)
            raster.Ellipse(from + Point{ i * 4.5, -i * 6.0 }, 1.6 + i, 1.4 + i, kPaperInk);
    if (phase < 0.75)
        return;
    const Point c = from + Point{ 16, -26 };
    Path cloud;
    for (int i = 0; i < 8; ++i)
        cloud.Arc(c + Point{ 13 * std::cos(Radians(i * 45)), 8 * std::sin(Radians(i * 45)) }, 5.5, 5, i * 45 - 75,
                  i * 45 + 75);
    raster.Shape(cloud, kPaperInk);
    for (int i = -1; i <= 1; ++i)
        raster.Dot(c + Point{ i * 5.0, 0 }, 1.3, kOutlineInk);
}

void Note(Raster& raster, Point at, bool pair)
{
    raster.Fill(Path::Ellipse(at, 2.4, 1.8), kPupilInk);
    raster.Stroke(Path(at + Point{ 2, 0 }).To(at + Point{ 2, -9 }), 1.2, kPupilInk);
    if (pair) {
        raster.Fill(Path::Ellipse(at + Point{ 6, -1.5 }, 2.4, 1.8), kPupilInk);
        raster.Stroke(Path(at + Point{ 8, -1.5 }).To(at + Point{ 8, -10.5 }), 1.2, kPupilInk);
        raster.Stroke(Path(at + Point{ 2, -9 }).To(at + Point{ 8, -10.5 }), 2, kPupilInk);
    } else {
        raster.Stroke(Path(at + Point{ 2, -9 }).Curve(at + Point{ 6, -7 }, at + Point{ 5, -3 }), 1.2, kPupilInk);
    }
}

void Notes(Raster& raster, Point from, double phase)
{
    for (int i = 0; i < 3; ++i) {
        const double t = std::fmod(phase + i / 3.0, 1.0);
        Note(raster, from + Point{ 6 + t * 20 + i * 3, -4 - t * 26 + 3 * std::sin(t * kTurn) }, i == 1);
    }
}

void Sleep(Raster& raster, Point head, double radius, double phase)
{
    for (int i = 0; i < 3; ++i) {
        const double t = std::fmod(phase + i / 3.0, 1.0);
        const double size = 2.5 + 2.5 * t;
        const Point at = head + Point{ radius * 0.7 + t * 16, -radius * 0.8 - t * 24 };
        raster.Line(Path(at + Point{ -size, -size }).To(at + Point{ size, -size }).To(at + Point{ -size, size })
                        .To(at + Point{ size, size }),
                    1.4, kBlueInk);
    }
}

void Puff(Raster& raster, Point c, double phase)
{
    const double size = 9 * std::sin(3.14159 * (0.15 + 0.85 * phase));
    if (size < 1)
        return;
    for (int i = 0; i < 9; ++i) {
        const double angle = Radians(i * 40 + phase * 30);
        const Point at = c + Point{ std::cos(angle) * (10 + phase * 30), std::sin(angle) * (8 + phase * 22) };
        raster.Ellipse(at, size * (0.8 + 0.4 * Scatter(i)), size * (0.7 + 0.3 * Scatter(i + 9)), kPuffInk);
    }
}

void Flour(Raster& raster, Point bowl, double phase)
{
    for (int i = 0; i < 9; ++i) {
        const double t = std::fmod(phase + Scatter(i), 1.0);
        const Point at = bowl + Point{ 8 + (Scatter(i + 30) - 0.5) * 26 + t * 6, -8 - t * 20 };
        raster.Dot(at, 1.2 + 1.8 * (1 - t), i % 3 ? kBatterInk : kWhiteInk);
    }
}

void Burst(Raster& raster, Point c, double phase)
{
    const Ink inks[] = { kGoldInk, kPinkInk, kBlueInk, kGreenInk };
    const double reach = 4 + phase * 22;
    for (int i = 0; i < 12; ++i) {
        const double angle = Radians(i * 30 + 15 * (i % 2));
        const Point d{ std::cos(angle), std::sin(angle) };
        if (phase < 0.6)
            raster.Stroke(Path(c + d * (reach * 0.5)).To(c + d * reach), 1.6, inks[i % 4]);
        else
            raster.Shape(Glint(c + d * reach, 3.5 * (1.4 - phase)), inks[i % 4]);
    }
}

} // namespace

void DrawEffects(Raster& raster, const Pose& pose, const Anchors& anchors)
{
    const double phase = pose.effectPhase;
    const Point head = anchors.headCentre;
    const double radius = anchors.headRadius;
    const Point above = Point{ head.x, anchors.top.y - 12 };
    if (pose.effects & kEffectPuff)
        Puff(raster, head + Point{ 0, radius }, phase);
    if (pose.effects & kEffectSparkles)
        Sparkles(raster, pose.held == Held::Wand ? anchors.magic : head, phase);
    if (pose.effects & kEffectQuestion)
        Question(raster, Point{ head.x + radius + 6, anchors.top.y - 2 - 2 * std::sin(phase * kTurn) });
    if (pose.effects & kEffectExclaim) {
        // Over a tall hat the mark would leave the frame but for its dot: it stands
        // beside the head instead, as the question mark does.
        const double room = 16;
        const Point at = above.y >= room ? above : Point{ head.x + radius + 10, std::max(room, anchors.top.y + 4) };
        Exclaim(raster, at + Point{ 0, -2 * phase }, phase);
    }
    if (pose.effects & kEffectBulb)
        Bulb(raster, above + Point{ 0, -2 }, phase);
    if (pose.effects & kEffectConfetti)
        Confetti(raster, above, phase);
    if (pose.effects & kEffectThought)
        Thought(raster, head, radius, phase);
    if (pose.effects & kEffectNotes)
        Notes(raster, pose.held == Held::Trumpet ? anchors.magic : head + Point{ radius * 0.6, 0 }, phase);
    if (pose.effects & kEffectSleep)
        Sleep(raster, head, radius, phase);
    if (pose.effects & kEffectFlour)
        Flour(raster, anchors.hands[0], phase);
    if (pose.effects & kEffectBurst)
        Burst(raster, above + Point{ 0, -6 }, phase);
}
