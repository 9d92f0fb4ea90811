// SPDX-License-Identifier: Zlib
#include "glyph_shapes.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

struct Segment {
    V2 a, b;
};

float SegmentDistance(V2 p, const Segment& s) {
    V2 ab = s.b - s.a, ap = p - s.a;
    float len2 = Dot(ab, ab);
    float t = len2 > 0 ? std::clamp(Dot(ap, ab) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(ap - ab * t);
}

// Every ink cell is a dot; orthogonal neighbours are joined, and diagonal
// neighbours too unless an orthogonal path already links them (which would
// thicken the corner into a blob).
std::vector<Segment> GlyphSegments(const GlyphBitmap& g, V2 topLeft, float pixel) {
    std::vector<Segment> segs;
    auto centre = [&](int c, int r) {
        return V2{topLeft.x + (c + 0.5f) * pixel, topLeft.y + (r + 0.5f) * pixel};
    };
    for (int r = 0; r < kGlyphRows; ++r) {
        for (int c = 0; c < g.width; ++c) {
            if (!g.Ink(c, r)) continue;
            V2 p = centre(c, r);
            segs.push_back({p, p});
            if (g.Ink(c + 1, r)) segs.push_back({p, centre(c + 1, r)});
            if (g.Ink(c, r + 1)) segs.push_back({p, centre(c, r + 1)});
            if (g.Ink(c + 1, r + 1) && !g.Ink(c + 1, r) && !g.Ink(c, r + 1))
                segs.push_back({p, centre(c + 1, r + 1)});
            if (g.Ink(c - 1, r + 1) && !g.Ink(c - 1, r) && !g.Ink(c, r + 1))
                segs.push_back({p, centre(c - 1, r + 1)});
        }
    }
    return segs;
}

Box GlyphBox(const GlyphBitmap& g, V2 topLeft, float pixel) {
    return {topLeft.x, topLeft.y, topLeft.x + g.width * pixel, topLeft.y + kGlyphRows * pixel};
}

}  // namespace

Shape GlyphSquares(const GlyphBitmap& g, V2 topLeft, float pixel) {
    std::vector<Box> cells;
    for (int r = 0; r < kGlyphRows; ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.Ink(c, r))
                cells.push_back({topLeft.x + c * pixel, topLeft.y + r * pixel, topLeft.x + (c + 1) * pixel,
                                 topLeft.y + (r + 1) * pixel});
    return {[cells](V2 p) {
                float d = 1e9f;
                for (const Box& b : cells) {
                    float dx = std::max(b.x0 - p.x, p.x - b.x1);
                    float dy = std::max(b.y0 - p.y, p.y - b.y1);
                    float outside = Length(V2{std::max(dx, 0.0f), std::max(dy, 0.0f)});
                    d = std::min(d, outside + std::min(std::max(dx, dy), 0.0f));
                }
                return d;
            },
            GlyphBox(g, topLeft, pixel)};
}

Shape GlyphStrokes(const GlyphBitmap& g, V2 topLeft, float pixel, float radius) {
    std::vector<Segment> segs = GlyphSegments(g, topLeft, pixel);
    float r = radius * pixel;
    return {[segs, r](V2 p) {
                float d = 1e9f;
                for (const Segment& s : segs) d = std::min(d, SegmentDistance(p, s));
                return d - r;
            },
            Grow(GlyphBox(g, topLeft, pixel), r)};
}

float TextWidthCells(const std::string& text, float gapCells) {
    float w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        w += Glyph(static_cast<unsigned char>(text[i])).width;
        if (i + 1 < text.size()) w += gapCells;
    }
    return w;
}

std::vector<Shape> TextStrokes(const std::string& text, V2 topLeft, float pixel, float radius,
                               float gapCells) {
    std::vector<Shape> out;
    float x = 0;
    for (char ch : text) {
        const GlyphBitmap& g = Glyph(static_cast<unsigned char>(ch));
        if (ch != ' ') out.push_back(GlyphStrokes(g, {topLeft.x + x * pixel, topLeft.y}, pixel, radius));
        x += g.width + gapCells;
    }
    return out;
}

int LabelWidth(const std::string& text) {
    int w = 0;
    for (char ch : text) w += Glyph(static_cast<unsigned char>(ch)).width + 1;
    return std::max(0, w - 1);
}

void DrawLabel(Canvas& canvas, int x, int y, const std::string& text, Color c) {
    for (char ch : text) {
        const GlyphBitmap& g = Glyph(static_cast<unsigned char>(ch));
        for (int r = 0; r < kGlyphRows; ++r)
            for (int col = 0; col < g.width; ++col)
                if (g.Ink(col, r)) canvas.Blend(x + col, y + r, c, 1.0f);
        x += g.width + 1;
    }
}

}  // namespace assetgen
