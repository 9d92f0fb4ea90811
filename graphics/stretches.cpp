// SPDX-License-Identifier: Zlib
// A batch drawn in stretches. Its draws may change between opaque and
// translucent (the ground and a light beam, the cells of a logo); a large
// opaque stretch then reaches OpenGL without blending in a draw call of its
// own, and the rest is blended as before. The vertices and their order are
// the batch's, so the pixels are the same as one blended draw's: blending
// an opaque source keeps nothing of what lay under it.
#include <cmath>

#include "graphics/renderer.h"

namespace {

// An opaque stretch covering fewer window pixels is blended with its
// neighbours: a draw call of its own would cost more than blending saves.
constexpr double kUnblendedFromPixels = 64 * 64;

double PolygonPixels(const KrVertex* v, int n) {
    double twice = 0;
    for (int i = 0; i < n; ++i) {
        const KrVertex& a = v[i];
        const KrVertex& b = v[(i + 1) % n];
        twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return std::fabs(twice) / 2;
}

}  // namespace

// The window pixels the shapes of `count` vertices from `first` cover, in
// as far as the window holds them; points and lines count as none.
double gxtkGraphics::StretchPixels(int first, int count) const {
    if (batchPrimitive < kTriangles) return 0;
    const int n = batchPrimitive == kTriangles ? 3 : batchPrimitive;
    double pixels = 0;
    for (int at = first; at + n <= first + count; at += n) pixels += PolygonPixels(vertexBuffer + at, n);
    return pixels;
}

// A batch of one stretch is drawn as one call, unblended when opaque.
// Otherwise neighbouring stretches that are drawn alike go in one call.
void gxtkGraphics::DrawStretches() {
    int runFirst = 0;
    bool runBlended = true;
    for (int i = 0; i < stretchCount; ++i) {
        const int first = stretches[i].first;
        const int end = i + 1 < stretchCount ? stretches[i + 1].first : batchCount;
        const bool blended = !stretches[i].opaque ||
                             (stretchCount > 1 && StretchPixels(first, end - first) < kUnblendedFromPixels);
        if (i > 0 && blended != runBlended) {
            DrawVertices(runFirst, first - runFirst, runBlended);
            runFirst = first;
        }
        runBlended = blended;
    }
    DrawVertices(runFirst, batchCount - runFirst, runBlended);
}
