#include "cast/Faces.h"
#include <algorithm>
#include <cmath>

namespace {

const double kLineWidth = 1.6;  // the pen of faces: smiles, brows, closed eyes

Path TearDrop(Point tip, double size)
{
    const Point bottom = tip + Point{ 0, size * 1.6 };
    return Path(tip)
        .Curve(tip + Point{ size * 0.9, size * 0.8 }, bottom + Point{ size * 0.75, 0 }, bottom + Point{ 0, size * 0.15 })
        .Curve(bottom + Point{ -size * 0.75, 0 }, tip + Point{ -size * 0.9, size * 0.8 }, tip);
}

// An open mouth: a gently curved top and a round bottom, `height` deep.
void DrawOpenMouth(Raster& raster, Point c, double width, double height, bool teeth)
{
    const double half = width / 2;
    raster.Shape(Path(c + Point{ -half, 0 })
                     .Curve(c + Point{ 0, height * 0.15 }, c + Point{ half, 0 })
                     .Curve(c + Point{ half * 0.85, height * 1.3 }, c + Point{ -half * 0.85, height * 1.3 },
                            c + Point{ -half, 0 }),
                 kMouthInk);
    if (height > width * 0.3)
        raster.Dot(c + Point{ 0, height * 0.78 }, std::min(half * 0.45, height * 0.3), kTongueInk);
    if (teeth)
        raster.Fill(Path(c + Point{ -half * 0.78, height * 0.04 })
                        .Curve(c + Point{ 0, height * 0.17 }, c + Point{ half * 0.78, height * 0.04 })
                        .To(c + Point{ half * 0.68, height * 0.24 })
                        .Curve(c + Point{ 0, height * 0.36 }, c + Point{ -half * 0.68, height * 0.24 }),
                    kWhiteInk);
}

void DrawEye(Raster& raster, Point c, int side, const Pose& pose, const EyeStyle& style)
{
    const bool wide = pose.eyes == Eyes::Wide;
    const double rx = style.rx * (wide ? 1.12 : 1), ry = style.ry * (wide ? 1.2 : 1);
    if (pose.eyes == Eyes::Happy) {
        raster.Stroke(Path().Arc(c + Point{ 0, ry * 0.45 }, rx * 0.95, ry * 0.7, 200, 340), kLineWidth * 1.2,
                      kOutlineInk);
    } else {
        raster.Ellipse(c, rx, ry, kWhiteInk);
        const double pupil = style.pupil * (wide ? 0.8 : 1);
        const Point look = c + Point{ pose.lookX * (rx - pupil - 0.6), pose.lookY * (ry - pupil - 0.6) };
        raster.Dot(look, pupil, style.iris);
        if (style.iris != kPupilInk)
            raster.Dot(look, pupil * 0.55, kPupilInk);
        raster.Dot(look + Point{ pupil * 0.35, -pupil * 0.4 }, std::max(0.7, pupil * 0.32), kWhiteInk);

        const double lid = std::max(pose.lid, pose.eyes == Eyes::Sleepy ? 0.45 : 0.0);
        if (lid >= 0.95) {
            raster.Fill(Path::Ellipse(c, rx, ry), style.lid);
            raster.Stroke(Path().Arc(c + Point{ 0, -ry * 0.2 }, rx * 0.95, ry * 0.6, 20, 160), kLineWidth,
                          kOutlineInk);
        } else if (lid > 0) {
            const double cut = c.y - ry + 2 * ry * lid;
            const Path eye = Path::Ellipse(c, rx, ry);
            Path shape;
            for (Point p : eye.Points())
                shape.To({ p.x, std::min(p.y, cut) });
            raster.Fill(shape, style.lid);
            const double h = (cut - c.y) / ry;
            const double half = rx * std::sqrt(std::max(0.0, 1 - h * h));
            raster.Stroke(Path({ c.x - half, cut }).To({ c.x + half, cut }), kLineWidth, kOutlineInk);
        }
    }
    if (style.brow == kClearInk)
        return;
    // Worried brows rise at the middle of the face; raised ones rise all along.
    const double top = c.y - ry - style.browLift - std::max(0.0, pose.brow) * 3;
    const double inner = std::max(0.0, -pose.brow) * 3.5;
    const Point in{ c.x - side * rx * 0.7, top - inner };
    const Point out{ c.x + side * rx * 1.0, top + 1 + inner * 0.4 };
    const Path brow = Path(in).Curve(Mix(in, out, 0.5) + Point{ 0, -2 }, out);
    if (style.brow == kOutlineInk)
        raster.Stroke(brow, style.browWidth, kOutlineInk);
    else
        raster.Line(brow, style.browWidth, style.brow);
}

} // namespace

