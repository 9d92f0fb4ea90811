// SPDX-License-Identifier: Zlib
#include "painter.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

float Band(float t, int bands) {
    t = std::clamp(t, 0.0f, 1.0f);
    if (bands > 1) t = std::min(std::floor(t * bands), bands - 1.0f) / (bands - 1.0f);
    return t;
}

}  // namespace

Paint Solid(Color c) {
    return [c](V2) { return c; };
}

Paint Linear(V2 p0, Color c0, V2 p1, Color c1, int bands) {
    V2 axis = p1 - p0;
    float len2 = Dot(axis, axis);
    return [=](V2 p) { return Mix(c0, c1, Band(Dot(p - p0, axis) / len2, bands)); };
}

Paint Radial(V2 centre, float radius, Color inner, Color outer, int bands) {
    return [=](V2 p) { return Mix(inner, outer, Band(Length(p - centre) / radius, bands)); };
}

Painter::Painter(Canvas& canvas, int x, int y, int w, int h, float scale)
    : canvas_(canvas), x_(x), y_(y), w_(w), h_(h), scale_(scale) {
    stack_.push_back(Affine{scale, 0, 0, scale, static_cast<float>(x), static_cast<float>(y)});
}

void Painter::Push(const Affine& m) { stack_.push_back(stack_.back().Then(m)); }

void Painter::Pop() {
    if (stack_.size() > 1) stack_.pop_back();
}

void Painter::Fill(const Shape& shape, const Paint& paint, float opacity, float feather) {
    const Affine& toPixels = stack_.back();
    Affine toBase = toPixels.Inverse();
    float k = toPixels.Scale();
    float ramp = std::max(1.0f, feather * k);
    Box b = Grow(TransformBox(toPixels, shape.bounds), ramp + 1.0f);
    int px0 = std::max(x_, static_cast<int>(std::floor(b.x0)));
    int py0 = std::max(y_, static_cast<int>(std::floor(b.y0)));
    int px1 = std::min(x_ + w_, static_cast<int>(std::ceil(b.x1)));
    int py1 = std::min(y_ + h_, static_cast<int>(std::ceil(b.y1)));
    // Work in blocks: one distance at a block's centre tells whether the whole
    // block is clear of the edge (distances change at most about one pixel per
    // pixel; the margin is doubled for the estimated and sheared distances).
    constexpr int kBlock = 8;
    const float clearance = 2.0f * (kBlock * 0.7072f + ramp * 0.5f + 0.5f);
    for (int by = py0; by < py1; by += kBlock) {
        for (int bx = px0; bx < px1; bx += kBlock) {
            int ex = std::min(bx + kBlock, px1), ey = std::min(by + kBlock, py1);
            V2 mid = toBase.Apply(V2{(bx + ex) * 0.5f, (by + ey) * 0.5f});
            float dm = shape.distance(mid) * k;
            if (dm > clearance) continue;
            bool inside = dm < -clearance;
            for (int py = by; py < ey; ++py) {
                for (int px = bx; px < ex; ++px) {
                    V2 q = toBase.Apply(V2{px + 0.5f, py + 0.5f});
                    float cover = inside ? 1.0f : std::clamp(0.5f - shape.distance(q) * k / ramp, 0.0f, 1.0f);
                    if (cover > 0.0f) canvas_.Blend(px, py, paint(q), cover * opacity);
                }
            }
        }
    }
}

void Painter::Fill(const Shape& shape, Color c, float opacity, float feather) {
    Fill(shape, Solid(c), opacity, feather);
}

void Painter::Outlined(const Shape& shape, const Paint& fill, float rim, Color rimColor) {
    Fill(Offset(shape, rim), rimColor);
    Fill(shape, fill);
}

void Painter::Outlined(const Shape& shape, Color fill, float rim, Color rimColor) {
    Outlined(shape, Solid(fill), rim, rimColor);
}

}  // namespace assetgen
