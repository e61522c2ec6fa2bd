#pragma once
#include "cast/Geometry.h"
#include <vector>

// A line of points built from straight pieces, curves and arcs, for outlines of shapes
// (closed) and strokes (open). Curves are cut into a fixed number of pieces, so the
// same path always gives the same points.
class Path {
public:
    Path() = default;
    explicit Path(Point start) { points_.push_back(start); }

    Path& To(Point p);
    // A quadratic curve through `control` to `end`.
    Path& Curve(Point control, Point end);
    // A cubic curve.
    Path& Curve(Point control1, Point control2, Point end);
    // An elliptic arc from angle `from` to `to` (degrees; 0 is right, 90 is down).
    Path& Arc(Point centre, double rx, double ry, double from, double to);

    static Path Ellipse(Point centre, double rx, double ry);
    // A rectangle with rounded corners of radius r.
    static Path RoundRect(double left, double top, double right, double bottom, double r);

    const std::vector<Point>& Points() const& { return points_; }
    // From a temporary path, the points themselves, so that they outlive it.
    std::vector<Point> Points() && { return std::move(points_); }

private:
    Point Last() const { return points_.empty() ? Point{} : points_.back(); }
    std::vector<Point> points_;
};
