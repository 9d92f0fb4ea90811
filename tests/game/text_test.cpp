// Text in the bitmap font as image records (advance 7, line 10): width and
// alignment, letter spacing, line breaks, backslashes, codes that draw
// nothing, scale truncation and rotation; and the number formatter.
#include <gtest/gtest.h>

#include <climits>

#include "tests/support/game_host.h"

namespace {

struct Glyph {
    float x, y;
    int frame;
};

class Text : public ::testing::Test {
   protected:
    void SetUp() override {
        app = StartBareGame(host);
        app->m_Font = 90;
        app->m_ImgInfo[270] = 7;
        app->m_ImgInfo[271] = 10;
        app->p_ResetDraw();
    }
    // The glyphs written by one p_Text call.
    std::vector<Glyph> Write(float x, float y, const String& text, float ax, float ay) {
        app->m_DrawN = 0;
        app->p_Text(x, y, text, ax, ay);
        std::vector<Glyph> glyphs;
        for (int i = 0; i < app->m_DrawN; i += 15) {
            EXPECT_EQ(app->m_Draw[i], slot);
            glyphs.push_back(
                {app->m_Draw[i + 1], app->m_Draw[i + 2], static_cast<int>(app->m_Draw[i + 6])});
        }
        return glyphs;
    }
    void ExpectGlyphs(const std::vector<Glyph>& got, const std::vector<Glyph>& want) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].x, want[i].x, 1e-4) << "glyph " << i;
            EXPECT_NEAR(got[i].y, want[i].y, 1e-4) << "glyph " << i;
            EXPECT_EQ(got[i].frame, want[i].frame) << "glyph " << i;
        }
    }
    static String Units(std::initializer_list<Char> units) {
        return String(std::data(units), static_cast<int>(units.size()));
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
    float slot = 90;  // the font's image slot the glyphs name
};

// " ab" measures the space and the a (14); the b is not measured.
TEST_F(Text, AlignmentMovesTheStartPoint) {
    struct Case {
        float ax, ay, ax0, ay0;
    };
    for (const Case& c :
         {Case{0, 1, 100, 50}, Case{1, 1, 93, 50}, Case{0, 0, 100, 55}, Case{2, -1, 86, 60}}) {
        SCOPED_TRACE(testing::Message() << "align " << c.ax << ", " << c.ay);
        ExpectGlyphs(Write(100, 50, String("ab"), c.ax, c.ay),
                     {{c.ax0 + 7, c.ay0, 'a' - 32}, {c.ax0 + 14, c.ay0, 'b' - 32}});
    }
}

TEST_F(Text, EmptyTextDrawsNothing) {
    EXPECT_TRUE(Write(10, 10, String(), 1, 1).empty());
    EXPECT_TRUE(Write(10, 10, String("   "), 1, 1).empty());
}

// The letter after c sits 7 + adj(c) after c; centring moves by the same.
TEST_F(Text, LetterSpacing) {
    const std::pair<const char*, int> classes[] = {
        {"mw", 2}, {"MW", 1}, {"fil", -3}, {"sjkrtnz", -1}, {"aAqQ0.!~", 0}};
    for (auto [letters, adjust] : classes) {
        for (const char* p = letters; *p; ++p) {
            SCOPED_TRACE(*p);
            const String text = String(std::string(1, *p).c_str()) + String("x");
            const float width = 14 + adjust;
            ExpectGlyphs(Write(0, 0, text, 1, 1),
                         {{7 - width / 2, 0, *p - 32}, {14 + adjust - width / 2, 0, 'x' - 32}});
        }
    }
}

TEST_F(Text, BackslashNBreaksTheLineAtTheStartPoint) {
    ExpectGlyphs(Write(100, 50, String("a\\nb"), 0, 1), {{107, 50, 'a' - 32}, {100, 60, 'b' - 32}});
    ExpectGlyphs(Write(100, 50, String("\\n\\nc"), 0, 1), {{100, 70, 'c' - 32}});
}

// A backslash not followed by n is a glyph, also as the last character.
TEST_F(Text, LoneBackslashesAreGlyphs) {
    ExpectGlyphs(Write(0, 0, String("a\\"), 0, 1), {{7, 0, 'a' - 32}, {14, 0, '\\' - 32}});
    ExpectGlyphs(Write(0, 0, String("\\"), 0, 1), {{7, 0, '\\' - 32}});
    ExpectGlyphs(Write(0, 0, String("\\x"), 0, 1), {{7, 0, '\\' - 32}, {14, 0, 'x' - 32}});
}

