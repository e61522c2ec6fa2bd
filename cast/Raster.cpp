#include "cast/Raster.h"
#include <algorithm>
#include <cmath>

namespace {

// The xs where a * x + b lies within [low, high], narrowed into [from, to].
void Narrow(double a, double b, double low, double high, double& from, double& to)
{
    if (a == 0) {
        if (b < low || b > high)
            to = from - 1;
        return;
    }
    double x1 = (low - b) / a, x2 = (high - b) / a;
    if (x1 > x2)
        std::swap(x1, x2);
    from = std::max(from, x1);
    to = std::min(to, x2);
}

} // namespace

Raster::Raster(int width, int height, double outlineWidth)
    : width_(width), height_(height), columns_(width * kSamples), rows_(height * kSamples),
      outline_(outlineWidth), samples_(size_t(columns_) * rows_, kClearInk)
{
}

void Raster::Pop()
{
    if (saved_.empty())
        return;
    transform_ = saved_.back();
    saved_.pop_back();
}

std::vector<Point> Raster::ToSamples(const Path& path) const
{
    std::vector<Point> points;
    points.reserve(path.Points().size());
    for (Point p : path.Points())
        points.push_back(transform_.Apply(p) * kSamples);
    return points;
}

void Raster::Span(int row, double from, double to, Ink ink)
{
    // Samples whose centres lie within [from, to).
    const int first = std::max(0, int(std::ceil(from - 0.5)));
    const int end = std::min(columns_, int(std::ceil(to - 0.5)));
    if (row < 0 || row >= rows_ || first >= end)
        return;
    std::fill_n(samples_.begin() + ptrdiff_t(row) * columns_ + first, end - first, ink);
}

void Raster::Fill(const Path& shape, Ink ink)
{
    const std::vector<Point> points = ToSamples(shape);
    if (points.size() < 3)
        return;
    double top = points[0].y, bottom = points[0].y;
    for (Point p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    const int firstRow = std::max(0, int(std::floor(top)));
    const int endRow = std::min(rows_, int(std::ceil(bottom)) + 1);
    std::vector<std::pair<double, int>> crossings;
    for (int row = firstRow; row < endRow; ++row) {
        const double y = row + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const Point p = points[i], q = points[(i + 1) % points.size()];
            const int direction = p.y <= y && q.y > y ? 1 : q.y <= y && p.y > y ? -1 : 0;
            if (direction != 0)
                crossings.emplace_back(p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y), direction);
        }
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        double start = 0;
        for (const auto& crossing : crossings) {
            const int before = winding;
            winding += crossing.second;
            if (before == 0 && winding != 0)
                start = crossing.first;
            else if (before != 0 && winding == 0)
                Span(row, start, crossing.first, ink);
        }
    }
}

void Raster::Capsule(Point a, Point b, double radius, Ink ink)
{
    const Point along = b - a;
    const double length = Length(along);
    const Point u = length > 0 ? along * (1 / length) : Point{ 1, 0 };
    const int firstRow = std::max(0, int(std::floor(std::min(a.y, b.y) - radius)));
    const int endRow = std::min(rows_, int(std::ceil(std::max(a.y, b.y) + radius)) + 1);
    for (int row = firstRow; row < endRow; ++row) {
        const double y = row + 0.5;
        // The capsule is convex, so its row is one span: the union of what the two
        // end discs and the band between them cover.
        double from = 1e300, to = -1e300;
        for (Point end : { a, b }) {
            const double dy = y - end.y;
            if (std::fabs(dy) <= radius) {
                const double half = std::sqrt(radius * radius - dy * dy);
                from = std::min(from, end.x - half);
                to = std::max(to, end.x + half);
            }
        }
        double bandFrom = -1e300, bandTo = 1e300;
        Narrow(u.x, (y - a.y) * u.y - a.x * u.x, 0, length, bandFrom, bandTo);
        Narrow(u.y, -(y - a.y) * u.x - a.x * u.y, -radius, radius, bandFrom, bandTo);
        if (bandFrom <= bandTo) {
            from = std::min(from, bandFrom);
            to = std::max(to, bandTo);
        }
        if (from <= to)
            Span(row, from, to, ink);
    }
}

void Raster::Stroke(const Path& line, double width, Ink ink, bool closed)
{
    const std::vector<Point> points = ToSamples(line);
    if (points.empty())
        return;
    const double radius = width * transform_.Scale() * kSamples / 2;
    if (points.size() == 1)
        Capsule(points[0], points[0], radius, ink);
    for (size_t i = 0; i + 1 < points.size(); ++i)
        Capsule(points[i], points[i + 1], radius, ink);
    if (closed && points.size() > 2)
        Capsule(points.back(), points.front(), radius, ink);
}

void Raster::Shape(const Path& shape, Ink ink)
{
    Stroke(shape, 2 * outline_, kOutlineInk, true);
    Fill(shape, ink);
}

void Raster::Line(const Path& line, double width, Ink ink)
{
    Stroke(line, width + 2 * outline_, kOutlineInk);
    Stroke(line, width, ink);
}

std::vector<uint8_t> Raster::Resolve(const InkPalette& palette) const
{
    const int total = kSamples * kSamples;
    std::vector<uint8_t> pixels(size_t(width_) * height_, 0);
    int counts[256];
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            std::fill(std::begin(counts), std::end(counts), 0);
            for (int sy = 0; sy < kSamples; ++sy) {
                const Ink* row = &samples_[size_t(y * kSamples + sy) * columns_ + size_t(x) * kSamples];
                for (int sx = 0; sx < kSamples; ++sx)
                    ++counts[row[sx]];
            }
            if (counts[kClearInk] * 2 > total)
                continue;
            const int outline = counts[kOutlineInk];
            const int fill = total - counts[kClearInk] - outline;
            Ink best = kOutlineInk;
            for (size_t ink = 2; ink < palette.InkCount(); ++ink)
                if (counts[ink] > (best == kOutlineInk ? 0 : counts[best]))
                    best = Ink(ink);
            const int steps = fill == 0 ? InkPalette::kOutlineSteps
                                        : (2 * outline * InkPalette::kOutlineSteps + fill + outline) / (2 * (fill + outline));
            pixels[size_t(y) * width_ + x] = palette.Index(best, steps);
        }
    }
    return pixels;
}
