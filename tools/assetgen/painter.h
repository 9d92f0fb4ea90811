// SPDX-License-Identifier: Zlib
// Rasterises shapes onto one frame of a canvas. Art is described in base
// pixels (the 1x frame size); the painter maps it to the frame's pixels at
// the level being drawn, so each level is rasterised afresh at its own size.
#pragma once

#include <functional>
#include <vector>

#include "canvas.h"
#include "shapes.h"

namespace assetgen {

// Colour of a fill at a point given in the shape's own coordinates.
using Paint = std::function<Color(V2)>;

Paint Solid(Color c);
// Gradient along p0 -> p1. With bands > 1 the colours step in flat bands,
// which keeps the flat pixel-art look.
Paint Linear(V2 p0, Color c0, V2 p1, Color c1, int bands = 0);
Paint Radial(V2 centre, float radius, Color inner, Color outer, int bands = 0);

class Painter {
public:
    // Frame with its top-left pixel at (x, y), `w` by `h` pixels, `scale`
    // pixels per base pixel. Drawing never leaves the frame.
    Painter(Canvas& canvas, int x, int y, int w, int h, float scale);

    float Scale() const { return scale_; }

    // Composites the shape; `feather` widens the soft edge (base pixels).
    void Fill(const Shape& shape, const Paint& paint, float opacity = 1.0f, float feather = 0.0f);
    void Fill(const Shape& shape, Color c, float opacity = 1.0f, float feather = 0.0f);
    // The house style: a dark rim `rim` base pixels wide, then the fill.
    void Outlined(const Shape& shape, const Paint& fill, float rim = 1.0f, Color rimColor = ink::kOutline);
    void Outlined(const Shape& shape, Color fill, float rim = 1.0f, Color rimColor = ink::kOutline);

    // Later shapes are drawn through `m` (composed with earlier pushes).
    void Push(const Affine& m);
    void Pop();

private:
    Canvas& canvas_;
    int x_, y_, w_, h_;
    float scale_;
    std::vector<Affine> stack_;  // base pixels -> frame pixels
};

}  // namespace assetgen
