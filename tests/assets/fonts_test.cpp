// The game's font ("fonts/editundo", glyphs placed by their cell centre and
// advanced 7 pixels plus a per-letter adjustment) and the framework's default
// font ("fenx_font.png", 96 glyphs side by side with blank border columns).
#include <gtest/gtest.h>

#include <cmath>

#include "asset_expectations.h"

using namespace assettest;

namespace {

constexpr int kCell = 16, kAdvance = 7, kLineHeight = 10;

// The game's text writer gives these letters more or less room.
int Adjust(int c) {
    switch (c) {
        case 'm':
        case 'w': return 2;
        case 'M':
        case 'W': return 1;
        case 'f':
        case 'i':
        case 'l': return -3;
        case 's':
        case 'j':
        case 'k':
        case 'r':
        case 't':
        case 'n':
        case 'z': return -1;
        default: return 0;
    }
}

struct GameFont {
    Image img;
    std::vector<Rect> cells;
    explicit GameFont(int level) : img(LoadPng(LevelPath("fonts/editundo", level))) {
        if (img.Ok()) cells = GrabFrames(img, kCell * level, kCell * level, 128);
    }
    Ink Glyph(int code) const { return InkOf(img, cells[code - 32], true); }
};

bool Printable(int c) { return c > 32 && c < 127; }

}  // namespace

TEST(GameFont, AllLevelsHold128CellsAndSpaceIsBlank) {
    for (int level : {1, 2, 4}) {
        GameFont font(level);
        ASSERT_TRUE(font.img.Ok()) << level;
        ASSERT_EQ(font.cells.size(), 128u) << level;
        EXPECT_EQ(InkOf(font.img, font.cells[0]).count, 0) << "space at level " << level;
        for (int code = 33; code <= 159; ++code)
            EXPECT_GT(font.Glyph(code).count, 0) << code << " level " << level;
    }
}

TEST(GameFont, GlyphsFitTheAdvanceAndLineHeightAtBaseSize) {
    GameFont font(1);
    ASSERT_EQ(font.cells.size(), 128u);
    Ink all;
    for (int c = 33; c < 127; ++c) {
        Ink g = font.Glyph(c);
        int limit = Adjust(c) > 0 ? 7 : Adjust(c) < -2 ? 3 : 6;
        EXPECT_LE(g.Width(), limit) << static_cast<char>(c);
        EXPECT_LE(g.Height(), 9) << static_cast<char>(c);
        all.x0 = std::min(all.x0, g.x0), all.x1 = std::max(all.x1, g.x1);
        all.y0 = std::min(all.y0, g.y0), all.y1 = std::max(all.y1, g.y1);
        all.count += g.count;
    }
    // Together the glyphs stand within one line, centred on the cell centre
    // (the point the game places at the pen).
    EXPECT_LE(all.Height(), kLineHeight - 1);
    EXPECT_NEAR((all.y0 + all.y1 + 1) / 2.0, kCell / 2.0, 1.0);
}

TEST(GameFont, NeighbouringLettersNeverTouchAtBaseSize) {
    // Lay out every pair of printable characters the way the game does and
    // demand at least one clear column between their inks.
    GameFont font(1);
    ASSERT_EQ(font.cells.size(), 128u);
    for (int a = 33; a < 127; ++a) {
        Ink left = font.Glyph(a);
        for (int b = 33; b < 127; ++b) {
            Ink right = font.Glyph(b);
            int advance = kAdvance + Adjust(a);
            int gap = (right.x0 + advance) - left.x1 - 1;  // clear columns between them
            EXPECT_GE(gap, 1) << "'" << static_cast<char>(a) << "' then '" << static_cast<char>(b) << "'";
        }
    }
}

TEST(GameFont, LargerLevelsKeepTheGlyphBoxes) {
    GameFont small(1);
    ASSERT_EQ(small.cells.size(), 128u);
    for (int level : {2, 4}) {
        GameFont large(level);
        ASSERT_EQ(large.cells.size(), 128u);
        for (int c = 33; c <= 159; ++c) {
            Ink s = small.Glyph(c), l = large.Glyph(c);
            // Same box give or take the rounding of the strokes (one base pixel).
            EXPECT_NEAR(l.x0 / double(level), s.x0, 1.0) << c << " level " << level;
            EXPECT_NEAR((l.x1 + 1) / double(level), s.x1 + 1, 1.0) << c << " level " << level;
            EXPECT_NEAR(l.y0 / double(level), s.y0, 1.0) << c << " level " << level;
            EXPECT_NEAR((l.y1 + 1) / double(level), s.y1 + 1, 1.0) << c << " level " << level;
        }
    }
}

TEST(DefaultFont, NinetySixGlyphsWithBlankBorderColumns) {
    Image img = LoadPng(DataDir() + "/fenx_font.png");
    ASSERT_TRUE(img.Ok());
    ASSERT_EQ(img.width % 96, 0);
    int cell = img.width / 96;
    ASSERT_GE(cell, 5);
    for (int i = 0; i < 96; ++i) {
        int code = 32 + i;
        Rect r{i * cell, 0, cell, img.height};
        // The loader trims one column each side: they must be empty.
        EXPECT_EQ(InkOf(img, {r.x, 0, 1, img.height}).count, 0) << code;
        EXPECT_EQ(InkOf(img, {r.x + cell - 1, 0, 1, img.height}).count, 0) << code;
        Ink ink = InkOf(img, r);
        if (Printable(code)) EXPECT_GT(ink.count, 0) << code;
        if (code == 32) EXPECT_EQ(ink.count, 0);
    }
}
