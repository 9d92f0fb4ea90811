// The draw list on the bare host: the three record layouts, the cap of 2499
// records, clearing, the fitting rule's numbers and the Float to Int
// conversion the game relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/float_to_int.h"
#include "tests/support/game_host.h"

namespace {

constexpr float kUnwritten = 77;  // left in the elements a record does not write

class DrawList : public ::testing::Test {
   protected:
    void SetUp() override {
        app = StartBareGame(host);
        app->p_ResetDraw();
        for (int i = 0; i < app->m_Draw.Length(); ++i) app->m_Draw[i] = kUnwritten;
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
};

// Every layout with one draw state: scale, rotation, colour, alpha, blend.
TEST_F(DrawList, RecordLayouts) {
    app->p_SetSize(2, 3);
    app->p_SetRot(45);
    app->p_SetCol(10, 20, 30, 0.5f);
    app->m_DrawBlend = 3;
    app->p_DrawImg(7, 100, 50, 4.5f);
    app->p_Rect(1, 2, 30, 40);
    app->p_Oval(5, 6, 7, 8);
    EXPECT_EQ(app->m_DrawN, 45);
    const float u = kUnwritten;
    const std::vector<float> expected[] = {
        {7, 100, 50, -45, 2, 3, 4.5f, 0.5f, u, u, 10, 20, 30, 3, u},
        {-3717, 1, 2, -45, 30, 40, 0, 0.5f, u, u, 10, 20, 30, 3, u},
        {-3716, 5, 6, -45, 7, 8, 0, 0.5f, u, u, 10, 20, 30, 3, u},
    };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::vector<float>(&app->m_Draw[15 * i], &app->m_Draw[15 * i] + 15), expected[i]) << i;
}

// Later drawing is dropped; a count no drawing method leaves writes nothing.
TEST_F(DrawList, TheListHoldsAt2499Records) {
    for (int i = 0; i < 2499; ++i) app->p_Rect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(app->m_Draw[2498 * 15 + 1], 2498);
    app->p_DrawImg(1, 5, 5, 0);
    app->p_Oval(1, 1, 1, 1);
    app->p_Text(0, 0, String("abc"), 0, 0);
    EXPECT_EQ(app->m_DrawN, 2499 * 15);
    EXPECT_EQ(app->m_Draw[2499 * 15], kUnwritten);
    EXPECT_EQ(app->m_Draw[37499], kUnwritten);
    app->m_DrawN = -15;
    app->p_Rect(9, 9, 1, 1);
    EXPECT_EQ(app->m_DrawN, -15);
    EXPECT_EQ(app->m_Draw[1], 0) << "nothing written";
}

// -3717 keeps the clear colour; every call empties the list and resets the
// draw state.
TEST_F(DrawList, Cls2DKeepsOrSetsTheClearColour) {
    app->m_ClsR = 1, app->m_ClsG = 2, app->m_ClsB = 3, app->m_ClsA = 0.5f;
    app->p_SetSize(4);
    app->p_SetCol(0, 0, 0, 0);
    app->p_Rect(0, 0, 1, 1);
    app->p_CLS2D(-3717, 0, 0, 0);
    EXPECT_EQ(std::vector<float>({app->m_ClsR, app->m_ClsG, app->m_ClsB, app->m_ClsA}),
              std::vector<float>({1, 2, 3, 0.5f}));
    EXPECT_EQ(app->m_DrawN, 0);
    EXPECT_EQ(std::vector<float>({app->m_DrawSX, app->m_DrawSY, app->m_DrawA, app->m_DrawR}),
              std::vector<float>({1, 1, 1, 255}));
    app->p_CLS2D(40, 40, 80, 0.25f);
    EXPECT_EQ(std::vector<float>({app->m_ClsR, app->m_ClsG, app->m_ClsB, app->m_ClsA}),
              std::vector<float>({40, 40, 80, 0.25f}));
}

// By device size, overscan and design width before the fit: the fit mode,
// the scale, the virtual screen, the design width after and the orientation.
// A wide device below 400 virtual pixels high switches to 800 x 600 for good.
TEST_F(DrawList, FittingTable) {
    const float cases[][10] = {
        // w, h, overscan, width before, mode, scale, jscrw, jscrh, width after, landscape
        {640, 480, 0, 640, 1, 1, 640, 480, 640, 1},  // a tie is mode 1
        {1024, 768, 0, 640, 1, 1.6f, 640, 480, 640, 1},
        {1280, 720, 0, 640, 1, 2, 640, 360, 800, 1},
        {1280, 720, 0, 800, 1, 1.6f, 800, 450, 800, 1},  // the next render
        {640, 480, 0, 800, 1, 0.8f, 800, 600, 800, 1},   // never back
        {480, 800, 0, 640, 2, 800.0f / 480, 288, 480, 640, 0},
        {480, 800, 0, 800, 2, 800.0f / 600, 360, 600, 800, 0},
        {640, 640, 0, 640, 2, 640.0f / 480, 480, 480, 640, 1},
        {1280, 720, 64, 640, 1, 1.8f, 640, 360, 800, 1},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " x " << c[1] << " overscan " << c[2] << " width " << c[3]);
        kr_Vex_rawscrw = c[3], kr_Vex_rawscrh = c[3] * 0.75f, kr_Vex_overscan = c[2];
        app->p_FitScreen(static_cast<int>(c[0]), static_cast<int>(c[1]));
        EXPECT_EQ(app->m_FitMode, c[4]);
        EXPECT_FLOAT_EQ(app->m_ScaleX, c[5]);
        EXPECT_FLOAT_EQ(app->m_ScaleY, c[5]);
        EXPECT_FLOAT_EQ(kr_Vex_jscrw, c[6]);
        EXPECT_FLOAT_EQ(kr_Vex_jscrh, c[7]);
        EXPECT_EQ(kr_Vex_rawscrw, c[8]);
        EXPECT_EQ(kr_Vex_rawscrh, c[8] * 0.75f);
        EXPECT_EQ(app->m_Landscape, c[9]);
    }
}

