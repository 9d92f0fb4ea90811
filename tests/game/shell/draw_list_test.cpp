// SPDX-License-Identifier: Zlib
// The draw list on the bare host: the cap of 2499 records, a fit that stays finite, and the guarded Float to Int conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/float_to_int.h"
#include "tests/support/game_host.h"

namespace {

constexpr float u = 77;  // left in the elements a record does not write

class DrawList : public ::testing::Test {
   protected:
    void SetUp() override {
        app->p_ResetDraw();
        for (int i = 0; i < app->m_Draw.Length(); ++i) app->m_Draw[i] = u;
    }
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
};

// Later drawing is dropped; a count no drawing method leaves writes nothing.
TEST_F(DrawList, TheListHoldsAt2499Records) {
    for (int i = 0; i < 2499; ++i) app->p_Rect(static_cast<float>(i), 0, 1, 1);
    app->p_DrawImg(kImgSprites, 5, 5, 0);
    app->p_Oval(1, 1, 1, 1);
    app->p_Text(0, 0, String("abc"), 0, 0);
    EXPECT_EQ(app->m_DrawN, 2499 * 15);
    EXPECT_EQ(app->m_Draw[37499], u);
    app->m_DrawN = -15;
    app->p_Rect(9, 9, 1, 1);
    EXPECT_EQ(app->m_DrawN, -15);
    EXPECT_EQ(app->m_Draw[1], 0) << "nothing written";
}

// A device without area keeps the last fit; one smaller than its overscan
// gives no NaN and no infinity.
TEST_F(DrawList, DegenerateDevicesKeepTheFitFinite) {
    app->p_FitScreen(640, 480);
    for (auto [w, h] : {std::pair{0, 0}, {0, 480}, {-5, 10}}) app->p_FitScreen(w, h);
    EXPECT_EQ(std::vector<float>({kr_Vex_jscrw, app->m_ScaleX}), std::vector<float>({640, 1}));
    kr_Vex_overscan = 64;
    app->p_FitScreen(100, 100);
    EXPECT_TRUE(std::isfinite(app->m_ScaleX) && std::isfinite(kr_Vex_jscrw) && std::isfinite(kr_Vex_jscrh));
}

TEST(FloatToInt, TruncatesAndClampsEveryValue) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, int> cases[] = {{2.9f, 2},      {-2.9f, -2},     {std::nanf(""), 0}, {inf, INT_MAX},
                                           {-inf, INT_MIN}, {3e9f, INT_MAX}, {-3e9f, INT_MIN}};
    for (auto [in, out] : cases) EXPECT_EQ(kr_Vex_ToInt(in), out) << in;
    EXPECT_EQ(kr_Vex_ToInt(std::nan("")), 0);
    EXPECT_EQ(kr_Vex_ToInt(2147483647.5), INT_MAX);
}

}  // namespace
