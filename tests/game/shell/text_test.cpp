// SPDX-License-Identifier: Zlib
// Text in the bitmap font as image records (advance 7, line 10): alignment,
// line breaks, backslashes, a font slot outside the table; the number
// formatter.
#include <gtest/gtest.h>

#include <climits>

#include "tests/support/game_host.h"

namespace {

// Glyph records as x, y, frame for text written at (100, 50).
std::vector<float> Glyphs(c_MyApp* app, const char* text, float ax, float ay) {
    app->m_DrawN = 0;
    app->p_Text(100, 50, String(text), ax, ay);
    std::vector<float> out;
    for (int i = 0; i < app->m_DrawN; i += 15) out.insert(out.end(), {app->m_Draw[i + 1], app->m_Draw[i + 2], app->m_Draw[i + 6]});
    return out;
}

// Alignment measures all but the last glyph ("ab" is 14 wide); "\n" starts
// a line at the start point; a backslash without n is a glyph.
TEST(Text, AlignmentAndBackslashes) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->m_Font = kImgFont, app->m_ImgInfo[3 * kImgFont] = 7, app->m_ImgInfo[3 * kImgFont + 1] = 10;
    app->p_ResetDraw();
    const float a = 'a' - 32, b = 'b' - 32, bs = '\\' - 32;
    const std::tuple<const char*, float, float, std::vector<float>> cases[] = {
        {"ab", 0, 1, {107, 50, a, 114, 50, b}}, {"ab", 1, 1, {100, 50, a, 107, 50, b}},
        {"ab", 0, 0, {107, 55, a, 114, 55, b}}, {"ab", 2, -1, {93, 60, a, 100, 60, b}},
        {"a\\nb", 0, 1, {107, 50, a, 100, 60, b}}, {"a\\", 0, 1, {107, 50, a, 114, 50, bs}},
        {"\\", 0, 1, {107, 50, bs}}};
    for (const auto& [text, ax, ay, want] : cases) EXPECT_EQ(Glyphs(app, text, ax, ay), want) << text << " " << ax << ay;
    for (int font : {0, -1, 100, INT_MIN}) {  // outside the table: the first slot's metrics, advance 0
        app->m_Font = font;
        EXPECT_EQ(Glyphs(app, "ab", 1, 1), std::vector<float>({100, 50, a, 100, 50, b})) << font;
    }
}

TEST(Rstr, LastNCharactersOfPadRepeatedThenDigits) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {42, 5, "0", "00042"}, {123456, 3, "0", "456"}, {-5, 4, "0", "00-5"},  {5, -3, "0", ""},
        {12, 5, "ab", "bab12"}, {42, 5, "", "42"},      {INT_MIN, 12, "*", "*-2147483648"}};
    for (auto [value, n, pad, result] : cases)
        EXPECT_EQ(app->p_rstr(value, n, String(pad)), String(result)) << value << ", " << n << ", " << pad;
    EXPECT_EQ(app->p_rstr(42, String("0")), String("00000000042"));
}

}  // namespace
