#pragma once
#include "cast/Geometry.h"
#include "cast/InkPalette.h"
#include "cast/Path.h"
#include <cstdint>
#include <vector>

// Draws shapes in inks onto a grid finer than the frame's pixels, then resolves each
// pixel from its samples: mostly clear stays clear, and a pixel shared by an outline and
// a fill takes the blend of the two that the palette holds, so that inner edges look
// smooth while the edge against the transparent colour stays crisp. Drawing goes through
// a transform that Push and Pop save and restore. Outlines are drawn outside the shapes,
// in the outline ink, at a width that scales with the transform.
class Raster {
public:
    // Samples per pixel along each side.
    static const int kSamples = 4;

    Raster(int width, int height, double outlineWidth);

    int Width() const { return width_; }
    int Height() const { return height_; }

    void Push() { saved_.push_back(transform_); }
    void Pop();
    void Translate(double x, double y) { Apply(Transform::Translation(x, y)); }
    void Rotate(double degrees) { Apply(Transform::Rotation(degrees)); }
    void Scale(double x, double y) { Apply(Transform::Scaling(x, y)); }
    // Where a point of the current drawing lands in the frame.
    Point Map(Point p) const { return transform_.Apply(p); }
    double MapLength(double length) const { return length * transform_.Scale(); }

    // Without outline: the inside of a closed outline (nonzero rule), and a line of the
    // given width with round ends and joins.
    void Fill(const Path& shape, Ink ink);
    void Stroke(const Path& line, double width, Ink ink, bool closed = false);
    // With outline.
    void Shape(const Path& shape, Ink ink);
    void Line(const Path& line, double width, Ink ink);
    void Ellipse(Point centre, double rx, double ry, Ink ink) { Shape(Path::Ellipse(centre, rx, ry), ink); }
    void Dot(Point centre, double r, Ink ink) { Fill(Path::Ellipse(centre, r, r), ink); }

    // The frame's pixels as palette indices, top row first, `Width()` to a row.
    std::vector<uint8_t> Resolve(const InkPalette& palette) const;

private:
    void Apply(const Transform& inner) { transform_ = transform_.After(inner); }
    // Points of the current drawing in sample units.
    std::vector<Point> ToSamples(const Path& path) const;
    void Capsule(Point a, Point b, double radius, Ink ink);
    void Span(int row, double from, double to, Ink ink);

    int width_;
    int height_;
    int columns_;  // samples
    int rows_;
    double outline_;
    std::vector<Ink> samples_;
    Transform transform_;
    std::vector<Transform> saved_;
};
