// SPDX-License-Identifier: Zlib
// Small 2D vector and affine-transform types used by every drawing routine.
#pragma once

#include <algorithm>
#include <cmath>

namespace assetgen {

constexpr float kPi = 3.14159265358979f;

inline float Radians(float degrees) { return degrees * kPi / 180.0f; }

struct V2 {
    float x = 0, y = 0;
};

inline V2 operator+(V2 a, V2 b) { return {a.x + b.x, a.y + b.y}; }
inline V2 operator-(V2 a, V2 b) { return {a.x - b.x, a.y - b.y}; }
inline V2 operator*(V2 a, float k) { return {a.x * k, a.y * k}; }
inline V2 operator*(float k, V2 a) { return {a.x * k, a.y * k}; }
inline float Dot(V2 a, V2 b) { return a.x * b.x + a.y * b.y; }
inline float Cross(V2 a, V2 b) { return a.x * b.y - a.y * b.x; }
inline float Length(V2 a) { return std::sqrt(Dot(a, a)); }
inline V2 Lerp(V2 a, V2 b, float t) { return a + (b - a) * t; }
// The point at `degrees` on a circle, 0 pointing right and 90 pointing down
// (image coordinates grow downward).
inline V2 Polar(V2 centre, float radius, float degrees) {
    float r = Radians(degrees);
    return {centre.x + radius * std::cos(r), centre.y + radius * std::sin(r)};
}

// Axis-aligned box, used as the area a shape can touch.
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

inline Box Unite(Box a, Box b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}
inline Box Grow(Box a, float d) { return {a.x0 - d, a.y0 - d, a.x1 + d, a.y1 + d}; }

// p' = (a·x + c·y + tx, b·x + d·y + ty).
struct Affine {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    V2 Apply(V2 p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    // This transform applied after `inner`.
    Affine Then(const Affine& inner) const {
        return {a * inner.a + c * inner.b,        b * inner.a + d * inner.b,
                a * inner.c + c * inner.d,        b * inner.c + d * inner.d,
                a * inner.tx + c * inner.ty + tx, b * inner.tx + d * inner.ty + ty};
    }
    Affine Inverse() const {
        float det = a * d - b * c;
        Affine r{d / det, -b / det, -c / det, a / det, 0, 0};
        r.tx = -(r.a * tx + r.c * ty);
        r.ty = -(r.b * tx + r.d * ty);
        return r;
    }
    // Average length change, used to turn distances between spaces.
    float Scale() const { return std::sqrt(std::fabs(a * d - b * c)); }

    static Affine Translate(V2 t) { return {1, 0, 0, 1, t.x, t.y}; }
    static Affine Scaling(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine Rotate(float degrees) {
        float r = Radians(degrees), cs = std::cos(r), sn = std::sin(r);
        return {cs, sn, -sn, cs, 0, 0};
    }
    // Rotation by `degrees` (clockwise on screen) around `pivot`.
    static Affine RotateAbout(V2 pivot, float degrees) {
        return Translate(pivot).Then(Rotate(degrees)).Then(Translate(pivot * -1.0f));
    }
};

inline Box TransformBox(const Affine& m, Box b) {
    V2 corners[4] = {{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}};
    Box r{1e9f, 1e9f, -1e9f, -1e9f};
    for (V2 c : corners) {
        V2 p = m.Apply(c);
        r = Unite(r, Box{p.x, p.y, p.x, p.y});
    }
    return r;
}

}  // namespace assetgen
