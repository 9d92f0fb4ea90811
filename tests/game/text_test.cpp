// Text in the bitmap font as image records (advance 7, line 10): alignment,
// letter spacing, line breaks, backslashes, codes that draw nothing, scale
// truncation, rotation and a font slot outside the table; the number
// formatter.
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
        app->m_ImgInfo[270] = 7, app->m_ImgInfo[271] = 10;
        app->p_ResetDraw();
    }
    // Writes the text and compares the glyph records with `want`.
    void Expect(float x, float y, const String& text, float ax, float ay, const std::vector<Glyph>& want,
                float slot = 90) {
        std::string narrow;
        for (int i = 0; i < text.Length(); ++i) narrow += static_cast<char>(text[i]);
        SCOPED_TRACE(testing::Message() << '"' << narrow << "\" align " << ax << ", " << ay);
        app->m_DrawN = 0;
        app->p_Text(x, y, text, ax, ay);
        ASSERT_EQ(app->m_DrawN, 15 * static_cast<int>(want.size()));
        for (size_t i = 0; i < want.size(); ++i) {
            const float* r = &app->m_Draw[15 * i];
            EXPECT_EQ(r[0], slot);
            EXPECT_NEAR(r[1], want[i].x, 1e-4) << "glyph " << i;
            EXPECT_NEAR(r[2], want[i].y, 1e-4) << "glyph " << i;
            EXPECT_EQ(r[6], want[i].frame) << "glyph " << i;
        }
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
};

String Units(std::initializer_list<Char> units) { return String(std::data(units), static_cast<int>(units.size())); }

// Alignment measures all but the last glyph ("ab" is 14 wide); "\n" starts a
// line at the start point, a backslash without n is a glyph, codes outside
// 33..159 advance without drawing and code 0 does neither.
TEST_F(Text, Layout) {
    const int a = 'a' - 32, b = 'b' - 32, bs = '\\' - 32;
    Expect(100, 50, String("ab"), 0, 1, {{107, 50, a}, {114, 50, b}});
    Expect(100, 50, String("ab"), 1, 1, {{100, 50, a}, {107, 50, b}});
    Expect(100, 50, String("ab"), 0, 0, {{107, 55, a}, {114, 55, b}});
    Expect(100, 50, String("ab"), 2, -1, {{93, 60, a}, {100, 60, b}});
    Expect(10, 10, String(), 1, 1, {});
    Expect(10, 10, String("   "), 1, 1, {});
    Expect(100, 50, String("a\\nb"), 0, 1, {{107, 50, a}, {100, 60, b}});
    Expect(100, 50, String("\\n\\nc"), 0, 1, {{100, 70, 'c' - 32}});
    Expect(0, 0, String("a\\"), 0, 1, {{7, 0, a}, {14, 0, bs}});
    Expect(0, 0, String("\\"), 0, 1, {{7, 0, bs}});
    Expect(0, 0, String("\\x"), 0, 1, {{7, 0, bs}, {14, 0, 'x' - 32}});
    Expect(0, 0, Units({'a', 0, 'b'}), 0, 1, {{7, 0, a}, {14, 0, b}});
    Expect(0, 0, Units({'a', 160, 31, 0x263A, 'b'}), 0, 1, {{7, 0, a}, {35, 0, b}});
    Expect(0, 0, Units({33, 159}), 0, 1, {{7, 0, 1}, {14, 0, 127}});
}

// The letter after c sits 7 + adj(c) after it; centring moves by the same.
TEST_F(Text, LetterSpacing) {
    const std::pair<const char*, int> classes[] = {
        {"mw", 2}, {"MW", 1}, {"fil", -3}, {"sjkrtnz", -1}, {"aAqQ0.!~", 0}};
    for (auto [letters, adjust] : classes) {
        for (const char* p = letters; *p; ++p) {
            const float half = (14 + adjust) / 2.0f;
            Expect(0, 0, String(std::string{*p, 'x'}.c_str()), 1, 1,
                   {{7 - half, 0, *p - 32}, {14 + adjust - half, 0, 'x' - 32}});
        }
    }
}

// Scaled, the width is truncated after every addition (10.5 -> 10, 20.5 ->
// 20). Rotated by 90 the text runs down the screen, alignY moves it left and
// a new line starts one line to the left.
TEST_F(Text, ScaleAndRotationNinety) {
    app->p_SetSize(1.5f, 2);
    Expect(100, 50, String("ab"), 1, 0, {{100.5f, 60, 'a' - 32}, {111, 60, 'b' - 32}});
    app->p_SetSize(1);
    app->p_SetRot(90);
    Expect(100, 50, String("ab"), 1, 1, {{100, 50, 'a' - 32}, {100, 57, 'b' - 32}});
    Expect(100, 50, String("ab"), 0, 0, {{95, 57, 'a' - 32}, {95, 64, 'b' - 32}});
    Expect(100, 50, String("a\\nb"), 0, 1, {{100, 57, 'a' - 32}, {90, 50, 'b' - 32}});
    EXPECT_EQ(app->m_Draw[3], -90) << "glyphs carry the rotation";
}

// A font slot outside the table reads the first slot's metrics.
TEST_F(Text, FontOutsideTheTableAdvancesByNothing) {
    for (int font : {0, -1, 100, INT_MIN}) {
        app->m_Font = font;
        Expect(5, 5, String("ab"), 1, 1, {{5, 5, 'a' - 32}, {5, 5, 'b' - 32}}, 0);
    }
}

TEST(Rstr, LastNCharactersOfPadRepeatedThenDigits) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    const struct {
        int value, n;
        const char *pad, *result;
    } cases[] = {
        {42, 5, "0", "00042"}, {123456, 3, "0", "456"}, {7, 3, " ", "  7"},   {-5, 4, "0", "00-5"},
        {0, 1, "0", "0"},      {5, 0, "0", ""},         {5, -3, "0", ""},      {12, 4, "ab", "ab12"},
        {12, 5, "ab", "bab12"}, {42, 5, "", "42"},      {INT_MIN, 12, "*", "*-2147483648"}, {INT_MAX, 2, "0", "47"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app->p_rstr(c.value, c.n, String(c.pad)), String(c.result)) << c.value << ", " << c.n << ", " << c.pad;
    EXPECT_EQ(app->p_rstr(42, String("0")), String("00000000042"));
    EXPECT_EQ(app->p_rstr(-1234567890, String(" ")), String("-1234567890"));
    EXPECT_EQ(app->p_rstr(7, 100000, String("0")).Length(), 100000);
}

}  // namespace
