// Device state, frames and the batch: construction, BeginRender/EndRender,
// Begin/Flush, colour, blend, scissor, matrix, clearing and pixel transfer.
#include "graphics/renderer.h"

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

KrVertex* gxtkGraphics::Begin(int primitive, int count, gxtkSurface* surface) {
    // Texture coordinates are written with the surface's scales, which are
    // known only once its texture exists in this context. The batch's own
    // surface can lose its texture too (new pixels, Discard), so this is
    // checked on every textured draw, not only when a batch starts.
    if (surface && !surface->HasTexture()) surface->Bind();
    if (primitive == batchPrimitive && surface == batchSurface &&
        batchCount + count <= kMaxVertices) {
        KrVertex* start = vertexBuffer + batchCount;
        batchCount += count;
        return start;
    }
    if (batchCount > 0) Flush();
    batchPrimitive = primitive;
    gc_assign(batchSurface, surface);
    batchCount = count;
    return vertexBuffer;
}

// Every polygon of a polygon batch has batchPrimitive vertices.
void gxtkGraphics::DrawPolygons() {
    int n = batchPrimitive, polygons = 0;
    for (int first = 0; first < batchCount; first += n, ++polygons) {
        polygonFirst[polygons] = first;
        polygonCount[polygons] = n;
    }
    kr_gl.MultiDrawArrays(GL_TRIANGLE_FAN, polygonFirst, polygonCount, polygons);
}

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    if (!HasContext()) {
        batchCount = 0;
        return;
    }
    if (batchSurface) {
        batchSurface->Bind();
        // Without a texture OpenGL would fill the shapes with the vertex
        // colour: a surface larger than the graphics card takes draws nothing.
        if (!batchSurface->TextureUsable()) {
            batchCount = 0;
            return;
        }
        glEnable(GL_TEXTURE_2D);
    }
    static const GLenum kModes[3] = {GL_POINTS, GL_LINES, GL_TRIANGLES};
    if (batchPrimitive == kQuads) {
        kr_gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
    } else if (batchPrimitive >= 5) {
        DrawPolygons();
    } else {
        kr_gl.DrawArrays(kModes[batchPrimitive - 1], 0, batchCount);
    }
    if (batchSurface) glDisable(GL_TEXTURE_2D);
    batchCount = 0;
}

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    if (!HasContext()) return 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
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
    if (!HasContext()) return 0;
    glBlendFunc(GL_ONE, mode == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (!HasContext()) return 0;
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
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
