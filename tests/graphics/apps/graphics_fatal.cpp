// SPDX-License-Identifier: Zlib
// Runs one graphics-module misuse that ends the process with a runtime error,
// chosen by the first argument, so that a test can read what it printed.
#include <string>

#include "framework/graphics.h"

c_Image* ImageOfSize(int w, int h) {
    gxtkSurface* surface = new gxtkSurface;
    surface->width = w, surface->height = h;
    return (new c_Image)->m_new()->p_Init(surface, 1, 0);
}

int main(int argc, char** argv) {
    gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
    std::string what = argc > 1 ? argv[1] : "";
    // 3 frames of 40 x 30 from a 100 x 30 source: the third needs a second row.
    if (what == "grab-below") ImageOfSize(100, 30)->p_GrabImage(0, 0, 40, 30, 3, 0);
    if (what == "grab-fits") ImageOfSize(100, 60)->p_GrabImage(0, 0, 40, 30, 3, 0);
    if (what == "short-matrix") kr_graphics_SetMatrix2(Array<float>(5));
    if (what == "draw-outside-frame") kr_graphics_DrawRect(0, 0, 1, 1);
    if (what == "no-frames") ImageOfSize(10, 10)->p_Init(new gxtkSurface, 0, 0);
    return 3;
}
