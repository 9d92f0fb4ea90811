// SPDX-License-Identifier: Zlib
// A floating-point RGBA picture with premultiplied alpha, the surface every
// sheet is painted on before it is written out as 8-bit PNG.
#pragma once

#include <cstdint>
#include <vector>

#include "color.h"

namespace assetgen {

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Composites `c` over the pixel with the given coverage (0..1).
    void Blend(int x, int y, Color c, float coverage);
    // Composites the w x h block of `src` at (sx, sy) over this canvas with
    // its top-left at (dx, dy), clipped to both canvases.
    void Composite(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);
    // Composites all of `src` with its top-left at (x, y).
    void Draw(const Canvas& src, int x, int y) { Composite(src, 0, 0, src.width_, src.height_, x, y); }
    // Overwrites a rectangle with an opaque colour.
    void FillRect(int x, int y, int w, int h, Color c);
    // Nearest-neighbour magnification, used by the preview sheets.
    Canvas Magnified(int factor) const;
    // 8-bit straight-alpha RGBA bytes, rows top to bottom.
    std::vector<uint8_t> ToRgba8() const;

private:
    int width_ = 0, height_ = 0;
    std::vector<float> px_;  // premultiplied r, g, b, a per pixel
};

}  // namespace assetgen
