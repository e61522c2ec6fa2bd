#pragma once
#include <cmath>

// Plane geometry for the cast's drawings: frame pixels, y pointing down.

struct Point {
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b) { return { a.x + b.x, a.y + b.y }; }
inline Point operator-(Point a, Point b) { return { a.x - b.x, a.y - b.y }; }
inline Point operator*(Point a, double k) { return { a.x * k, a.y * k }; }

inline double Length(Point a) { return std::sqrt(a.x * a.x + a.y * a.y); }

inline double Radians(double degrees) { return degrees * 3.14159265358979323846 / 180.0; }

// The unit vector `degrees` round from straight down, towards the right (screen x).
inline Point Direction(double degrees)
{
    return { std::sin(Radians(degrees)), std::cos(Radians(degrees)) };
}

// The same, turned towards the left of the screen for side -1 and the right for side 1.
inline Point SideDirection(double degrees, int side)
{
    Point d = Direction(degrees);
    d.x *= side;
    return d;
}

// A quarter turn clockwise on the screen.
inline Point Perpendicular(Point d) { return { -d.y, d.x }; }

inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline Point Mix(Point a, Point b, double t) { return { Mix(a.x, b.x, t), Mix(a.y, b.y, t) }; }

// An affine map: x' = a x + c y + e, y' = b x + d y + f.
struct Transform {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Point Apply(Point p) const { return { a * p.x + c * p.y + e, b * p.x + d * p.y + f }; }
    // This map after `inner`: points go through `inner` first.
    Transform After(const Transform& inner) const
    {
        return { a * inner.a + c * inner.b, b * inner.a + d * inner.b,
                 a * inner.c + c * inner.d, b * inner.c + d * inner.d,
                 a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f };
    }
    // How much lengths grow, on average over directions.
    double Scale() const { return std::sqrt(std::fabs(a * d - b * c)); }

    static Transform Translation(double x, double y) { return { 1, 0, 0, 1, x, y }; }
    static Transform Scaling(double x, double y) { return { x, 0, 0, y, 0, 0 }; }
    // Clockwise on the screen for positive degrees.
    static Transform Rotation(double degrees)
    {
        const double s = std::sin(Radians(degrees)), k = std::cos(Radians(degrees));
        return { k, s, -s, k, 0, 0 };
    }
};
