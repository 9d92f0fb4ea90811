// SPDX-License-Identifier: Zlib
// Device state, frames and the batch: construction, BeginRender/EndRender,
// Begin/Flush, colour, blend, scissor, matrix, clearing and pixel transfer.
#include "graphics/renderer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/gl.h"
#include "graphics/gl_calls.h"
#include "graphics/frame_capture.h"
#include "host/game.h"

static_assert(sizeof(GLint) == sizeof(int) && sizeof(GLsizei) == sizeof(int),
              "the polygon tables are handed to glMultiDrawArrays as they are");

namespace {

// Until the host opens its first window there is no OpenGL context (a host
// that shows nothing never has one). The device then keeps all of its own
// state (size, colour, matrix, batches) and makes no OpenGL call.
bool HasContext() { return KrGame::CurrentGraphicsContext() > 0; }

}  // namespace

// --- Construction and frames ---

gxtkGraphics::gxtkGraphics() {
    ReadWindowSize();
    // Quad k is split along its first-to-third-vertex diagonal.
    static const int kCorners[6] = {0, 1, 2, 0, 2, 3};
    for (int k = 0; k < kMaxQuads; ++k) {
        for (int i = 0; i < 6; ++i) {
            quadIndices[k * 6 + i] = static_cast<std::uint16_t>(4 * k + kCorners[i]);
        }
    }
}

void gxtkGraphics::mark() { gc_mark_q(batchSurface); }

void gxtkGraphics::ReadWindowSize() {
    width = 0;
    height = 0;
    if (KrGame::_game) KrGame::_game->DeviceSize(&width, &height);
}

