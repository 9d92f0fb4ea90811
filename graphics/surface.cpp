// SPDX-License-Identifier: Zlib
#include "graphics/surface.h"

#include <algorithm>
#include <cstdlib>

#include "graphics/gl.h"
#include "graphics/gl_calls.h"
#include "graphics/premultiply.h"
#include "host/host.h"

namespace {

int FormatFor(int bytesPerPixel, int current) {
    static const int kFormats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    return bytesPerPixel >= 1 && bytesPerPixel <= 4 ? kFormats[bytesPerPixel - 1] : current;
}

// Smallest power of two not below n; 1 for n <= 1.
int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

// Errors left by earlier calls must not be taken for a failed allocation.
void DrainGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

void AllocateTexture(int format, int w, int h) {
    kr_gl.TexImage2D(GL_TEXTURE_2D, 0, format, w, h, 0, format, GL_UNSIGNED_BYTE, nullptr);
}

}  // namespace

// --- Life and release ---

gxtkSurface::~gxtkSurface() { Release(); }

int gxtkSurface::Discard() {
    Release();
    return 0;
}

// Runs on the context's thread (Discard, the collector's destruction).
void gxtkSurface::Release() {
    DeleteStaleTexture();
    if (HasTexture()) {
        kr_gl.DeleteTextures(1, &textureId);
        contextSeq = -1;
    }
    if (pixels) {
        std::free(pixels);
        pixels = nullptr;
    }
    opaqueCells.clear();
}

bool gxtkSurface::HasTexture() const { return contextSeq == KrGame::CurrentGraphicsContext(); }

void gxtkSurface::GiveUpTexture() {
    if (!HasTexture()) return;
    // At most one is ever waiting: the surface has no texture again until
    // the next Bind, which deletes the waiting one first.
    staleTextureId = textureId;
    staleContextSeq = contextSeq;
    contextSeq = -1;
}

// A texture of an earlier context went away with it and is only forgotten.
void gxtkSurface::DeleteStaleTexture() {
    if (staleTextureId && staleContextSeq == KrGame::CurrentGraphicsContext()) kr_gl.DeleteTextures(1, &staleTextureId);
    staleTextureId = 0;
    staleContextSeq = -1;
}

// --- Pixels and their opacity ---

// Loading into a surface that already holds an image replaces it whole: the
// old copy is freed and the old texture given up, so that the next Bind
// deletes it and uploads the new pixels. No OpenGL call happens here: this
// is the half of a load that may run away from the context's thread.
void gxtkSurface::SetData(unsigned char* data, int w, int h, int bpp) {
    if (data == pixels) pixels = nullptr;  // the same block is adopted, not freed
    GiveUpTexture();
    std::free(pixels);
    pixels = data;
    width = w;
    height = h;
    bytesPerPixel = bpp;
    glFormat = FormatFor(bpp, glFormat);
    std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    opaqueCells.clear();
    if (!pixels || w <= 0 || h <= 0 || bpp < 1 || bpp > 4) return;
    if (bpp == 2) kr_premultiply::GreyAlpha(pixels, count);
    if (bpp == 4) kr_premultiply::Rgba(pixels, count);
    const int columns = (w + kOpacityCell - 1) / kOpacityCell, rows = (h + kOpacityCell - 1) / kOpacityCell;
    opaqueCells.assign(static_cast<std::size_t>(columns) * rows, 0);
    MapOpacity(0, 0, w, h);
}

// Grey and RGB pixels have no alpha: always opaque.
void gxtkSurface::MapOpacity(int x, int y, int w, int h) {
    if (opaqueCells.empty() || w <= 0 || h <= 0) return;
    const int columns = (width + kOpacityCell - 1) / kOpacityCell;
    const int alphaAt = bytesPerPixel == 2 ? 1 : bytesPerPixel == 4 ? 3 : -1;
    for (int cy = y / kOpacityCell; cy <= (y + h - 1) / kOpacityCell; ++cy) {
        for (int cx = x / kOpacityCell; cx <= (x + w - 1) / kOpacityCell; ++cx) {
            bool opaque = true;
            const int x1 = std::min(width, (cx + 1) * kOpacityCell), y1 = std::min(height, (cy + 1) * kOpacityCell);
            for (int py = cy * kOpacityCell; opaque && alphaAt >= 0 && py < y1; ++py) {
                const unsigned char* p = pixels + (static_cast<std::size_t>(py) * width + cx * kOpacityCell) * bytesPerPixel;
                for (int px = cx * kOpacityCell; px < x1; ++px, p += bytesPerPixel) {
                    if (p[alphaAt] != 255) {
                        opaque = false;
                        break;
                    }
                }
            }
            opaqueCells[static_cast<std::size_t>(cy) * columns + cx] = opaque;
        }
    }
}

