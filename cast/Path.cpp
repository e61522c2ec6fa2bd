#include "cast/Path.h"
#include <algorithm>
#include <cmath>

namespace {

const int kCurvePieces = 12;
// Arcs are cut into pieces of at most this many degrees.
const double kArcStep = 7.5;

} // namespace

Path& Path::To(Point p)
{
    points_.push_back(p);
    return *this;
}

Path& Path::Curve(Point control, Point end)
{
    const Point start = Last();
    for (int i = 1; i <= kCurvePieces; ++i) {
        const double t = double(i) / kCurvePieces;
        points_.push_back(Mix(Mix(start, control, t), Mix(control, end, t), t));
    }
    return *this;
}

Path& Path::Curve(Point control1, Point control2, Point end)
{
    const Point start = Last();
    for (int i = 1; i <= kCurvePieces; ++i) {
        const double t = double(i) / kCurvePieces;
        const Point a = Mix(start, control1, t), b = Mix(control1, control2, t), c = Mix(control2, end, t);
        points_.push_back(Mix(Mix(a, b, t), Mix(b, c, t), t));
    }
    return *this;
}

Path& Path::Arc(Point centre, double rx, double ry, double from, double to)
{
    const int pieces = std::max(1, int(std::ceil(std::fabs(to - from) / kArcStep)));
    for (int i = 0; i <= pieces; ++i) {
        const double angle = Radians(Mix(from, to, double(i) / pieces));
        points_.push_back({ centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle) });
    }
    return *this;
}

Path Path::Ellipse(Point centre, double rx, double ry)
{
    Path path;
    path.Arc(centre, rx, ry, 0, 360);
    path.points_.pop_back();  // the same as the first
    return path;
}

Path Path::RoundRect(double left, double top, double right, double bottom, double r)
{
    r = std::min({ r, (right - left) / 2, (bottom - top) / 2 });
    Path path;
    path.Arc({ right - r, top + r }, r, r, -90, 0);
    path.Arc({ right - r, bottom - r }, r, r, 0, 90);
    path.Arc({ left + r, bottom - r }, r, r, 90, 180);
    path.Arc({ left + r, top + r }, r, r, 180, 270);
    return path;
}