// Codes outside 33..159 advance without drawing; code 0 does neither.
TEST_F(Text, CodesWithoutGlyphs) {
    ExpectGlyphs(Write(0, 0, Units({'a', 0, 'b'}), 0, 1), {{7, 0, 'a' - 32}, {14, 0, 'b' - 32}});
    ExpectGlyphs(Write(0, 0, Units({'a', 160, 31, 0x263A, 'b'}), 0, 1),
                 {{7, 0, 'a' - 32}, {35, 0, 'b' - 32}});
    ExpectGlyphs(Write(0, 0, Units({33, 159}), 0, 1), {{7, 0, 1}, {14, 0, 127}});
}

// The width is truncated after every addition: 10.5 -> 10, 20.5 -> 20.
TEST_F(Text, ScaledWidthTruncatesStepByStep) {
    app->p_SetSize(1.5f, 2);
    ExpectGlyphs(Write(100, 50, String("ab"), 1, 0), {{100.5f, 60, 'a' - 32}, {111, 60, 'b' - 32}});
}

// Rotated by 90 degrees the text runs down the screen; alignY moves it left
// and a new line starts one line to the left.
TEST_F(Text, RotationNinety) {
    app->p_SetRot(90);
    ExpectGlyphs(Write(100, 50, String("ab"), 1, 1), {{100, 50, 'a' - 32}, {100, 57, 'b' - 32}});
    ExpectGlyphs(Write(100, 50, String("ab"), 0, 0), {{95, 57, 'a' - 32}, {95, 64, 'b' - 32}});
    ExpectGlyphs(Write(100, 50, String("a\\nb"), 0, 1), {{100, 57, 'a' - 32}, {90, 50, 'b' - 32}});
    EXPECT_EQ(app->m_Draw[3], -90) << "glyphs carry the rotation";
}

TEST_F(Text, GlyphsCarryTheDrawState) {
    app->p_SetCol(1, 2, 3, 0.5f);
    app->p_SetSize(2, 3);
    Write(0, 0, String("Q"), 0, 0);
    const std::vector<float> record(&app->m_Draw[0], &app->m_Draw[0] + 14);
    EXPECT_EQ(record[4], 2);
    EXPECT_EQ(record[5], 3);
    EXPECT_EQ(record[7], 0.5f);
    EXPECT_EQ(record[10], 1);
    EXPECT_EQ(record[12], 3);
    EXPECT_EQ(record[13], 1);
}

// A font slot outside the table reads the first slot's metrics.
TEST_F(Text, NoFontAdvancesByNothing) {
    app->m_Font = 0;
    slot = 0;
    ExpectGlyphs(Write(5, 5, String("ab"), 1, 1), {{5, 5, 'a' - 32}, {5, 5, 'b' - 32}});
    for (int bad : {-1, 100, INT_MIN}) {
        app->m_Font = bad;
        EXPECT_EQ(Write(5, 5, String("ab"), 1, 1).size(), 2u) << bad;
        EXPECT_EQ(app->m_Draw[0], 0);
    }
}

TEST(Rstr, LastNCharactersOfPadRepeatedThenDigits) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    struct Case {
        int value, n;
        const char* pad;
        const char* result;
    };
    const Case cases[] = {
        {42, 5, "0", "00042"},
        {123456, 3, "0", "456"},
        {7, 3, " ", "  7"},
        {-5, 4, "0", "00-5"},
        {0, 1, "0", "0"},
        {5, 0, "0", ""},
        {5, -3, "0", ""},
        {12, 4, "ab", "ab12"},
        {12, 5, "ab", "bab12"},
        {42, 5, "", "42"},
        {INT_MIN, 12, "*", "*-2147483648"},
        {INT_MAX, 2, "0", "47"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app->p_rstr(c.value, c.n, String(c.pad)), String(c.result))
            << c.value << ", " << c.n << ", \"" << c.pad << "\"";
    }
    EXPECT_EQ(app->p_rstr(42, String("0")), String("00000000042"));
    EXPECT_EQ(app->p_rstr(-1234567890, String(" ")), String("-1234567890"));
    EXPECT_EQ(app->p_rstr(7, 100000, String("0")).Length(), 100000);
}

}  // namespace
