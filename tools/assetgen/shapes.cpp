// SPDX-License-Identifier: Zlib
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float SegmentDistance(V2 p, V2 a, V2 b) {
    V2 ab = b - a, ap = p - a;
    float len2 = Dot(ab, ab);
    float t = len2 > 0 ? std::clamp(Dot(ap, ab) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(ap - ab * t);
}

Box PointsBox(const std::vector<V2>& pts) {
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (V2 p : pts) b = Unite(b, Box{p.x, p.y, p.x, p.y});
    return b;
}

}  // namespace

Shape Circle(V2 c, float r) {
    return {[c, r](V2 p) { return Length(p - c) - r; }, {c.x - r, c.y - r, c.x + r, c.y + r}};
}

Shape Ellipse(V2 c, float rx, float ry) {
    // First-order distance estimate: exact on the axes, close elsewhere.
    return {[c, rx, ry](V2 p) {
                V2 q = p - c;
                float k0 = Length(V2{q.x / rx, q.y / ry});
                float k1 = Length(V2{q.x / (rx * rx), q.y / (ry * ry)});
                if (k1 <= 0.0f) return -std::min(rx, ry);
                return k0 * (k0 - 1.0f) / k1;
            },
            {c.x - rx, c.y - ry, c.x + rx, c.y + ry}};
}

Shape Capsule(V2 a, V2 b, float r) {
    return {[a, b, r](V2 p) { return SegmentDistance(p, a, b) - r; }, Grow(PointsBox({a, b}), r)};
}

Shape Stroke(const std::vector<V2>& pts, float r) {
    return {[pts, r](V2 p) {
                float d = Length(p - pts[0]);
                for (size_t i = 1; i < pts.size(); ++i)
                    d = std::min(d, SegmentDistance(p, pts[i - 1], pts[i]));
                return d - r;
            },
            Grow(PointsBox(pts), r)};
}

Shape RoundRect(float x0, float y0, float x1, float y1, float radius) {
    V2 c{(x0 + x1) * 0.5f, (y0 + y1) * 0.5f};
    V2 half{(x1 - x0) * 0.5f - radius, (y1 - y0) * 0.5f - radius};
    return {[c, half, radius](V2 p) {
                V2 q{std::fabs(p.x - c.x) - half.x, std::fabs(p.y - c.y) - half.y};
                V2 outside{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
                return Length(outside) + std::min(std::max(q.x, q.y), 0.0f) - radius;
            },
            {x0, y0, x1, y1}};
}

Shape Polygon(const std::vector<V2>& v) {
    return {[v](V2 p) {
                float d = Dot(p - v[0], p - v[0]);
                float sign = 1.0f;
                for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
                    V2 e = v[j] - v[i], w = p - v[i];
                    V2 b = w - e * std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
                    d = std::min(d, Dot(b, b));
                    bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
                }
                return sign * std::sqrt(d);
            },
            PointsBox(v)};
}

Shape RegularPolygon(V2 c, int sides, float r, float rotationDeg) {
    std::vector<V2> pts;
    for (int i = 0; i < sides; ++i) pts.push_back(Polar(c, r, rotationDeg + 360.0f * i / sides));
    return Polygon(pts);
}

Shape Star(V2 c, int points, float outer, float inner, float rotationDeg) {
    std::vector<V2> pts;
    for (int i = 0; i < points * 2; ++i)
        pts.push_back(Polar(c, i % 2 ? inner : outer, rotationDeg + 180.0f * i / points));
    return Polygon(pts);
}

Shape Ring(V2 c, float r, float half) {
    return {[c, r, half](V2 p) { return std::fabs(Length(p - c) - r) - half; },
            Grow(Box{c.x - r, c.y - r, c.x + r, c.y + r}, half)};
}

Shape Arc(V2 c, float r, float fromDeg, float toDeg, float half) {
    V2 a = Polar(c, r, fromDeg), b = Polar(c, r, toDeg);
    float span = toDeg - fromDeg;
    return {[=](V2 p) {
                V2 q = p - c;
                float ang = std::atan2(q.y, q.x) * 180.0f / kPi - fromDeg;
                ang = std::fmod(ang, 360.0f);
                if (ang < 0) ang += 360.0f;
                if (ang <= span) return std::fabs(Length(q) - r) - half;
                return std::min(Length(p - a), Length(p - b)) - half;
            },
            Grow(Box{c.x - r, c.y - r, c.x + r, c.y + r}, half)};
}

Shape Union(const Shape& a, const Shape& b) {
    return {[da = a.distance, db = b.distance](V2 p) { return std::min(da(p), db(p)); },
            Unite(a.bounds, b.bounds)};
}

Shape Union(const std::vector<Shape>& shapes) {
    Box bounds = shapes[0].bounds;
    for (const Shape& s : shapes) bounds = Unite(bounds, s.bounds);
    return {[shapes](V2 p) {
                float d = shapes[0].distance(p);
                for (size_t i = 1; i < shapes.size(); ++i) d = std::min(d, shapes[i].distance(p));
                return d;
            },
            bounds};
}

Shape Subtract(const Shape& a, const Shape& cut) {
    return {[da = a.distance, dc = cut.distance](V2 p) { return std::max(da(p), -dc(p)); }, a.bounds};
}

Shape Intersect(const Shape& a, const Shape& b) {
    Box bounds{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
               std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
    return {[da = a.distance, db = b.distance](V2 p) { return std::max(da(p), db(p)); }, bounds};
}

Shape Offset(const Shape& s, float amount) {
    return {[d = s.distance, amount](V2 p) { return d(p) - amount; }, Grow(s.bounds, std::max(amount, 0.0f))};
}

Shape Transformed(const Shape& s, const Affine& m) {
    Affine inv = m.Inverse();
    float k = m.Scale();
    return {[d = s.distance, inv, k](V2 p) { return d(inv.Apply(p)) * k; }, TransformBox(m, s.bounds)};
}

Shape Translated(const Shape& s, V2 by) { return Transformed(s, Affine::Translate(by)); }

Shape Rotated(const Shape& s, V2 pivot, float degrees) {
    return Transformed(s, Affine::RotateAbout(pivot, degrees));
}

}  // namespace assetgen
