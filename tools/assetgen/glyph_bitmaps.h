// SPDX-License-Identifier: Zlib
// The studio's pixel alphabet: one small bitmap per character code 32..159,
// drawn by hand on a 5 x 7 grid (a few wide letters use 6 or 7 columns) with
// two extra rows below the baseline for descenders. Both fonts and the
// lettering of the logos are drawn from these bitmaps.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

constexpr int kFirstGlyph = 32;
constexpr int kLastGlyph = 159;
constexpr int kGlyphRows = 9;  // 7 above the baseline, 2 below

struct GlyphBitmap {
    int width = 0;                  // columns in use
    std::vector<std::string> rows;  // kGlyphRows strings of `width` chars, '#' = ink

    bool Ink(int col, int row) const {
        return row >= 0 && row < kGlyphRows && col >= 0 && col < width && rows[row][col] == '#';
    }
};

// Bitmap for a character code; codes outside 32..159 give an empty glyph.
const GlyphBitmap& Glyph(int code);

// The extra pen advance the game's text writer gives a character, in base
// pixels: wide letters get more room, narrow ones less.
int LetterSpacing(int code);

}  // namespace assetgen
