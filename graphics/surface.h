// SPDX-License-Identifier: Zlib
// gxtkSurface: an image the device draws from. It keeps a CPU copy of its
// pixels (premultiplied by alpha) for its whole life and makes an OpenGL
// texture from it lazily, again whenever the host has opened a new window
// since: a new window brings a new context in which old textures are gone.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/runtime.h"

class gxtkSurface : public Object {
public:
    unsigned char* pixels = nullptr;  // malloc'd, rows top to bottom, no padding
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    int glFormat = 0;     // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB or GL_RGBA
    int contextSeq = -1;  // the host's graphics context when the texture was made; -1: none
    unsigned int textureId = 0;
    float uScale = 0;  // 1 / texture width
    float vScale = 0;  // 1 / texture height
    // False while the texture of this context could not be allocated at
    // either size (larger than the graphics card takes): it draws nothing.
    bool textureAllocated = false;
    // A texture given up by SetData, which may run off the context's thread
    // and so cannot delete it; the next Bind does, if its context is still
    // the current one. 0: none.
    unsigned int staleTextureId = 0;
    int staleContextSeq = -1;
    // Which cells of kOpacityCell x kOpacityCell pixels are wholly opaque
    // (alpha 255), rows of cells from the top; empty when not known (no
    // pixels, or a surface made empty whose pixels are only partly written).
    // The renderer draws opaque areas without blending.
    enum { kOpacityCell = 16 };
    std::vector<std::uint8_t> opaqueCells;
    // The texture is larger than the image (power-of-two sizes): texels
    // beyond the image's right and bottom edges hold nothing defined.
    bool paddedTexture = false;

    gxtkSurface() {}
    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual bool Loaded() { return true; }

    // Adopts `data` (malloc'd) as the pixel copy and premultiplies it.
    void SetData(unsigned char* data, int width, int height, int bytesPerPixel);
    // Writes a rectangle of 0xAARRGGBB pixels into an RGBA surface.
    void SetSubData(int x, int y, int w, int h, const unsigned int* src, int pitch);
    // Binds the texture, making or re-making it first when needed.
    void Bind();
    bool OnUnsafeLoadComplete();
    // True when every pixel of the rectangle and of a one-pixel margin
    // around it (within the image) is opaque: a quad drawn from it, however
    // scaled or turned, then covers what lies under it whole.
    bool Opaque(int x, int y, int w, int h) const;

    bool HasTexture() const;
    // A texture exists in this context and holds the pixels: drawing from
    // the surface shows them.
    bool TextureUsable() const { return HasTexture() && textureAllocated; }

private:
    void CreateTexture();
    void UploadRect(int x, int y, int w, int h);
    // Hands the current texture over for deletion at the next Bind; makes
    // no OpenGL call.
    void GiveUpTexture();
    void DeleteStaleTexture();
    void Release();
    // Recomputes the cells that the pixel rectangle touches.
    void MapOpacity(int x, int y, int w, int h);
};