int gxtkGraphics::BeginRender() {
    ReadWindowSize();
    // A new frame may follow a new window: its first textured draw must take
    // Begin's slow path, which makes the surface's texture before use.
    batchCount = 0;
    batchPrimitive = 0;
    batchSurface = nullptr;
    if (!HasContext()) return 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(KrVertex), &vertexBuffer[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(KrVertex), &vertexBuffer[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(KrVertex), &vertexBuffer[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    blendEnabled = true;
    blendMode = 0;
    return 1;
}

// A screenshot asked of the host is read from the finished frame before it
// is presented.
void gxtkGraphics::EndRender() {
    Flush();
    KrGame* host = KrGame::_game;
    if (!host) return;
    if (host->CapturePending() && HasContext()) {
        int w = 0, h = 0;
        host->FramebufferSize(&w, &h);
        host->FrameCaptured(w, h, KrReadFrameRgb(w, h));
    }
    host->SwapBuffers();
}

// --- Filling the batch ---

KrVertex* gxtkGraphics::Begin(int primitive, int count, gxtkSurface* surface) {
    return Reserve(primitive, count, surface, nullptr);
}

KrVertex* gxtkGraphics::BeginImage(int count, gxtkSurface* surface, int x, int y, int w, int h) {
    const int region[4] = {x, y, w, h};
    return Reserve(kQuads, count, surface, region);
}

KrVertex* gxtkGraphics::Reserve(int primitive, int count, gxtkSurface* surface, const int* region) {
    // Texture coordinates are written with the surface's scales, which are
    // known only once its texture exists in this context. The batch's own
    // surface can lose its texture too (new pixels, Discard), so this is
    // checked on every textured draw, not only when a batch starts.
    if (surface && !surface->HasTexture()) surface->Bind();
    const bool opaque = DrawOpaque(surface, region);
    if (primitive == batchPrimitive && surface == batchSurface && batchCount > 0 &&
        batchCount + count <= kMaxVertices) {
        NoteStretch(opaque);
        batchWhite = batchWhite && packedColor == 0xFFFFFFFFu;
        KrVertex* start = vertexBuffer + batchCount;
        batchCount += count;
        return start;
    }
    if (batchCount > 0) DrawBatch();
    batchPrimitive = primitive;
    gc_assign(batchSurface, surface);
    batchCount = 0;
    stretchCount = 0;
    batchWhite = packedColor == 0xFFFFFFFFu;
    NoteStretch(opaque);
    batchCount = count;
    return vertexBuffer;
}

// A draw that changes between opaque and translucent starts a stretch of
// the batch; past the last stretch the table has room for, the last one
// counts as translucent.
void gxtkGraphics::NoteStretch(bool opaque) {
    if (stretchCount > 0 && stretches[stretchCount - 1].opaque == opaque) return;
    if (stretchCount == kMaxStretches) {
        stretches[stretchCount - 1].opaque = false;
        return;
    }
    stretches[stretchCount++] = {batchCount, opaque};
}

// Untextured draws need only an opaque colour; textured ones also opaque
// texels wherever they may sample.
bool gxtkGraphics::DrawOpaque(gxtkSurface* surface, const int* region) const {
    if (!opaqueFastPaths || blendMode == 1 || packedColor >> 24 != 255) return false;
    return !surface || (region && surface->Opaque(region[0], region[1], region[2], region[3]));
}

// An axis-aligned quad whose pixel centres include every one of the window.
bool gxtkGraphics::QuadCoversWindow(const KrVertex* v) const {
    const bool axisAligned =
        (v[0].y == v[1].y && v[1].x == v[2].x && v[2].y == v[3].y && v[3].x == v[0].x) ||
        (v[0].x == v[1].x && v[1].y == v[2].y && v[2].x == v[3].x && v[3].y == v[0].y);
    float left = v[0].x, right = v[0].x, top = v[0].y, bottom = v[0].y;
    for (int i = 1; i < 4; ++i) {
        left = std::min(left, v[i].x), right = std::max(right, v[i].x);
        top = std::min(top, v[i].y), bottom = std::max(bottom, v[i].y);
    }
    return axisAligned && left <= 0 && top <= 0 && right >= static_cast<float>(width) &&
           bottom >= static_cast<float>(height);
}

// A batch of one opaque, one-coloured rectangle over the whole window, no
// scissor in force: it waits as a clear in that colour for the next batch.
bool gxtkGraphics::TakeBatchAsClear() {
    const KrVertex* v = vertexBuffer;
    const bool allOpaque = stretchCount == 1 && stretches[0].opaque;
    if (!allOpaque || scissorEnabled || batchSurface || batchPrimitive != kQuads || batchCount != 4 ||
        v[1].color != v[0].color || v[2].color != v[0].color || v[3].color != v[0].color ||
        !QuadCoversWindow(v)) {
        return false;
    }
    clearPending = true;
    clearColor = v[0].color;
    batchCount = 0;
    return true;
}

// --- Drawing the batch ---

// The colour's bytes come back exactly from the clear colour's floats.
void gxtkGraphics::ClearWindow(std::uint32_t color) {
    auto channel = [color](int shift) { return static_cast<float>(color >> shift & 255) / 255.0f; };
    glClearColor(channel(0), channel(8), channel(16), channel(24));
    kr_gl.Clear(GL_COLOR_BUFFER_BIT);
}

void gxtkGraphics::UseBlending(bool on) {
    if (on == blendEnabled) return;
    if (on) glEnable(GL_BLEND);
    else glDisable(GL_BLEND);
    blendEnabled = on;
}

// Every polygon of a polygon batch has batchPrimitive vertices.
void gxtkGraphics::DrawPolygons(int first, int count) {
    int n = batchPrimitive, polygons = 0;
    for (int at = first; at < first + count; at += n, ++polygons) {
        polygonFirst[polygons] = at;
        polygonCount[polygons] = n;
    }
    kr_gl.MultiDrawArrays(GL_TRIANGLE_FAN, polygonFirst, polygonCount, polygons);
}

// Texels as they are (GL_REPLACE), or times the vertex colour. Without the
// colour array the current colour stands in for it: it is made opaque white,
// since a texture without alpha takes its alpha from there, and the current
// colour is undefined after drawing with the array.
void gxtkGraphics::UseTexelsAsTheyAre(bool on) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, on ? GL_REPLACE : GL_MODULATE);
    if (!on) {
        glEnableClientState(GL_COLOR_ARRAY);
        return;
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4f(1, 1, 1, 1);
}

// Draws `count` vertices of the batch from `first`, blended or not.
void gxtkGraphics::DrawVertices(int first, int count, bool blended) {
    UseBlending(blended);
    static const GLenum kModes[3] = {GL_POINTS, GL_LINES, GL_TRIANGLES};
    if (batchPrimitive == kQuads) {
        kr_gl.DrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, quadIndices + first / 4 * 6);
    } else if (batchPrimitive >= 5) {
        DrawPolygons(first, count);
    } else {
        kr_gl.DrawArrays(kModes[batchPrimitive - 1], first, count);
    }
}

// A clear waiting when the frame's work needs the window as drawn so far
// (a read-back, a scissor change, the end of the frame) is made now.
void gxtkGraphics::Flush() {
    DrawBatch();
    if (!clearPending) return;
    clearPending = false;
    ClearWindow(clearColor);
}

// Draws the pending batch, or lets it wait as a clear for the next one.
void gxtkGraphics::DrawBatch() {
    if (batchCount > 0 && !HasContext()) batchCount = 0;
    if (batchCount > 0 && batchSurface) {
        batchSurface->Bind();
        // Without a texture OpenGL would fill the shapes with the vertex
        // colour: a surface larger than the graphics card takes draws nothing.
        if (!batchSurface->TextureUsable()) batchCount = 0;
    }
    if (batchCount > 0 && opaqueFastPaths && TakeBatchAsClear()) return;
    if (clearPending) {
        clearPending = false;
        const bool covered = batchCount > 0 && stretches[0].opaque && batchPrimitive == kQuads &&
                             QuadCoversWindow(vertexBuffer);
        if (!covered) ClearWindow(clearColor);
    }
    if (batchCount == 0) return;
    if (batchSurface) glEnable(GL_TEXTURE_2D);
    const bool replace = batchSurface && batchWhite && opaqueFastPaths;
    if (replace) UseTexelsAsTheyAre(true);
    DrawStretches();
    if (replace) UseTexelsAsTheyAre(false);
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    batchCount = 0;
}

// --- Clearing, colour, blend, scissor and matrix ---

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    // Scissor changes resolve a waiting clear first, so it was made with
    // the same (no) scissor as this one, which covers it.
    clearPending = false;
    if (!HasContext()) return 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    kr_gl.Clear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::RepackColor() {
    packedColor = static_cast<std::uint32_t>(static_cast<int>(red * alpha)) |
                  static_cast<std::uint32_t>(static_cast<int>(green * alpha)) << 8 |
                  static_cast<std::uint32_t>(static_cast<int>(blue * alpha)) << 16 |
                  static_cast<std::uint32_t>(static_cast<int>(255 * alpha)) << 24;
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    RepackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    RepackColor();
    return 0;
}

int gxtkGraphics::SetBlend(int mode) {
    Flush();
    blendMode = mode == 1 ? 1 : 0;
    if (!HasContext()) return 0;
    glBlendFunc(GL_ONE, mode == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (!HasContext()) return 0;
    scissorEnabled = !(x == 0 && y == 0 && w == Width() && h == Height());
    if (!scissorEnabled) {
        glDisable(GL_SCISSOR_TEST);
        return 0;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, Height() - y - h, w, h);
    return 0;
}

int gxtkGraphics::SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    const float values[6] = {a, b, c, d, tx, ty};
    std::memcpy(matrix, values, sizeof matrix);
    // Written as a negated equality so that a NaN counts as transformed.
    transformed = !(a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0);
    return 0;
}

// --- Pixel transfer ---

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    // Without a context there is nothing to read: the array stays as it is.
    if (w <= 0 || h <= 0 || !HasContext()) return 0;
    auto* block = static_cast<std::uint32_t*>(std::malloc(static_cast<std::size_t>(w) * h * 4));
    if (!block) return 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, block);
    // OpenGL's rows run bottom-up; the caller's run top-down.
    for (int r = 0; r < h; ++r) {
        std::memcpy(&pixels[offset + r * pitch], block + static_cast<std::size_t>(h - 1 - r) * w,
                    static_cast<std::size_t>(w) * 4);
    }
    std::free(block);
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    Flush();
    surface->SetSubData(x, y, w, h, reinterpret_cast<const unsigned int*>(&pixels[offset]), pitch);
    return 0;
}
