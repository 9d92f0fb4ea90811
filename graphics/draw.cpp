// SPDX-License-Identifier: Zlib
// The drawing operations of the device: every one writes its vertices in
// place into the batch through Begin's rule, positions through the matrix,
// colour from packedColor. Untextured ones leave texture coordinates alone.
#include <cmath>

#include "graphics/renderer.h"

void gxtkGraphics::PutQuad(KrVertex* v, float x0, float y0, float x1, float y1) const {
    Put(v, x0, y0);
    Put(v + 1, x1, y0);
    Put(v + 2, x1, y1);
    Put(v + 3, x0, y1);
}

void gxtkGraphics::PutQuadUV(KrVertex* v, float u0, float v0, float u1, float v1) const {
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = u0, v[3].v = v1;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Put(Begin(kPoints, 1, nullptr), x, y);
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    KrVertex* v = Begin(kLines, 2, nullptr);
    Put(v, x1, y1);
    Put(v + 1, x2, y2);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    PutQuad(Begin(kQuads, 4, nullptr), x, y, x + w, y + h);
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* s, float x, float y) {
    float w = static_cast<float>(s->Width()), h = static_cast<float>(s->Height());
    KrVertex* v = BeginImage(4, s, 0, 0, s->Width(), s->Height());
    PutQuad(v, x, y, x + w, y + h);
    PutQuadUV(v, 0, 0, w * s->uScale, h * s->vScale);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* s, float x, float y, int srcX, int srcY, int srcW,
                               int srcH) {
    KrVertex* v = BeginImage(4, s, srcX, srcY, srcW, srcH);
    PutQuad(v, x, y, x + srcW, y + srcH);
    PutQuadUV(v, srcX * s->uScale, srcY * s->vScale, (srcX + srcW) * s->uScale,
              (srcY + srcH) * s->vScale);
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
    int n = xy.Length() / 2;
    if (n < 1 || n > kMaxVertices) return 0;
    KrVertex* v = Begin(n, n, nullptr);
    const float* p = xy.Data();
    for (int i = 0; i < n; ++i) Put(v + i, p[2 * i], p[2 * i + 1]);
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* s, int srcX, int srcY) {
    int n = xyuv.Length() / 4;
    if (n < 1 || n > kMaxVertices) return 0;
    KrVertex* v = Begin(n, n, s);
    const float* p = xyuv.Data();
    for (int i = 0; i < n; ++i, p += 4) {
        Put(v + i, p[0], p[1]);
        v[i].u = (p[2] + srcX) * s->uScale;
        v[i].v = (p[3] + srcY) * s->vScale;
    }
    return 0;
}

// Segments of an ellipse with half-axes rx, ry: the sum of the lengths of
// the two half-axes as drawn, at least 12, at most 1024, otherwise a multiple
// of 4. Kept in float until clamped, so that huge or NaN sizes stay defined.
int gxtkGraphics::OvalSegments(float rx, float ry) const {
    float length;
    if (transformed) {
        const float* m = matrix;
        length = std::sqrt((rx * m[0]) * (rx * m[0]) + (rx * m[1]) * (rx * m[1])) +
                 std::sqrt((ry * m[2]) * (ry * m[2]) + (ry * m[3]) * (ry * m[3]));
    } else {
        length = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
    }
    if (!(length >= 12)) return 12;
    if (length > static_cast<float>(kMaxVertices)) return kMaxVertices;
    return static_cast<int>(length) & ~3;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w * 0.5f, ry = h * 0.5f;
    int segments = OvalSegments(rx, ry);
    float cx = x + rx, cy = y + ry;
    KrVertex* v = Begin(segments, segments, nullptr);
    for (int i = 0; i < segments; ++i) {
        float theta = (6.2831855f * i) / segments;
        Put(v + i, cx + rx * std::cos(theta), cy - ry * std::sin(theta));
    }
    return 0;
}
