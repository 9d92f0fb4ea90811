// SPDX-License-Identifier: Zlib
// The two fonts, both drawn from the pixel alphabet.
// "fonts/editundo": the game's font, 128 glyph cells of 16 x 16 base pixels
// for codes 32..159 in two rows of 64 (4096 pixels wide at level 4; the
// game's frame grab walks the rows in code order). The game puts each
// glyph's cell centre on the pen and then advances the pen by 7 pixels plus
// the letter's own adjustment, and it measures a text (for centring and
// right alignment) as if it began one advance before its first letter. So a
// letter's room starts 7 pixels before the pen and is its advance wide: cell
// columns 1 to 1 + advance. The ink is centred in that room, which keeps right-aligned
// text inside its anchor (a score in the menu's right-hand column ends
// clear of the screen's edge) and centred text on its centre.
// "fenx_font": the framework's default font, 96 cells (codes 32..127) with a
// blank column at each side that the loader trims.
#include <cmath>

#include "art.h"
#include "glyph_shapes.h"
#include "outputs.h"
#include "png_writer.h"
#include "preview.h"

namespace assetgen {

namespace {

constexpr int kCell = 16;
constexpr int kInkTop = 4;  // first glyph row inside the cell
constexpr int kAdvance = 7;
constexpr float kRoomLeft = kCell * 0.5f - kAdvance;  // where a letter's room starts
constexpr float kStrokeRadius = 0.55f;

// Crisp squares at the base size, rounded strokes when there is room.
Shape GlyphShape(const GlyphBitmap& g, V2 topLeft, float scale) {
    return scale <= 1.0f ? GlyphSquares(g, topLeft, 1.0f) : GlyphStrokes(g, topLeft, 1.0f, kStrokeRadius);
}

void DrawGameGlyph(Painter& p, int frame) {
    int code = kFirstGlyph + frame;
    const GlyphBitmap& g = Glyph(code);
    float centre = kRoomLeft + (kAdvance + LetterSpacing(code)) * 0.5f;
    float left = std::floor(centre - g.width * 0.5f + 0.5f);
    Shape ink = GlyphShape(g, {left, static_cast<float>(kInkTop)}, p.Scale());
    p.Fill(Translated(ink, {1, 1}), WithAlpha(ink::kOutline, 0.5f));
    p.Fill(ink, ink::kWhite);
}

constexpr int kDefaultCellWidth = 10, kDefaultCellHeight = 14, kDefaultGlyphs = 96;

void DrawDefaultGlyph(Painter& p, int frame) {
    const GlyphBitmap& g = Glyph(kFirstGlyph + frame);
    float left = 1 + std::floor((kDefaultCellWidth - 2 - g.width) * 0.5f);
    p.Fill(GlyphSquares(g, {left, 2}, 1.0f), ink::kWhite);
}

ImageAsset DefaultFontAsset() {
    return {{"fenx_font", kDefaultCellWidth, kDefaultCellHeight, kDefaultGlyphs, kDefaultGlyphs},
            DrawDefaultGlyph};
}

}  // namespace

ImageAsset GameFontSheet() { return {{"fonts/editundo", kCell, kCell, 128, 64}, DrawGameGlyph}; }

bool WriteDefaultFont(const std::string& root) {
    ImageAsset font = DefaultFontAsset();
    Canvas sheet = RenderSheet(font, 1);
    auto codeLabel = [](int f) { return std::to_string(f + kFirstGlyph); };
    bool ok = WritePng(root + "/fenx_font.png", sheet);
    return WritePng(root + "/preview/fenx_font.png",
                    PreviewSheet(font, sheet, RenderSheet(font, 4), codeLabel)) &&
           ok;
}

}  // namespace assetgen
