// SPDX-License-Identifier: Zlib
// The device's surface factories: loading an image file into a surface and
// making an empty RGBA surface to write pixels into.
#include "graphics/gl.h"
#include "graphics/renderer.h"
#include "host/host.h"

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
    gxtkSurface* surface = LoadSurface__UNSAFE__(new gxtkSurface, path);
    if (surface) surface->Bind();
    return surface;
}

// Decodes the file into the surface's pixel copy; makes no OpenGL call, so
// it may run away from the context's thread (OnUnsafeLoadComplete follows).
gxtkSurface* gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    KrGame* host = KrGame::_game;
    if (!host || !surface) return nullptr;
    int w = 0, h = 0, bpp = 0;
    unsigned char* data = host->LoadImageData(path, &w, &h, &bpp);
    if (!data) return nullptr;
    surface->SetData(data, w, h, bpp);
    return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->width = w;
    surface->height = h;
    surface->bytesPerPixel = 4;
    surface->glFormat = GL_RGBA;
    surface->Bind();
    return surface;
}
