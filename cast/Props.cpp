#include "cast/Props.h"
#include <cmath>

Path StarPath(Point centre, double outer, double inner, double turn)
{
    Path star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? inner : outer;
        const double angle = Radians(turn + i * 36 - 90);
        star.To(centre + Point{ r * std::cos(angle), r * std::sin(angle) });
    }
    return star;
}

Point DrawWand(Raster& raster, Point hand, double angle, Ink stick)
{
    const Point d = SideDirection(angle, 1);
    const Point tip = hand + d * 17;
    raster.Line(Path(hand - d * 3).To(tip), 2.6, stick);
    raster.Shape(StarPath(tip + d * 2, 6, 2.6, angle), kGoldInk);
    raster.Dot(tip + d * 2, 1.2, kGoldLightInk);
    return tip + d * 2;
}

Point DrawHeld(Raster& raster, const Pose& pose, Point left, Point right)
{
    switch (pose.held) {
    case Held::Book: {
        const Point c = Mix(left, right, 0.5) + Point{ 0, -8 };
        raster.Shape(Path({ c.x - 19, c.y - 10 }).To({ c.x, c.y - 8 }).To({ c.x + 19, c.y - 10 }).To({ c.x + 19, c.y + 9 })
                         .To({ c.x, c.y + 11 }).To({ c.x - 19, c.y + 9 }),
                     kBookInk);
        for (int side : { -1, 1 }) {
            raster.Shape(Path({ c.x, c.y - 7 }).Curve({ c.x + side * 8, c.y - 11 }, { c.x + side * 17, c.y - 9 })
                             .To({ c.x + side * 17, c.y + 7 }).Curve({ c.x + side * 8, c.y + 5 }, { c.x, c.y + 9 }),
                         kPaperInk);
            for (int line = 0; line < 4; ++line) {
                const double y = c.y - 4 + line * 3.2;
                raster.Stroke(Path({ c.x + side * 3, y }).To({ c.x + side * 14, y - 0.5 }), 0.9, kSteelInk);
            }
        }
        // A page on its way over.
        if (pose.propPhase > 0.05 && pose.propPhase < 0.95) {
            const double x = c.x + 17 * std::cos(Radians(pose.propPhase * 180));
            raster.Shape(Path({ c.x, c.y - 7 }).Curve({ Mix(c.x, x, 0.5), c.y - 14 }, { x, c.y - 10 }).To({ x, c.y + 6 })
                             .Curve({ Mix(c.x, x, 0.5), c.y + 3 }, { c.x, c.y + 9 }),
                         kPaperInk);
        }
        break;
    }
    case Held::Bowl: {
        const Point c = left + Point{ 3, -2 };
        raster.Shape(Path({ c.x - 15, c.y - 5 }).To({ c.x + 15, c.y - 5 }).Curve({ c.x + 14, c.y + 13 }, { c.x, c.y + 13 })
                         .Curve({ c.x - 14, c.y + 13 }, { c.x - 15, c.y - 5 }),
                     kBowlInk);
        raster.Shape(Path::Ellipse({ c.x, c.y - 5 }, 15, 3.5), kBatterInk);
        raster.Stroke(Path({ c.x - 9, c.y + 4 }).To({ c.x + 9, c.y + 4 }), 1.4, kWhiteInk);
        // The whisk goes round in the batter.
        const double angle = Radians(pose.propPhase * 360);
        const Point tip = c + Point{ 6 * std::cos(angle), -6 + 1.5 * std::sin(angle) };
        raster.Line(Path(right + Point{ 3, -8 }).To(tip), 1.8, kSteelInk);
        raster.Shape(Path::Ellipse(tip + Point{ 0, -2 }, 2.4, 3.6), kSteelInk);
        return c;
    }
    case Held::Trumpet: {
        const Point d = SideDirection(115, 1);
        const Point bell = right + d * 24;
        raster.Line(Path(right - d * 5).To(bell), 3.2, kGoldInk);
        raster.Line(Path(right + d * 6).To(right + d * 9 + Point{ 0, 5 }).To(right + d * 14 + Point{ 0, 5 }).To(right + d * 16),
                    2, kGoldInk);
        const Point across = Perpendicular(d);
        raster.Shape(Path(bell - across * 3).To(bell + d * 7 - across * 8).Curve(bell + d * 9, bell + d * 7 + across * 8)
                         .To(bell + across * 3),
                     kGoldInk);
        raster.Shape(Path::Ellipse(bell + d * 7.5, 2.2, 2.2), kGoldLightInk);
        return bell + d * 8;
    }
    case Held::Nothing:
    case Held::Wand:
        break;
    }
    return right;
}