bool gxtkSurface::Opaque(int x, int y, int w, int h) const {
    if (opaqueCells.empty() || w <= 0 || h <= 0) return false;
    const int x0 = std::max(0, x - 1), y0 = std::max(0, y - 1);
    const int x1 = std::min(width, x + w + 1), y1 = std::min(height, y + h + 1);
    if (x0 >= x1 || y0 >= y1) return false;
    // A sample that strays past the image's edge reads an undefined texel
    // of a padded texture.
    if (paddedTexture && (x + w >= width || y + h >= height)) return false;
    const int columns = (width + kOpacityCell - 1) / kOpacityCell;
    for (int cy = y0 / kOpacityCell; cy <= (y1 - 1) / kOpacityCell; ++cy)
        for (int cx = x0 / kOpacityCell; cx <= (x1 - 1) / kOpacityCell; ++cx)
            if (!opaqueCells[static_cast<std::size_t>(cy) * columns + cx]) return false;
    return true;
}

// --- The texture ---

void gxtkSurface::Bind() {
    if (KrGame::CurrentGraphicsContext() == 0) return;
    if (staleTextureId) DeleteStaleTexture();
    if (HasTexture()) {
        glBindTexture(GL_TEXTURE_2D, textureId);
        return;
    }
    CreateTexture();
}

// Makes the texture in the current context: exact size first, power-of-two
// size when OpenGL refuses that, then uploads the whole pixel copy. When
// both sizes are refused (the image is larger than the graphics card takes)
// the texture stays unallocated and the surface draws nothing; it is not
// tried again until the next context.
void gxtkSurface::CreateTexture() {
    contextSeq = KrGame::CurrentGraphicsContext();
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int texWidth = width, texHeight = height;
    DrainGlErrors();
    AllocateTexture(glFormat, texWidth, texHeight);
    textureAllocated = glGetError() == GL_NO_ERROR;
    if (!textureAllocated) {
        texWidth = PowerOfTwoAtLeast(width);
        texHeight = PowerOfTwoAtLeast(height);
        AllocateTexture(glFormat, texWidth, texHeight);
        textureAllocated = glGetError() == GL_NO_ERROR;
    }
    paddedTexture = texWidth != width || texHeight != height;
    uScale = 1.0f / texWidth;
    vScale = 1.0f / texHeight;
    if (pixels && textureAllocated) UploadRect(0, 0, width, height);
}

// Uploads a rectangle of the pixel copy into the bound texture: in one piece
// when it spans whole rows, row by row otherwise.
void gxtkSurface::UploadRect(int x, int y, int w, int h) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    auto at = [this](int px, int py) {
        return pixels + (static_cast<std::size_t>(py) * width + px) * bytesPerPixel;
    };
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, glFormat, GL_UNSIGNED_BYTE, at(x, y));
        return;
    }
    for (int r = 0; r < h; ++r) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, glFormat, GL_UNSIGNED_BYTE, at(x, y + r));
    }
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch) {
    if (glFormat != GL_RGBA) return;
    if (!pixels) {
        pixels =
            static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(width) * height * 4));
        if (!pixels) return;
    }
    for (int r = 0; r < h; ++r) {
        unsigned char* row = pixels + (static_cast<std::size_t>(y + r) * width + x) * 4;
        for (int c = 0; c < w; ++c) kr_premultiply::Argb(src[r * pitch + c], row + c * 4);
    }
    MapOpacity(x, y, w, h);
    if (!TextureUsable()) return;
    glBindTexture(GL_TEXTURE_2D, textureId);
    UploadRect(x, y, w, h);
}

bool gxtkSurface::OnUnsafeLoadComplete() {
    Bind();
    return true;
}
