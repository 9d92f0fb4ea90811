// SPDX-License-Identifier: Zlib
// Turns the pixel alphabet into drawable shapes: crisp squares for the 1x
// font, and rounded strokes joining neighbouring pixels for larger sizes and
// for logo lettering, so curves and diagonals come out smooth.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"
#include "glyph_bitmaps.h"
#include "shapes.h"

namespace assetgen {

// `topLeft` is the top-left corner of the glyph's grid, `pixel` the size of
// one grid cell, all in base pixels.
Shape GlyphSquares(const GlyphBitmap& g, V2 topLeft, float pixel);
// Strokes through the ink cells' centres, `radius` (in cells) thick each side.
Shape GlyphStrokes(const GlyphBitmap& g, V2 topLeft, float pixel, float radius);

// One shape per visible character of `text`, laid out from `topLeft` with
// the given gap (in cells) between glyph boxes.
std::vector<Shape> TextStrokes(const std::string& text, V2 topLeft, float pixel, float radius,
                               float gapCells);
// Width of such a line of text, in cells.
float TextWidthCells(const std::string& text, float gapCells);

// Writes `text` with plain 1-pixel glyph cells straight onto a canvas, for
// labels on the preview sheets.
void DrawLabel(Canvas& canvas, int x, int y, const std::string& text, Color c);
int LabelWidth(const std::string& text);

}  // namespace assetgen