// A device without area, or one smaller than its overscan, gives no NaN
// and no infinity; the pause rule's truncation of the height stays defined.
TEST_F(DrawList, DegenerateDevicesKeepTheFitFinite) {
    app->p_FitScreen(640, 480);
    for (auto [w, h] : {std::pair{0, 0}, {0, 480}, {640, 0}, {-5, 10}}) {
        app->p_FitScreen(w, h);
        EXPECT_FLOAT_EQ(kr_Vex_jscrw, 640) << w << " x " << h << ": the last fit stays";
        EXPECT_FLOAT_EQ(kr_Vex_jscrh, 480);
        EXPECT_FLOAT_EQ(app->m_ScaleX, 1);
    }
    kr_Vex_overscan = 64;
    app->p_FitScreen(100, 100);
    EXPECT_TRUE(std::isfinite(app->m_ScaleX) && std::isfinite(kr_Vex_jscrw) && std::isfinite(kr_Vex_jscrh));
    EXPECT_LT(app->m_ScaleX, 0);
    app->m_Mode = 10;
    app->p_OnSuspend();
    EXPECT_EQ(app->m_PauseY, static_cast<int>(kr_Vex_jscrh * 0.5f));
}

TEST(FloatToInt, TruncatesAndClampsEveryValue) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, int> cases[] = {
        {2.9f, 2},         {-2.9f, -2},        {0.0f, 0},           {std::nanf(""), 0},
        {inf, INT_MAX},    {-inf, INT_MIN},    {3e9f, INT_MAX},     {-3e9f, INT_MIN},
        {2147483520.0f, 2147483520},           {-2147483648.0f, INT_MIN},
    };
    for (auto [in, out] : cases) EXPECT_EQ(kr_Vex_ToInt(in), out) << in;
    EXPECT_EQ(kr_Vex_ToInt(std::nan("")), 0);
    EXPECT_EQ(kr_Vex_ToInt(2147483647.5), INT_MAX);
    EXPECT_EQ(kr_Vex_ToInt(-1e300), INT_MIN);
}

}  // namespace
