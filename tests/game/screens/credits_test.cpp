// SPDX-License-Identifier: Zlib
// The credits panel: the frame's geometry and the scroll of the credit lines.
#include "tests/game/play_support.h"

namespace {

class CreditsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_ShowCredits = 1, app->m_CreditsSlide = 30;
    }
    // Updates between advances of the scroll origin, over `updates` calls.
    std::vector<int> LineGaps(int updates) {
        std::vector<int> gaps;
        for (int i = 1, last = 0, line = app->m_CreditE; i <= updates; ++i) {
            app->m_DrawN = 0, app->p_CreditBox();
            if (app->m_CreditE != line) gaps.push_back(i - last), last = i, line = app->m_CreditE;
        }
        return gaps;
    }
};

// Tiles per row and column, and the top-left tile: a cell plus one, centred
// on the frame's corner. A strip of a screen keeps one row.
TEST_F(CreditsTest, FrameGeometryFollowsTheScreen) {
    const std::tuple<float, float, float, int, int> cases[] = {
        {640, 480, 640.0f / 12, 12, 9}, {800, 450, 800.0f / 12, 12, 6}, {480, 640, 640.0f / 12, 9, 12},
        {1200, 60, 100, 12, 0}};
    for (auto [w, h, cell, nx, ny] : cases) {
        Screen(w, h);
        app->m_DrawN = 0, app->p_CreditBox();
        EXPECT_EQ(std::vector<int>({app->m_CreditA, app->m_CreditB}), std::vector<int>({nx, ny})) << w << "x" << h;
        std::vector<float> corner = Rects().at(0);
        EXPECT_NEAR(corner[2], cell + 1, 1e-3);
        EXPECT_NEAR(corner[0], w / 2 - cell * static_cast<float>(nx + 1) / 2, 1e-3);
        EXPECT_NEAR(corner[1], h / 2 - cell * static_cast<float>(ny + 1) / 2, 1e-3);
    }
}

TEST_F(CreditsTest, ALineEvery53Or54UpdatesAndAbout9WithADirectionHeld) {
    std::vector<int> gaps = LineGaps(600);
    ASSERT_GE(gaps.size(), 10u);
    EXPECT_EQ(gaps[0], 54);
    for (int gap : gaps) EXPECT_TRUE(gap == 53 || gap == 54) << gap;
    KeyDown(kr_key::Down);
    gaps = LineGaps(200);
    ASSERT_GE(gaps.size(), 20u);
    for (size_t k = 1; k < gaps.size(); ++k) EXPECT_TRUE(gaps[k] == 8 || gaps[k] == 9) << gaps[k];
}

}  // namespace