void DrawEyes(Raster& raster, Point centre, const Pose& pose, const EyeStyle& style)
{
    for (int side : { -1, 1 })
        DrawEye(raster, centre + Point{ side * style.apart, 0 }, side, pose, style);
}

double MouthOpening(Mouth mouth)
{
    switch (mouth) {
    case Mouth::Wide1: return 0.25;
    case Mouth::Wide2: return 0.45;
    case Mouth::Wide3: return 0.7;
    case Mouth::Wide4: return 1;
    case Mouth::Medium: return 0.55;
    case Mouth::Narrow: return 0.3;
    case Mouth::Grin: return 0.8;
    case Mouth::Oh: return 0.75;
    default: return 0;
    }
}

void DrawMouth(Raster& raster, Point c, double w, Mouth mouth)
{
    const double half = w / 2;
    switch (mouth) {
    case Mouth::Smile:
    case Mouth::Closed:
        raster.Stroke(Path(c + Point{ -half, -w * 0.06 }).Curve(c + Point{ 0, w * 0.3 }, c + Point{ half, -w * 0.06 }),
                      kLineWidth, kOutlineInk);
        break;
    case Mouth::Frown:
        raster.Stroke(Path(c + Point{ -half * 0.8, w * 0.14 }).Curve(c + Point{ 0, -w * 0.16 }, c + Point{ half * 0.8, w * 0.14 }),
                      kLineWidth, kOutlineInk);
        break;
    case Mouth::Flat:
        raster.Stroke(Path(c + Point{ -half * 0.65, w * 0.06 }).To(c + Point{ half * 0.65, 0 }), kLineWidth,
                      kOutlineInk);
        break;
    case Mouth::Wavy: {
        Path wave(c + Point{ -half * 0.8, 0 });
        for (int i = 1; i <= 4; ++i)
            wave.Curve(c + Point{ -half * 0.8 + (i - 0.5) * w * 0.4, (i % 2 ? -1 : 1) * w * 0.12 },
                       c + Point{ -half * 0.8 + i * w * 0.4, 0 });
        raster.Stroke(wave, kLineWidth, kOutlineInk);
        break;
    }
    case Mouth::Wide1: DrawOpenMouth(raster, c, w * 0.72, w * 0.2, false); break;
    case Mouth::Wide2: DrawOpenMouth(raster, c, w * 0.82, w * 0.32, true); break;
    case Mouth::Wide3: DrawOpenMouth(raster, c, w * 0.92, w * 0.45, true); break;
    case Mouth::Wide4: DrawOpenMouth(raster, c, w, w * 0.58, true); break;
    case Mouth::Grin: DrawOpenMouth(raster, c + Point{ 0, -w * 0.05 }, w * 1.15, w * 0.5, true); break;
    case Mouth::Medium:
        raster.Ellipse(c + Point{ 0, w * 0.15 }, w * 0.28, w * 0.3, kMouthInk);
        raster.Dot(c + Point{ 0, w * 0.3 }, w * 0.14, kTongueInk);
        break;
    case Mouth::Narrow: raster.Ellipse(c + Point{ 0, w * 0.1 }, w * 0.16, w * 0.17, kMouthInk); break;
    case Mouth::Oh: raster.Ellipse(c + Point{ 0, w * 0.18 }, w * 0.25, w * 0.36, kMouthInk); break;
    }
}

void DrawBlush(Raster& raster, Point centre, double rx)
{
    raster.Fill(Path::Ellipse(centre, rx, rx * 0.55), kBlushInk);
}

void DrawTear(Raster& raster, Point eye, double amount)
{
    if (amount <= 0)
        return;
    raster.Shape(TearDrop(eye + Point{ 0, 3 + amount * 5 }, 1.5 + amount * 0.6), kTearInk);
}

void DrawSweat(Raster& raster, Point at)
{
    raster.Shape(TearDrop(at, 2.2), kTearInk);
    raster.Dot(at + Point{ -0.6, 2.6 }, 0.7, kWhiteInk);
}
