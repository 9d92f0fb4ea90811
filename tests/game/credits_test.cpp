// The credits panel on the bare host: the frame's geometry, the scroll of
// the credit lines, and closing.
#include <limits>

#include "tests/game/menu_fixture.h"

namespace {

class CreditsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_ShowCredits = 1;
        app->m_CreditsSlide = 30;
    }
    void Call() {
        app->m_DrawN = 0;
        app->p_CreditBox();
    }
    // Updates between advances of the scroll origin, over `updates` calls.
    std::vector<int> LineGaps(int updates) {
        std::vector<int> gaps;
        for (int i = 1, last = 0, line = app->m_CreditE; i <= updates; ++i) {
            Call();
            if (app->m_CreditE == line) continue;
            gaps.push_back(i - last);
            last = i;
            line = app->m_CreditE;
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
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        Screen(w, h);
        Call();
        EXPECT_EQ(app->m_CreditA, nx);
        EXPECT_EQ(app->m_CreditB, ny);
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
    for (int key : {38, 40}) {  // up or down
        KeyDown(key);
        gaps = LineGaps(200);
        ASSERT_GE(gaps.size(), 20u);
        for (size_t k = 1; k < gaps.size(); ++k) EXPECT_TRUE(gaps[k] == 8 || gaps[k] == 9) << gaps[k];
        KeyUp(key);
    }
}

// A click (key 0), or buttons 15, 10 and 11 (N, space, X), close the panel
// even while it slides in; not over the press that opened it.
TEST_F(CreditsTest, AClickOrAButtonClosesEvenWhileSlidingIn) {
    const int cases[][3] = {{0, 1, 0}, {0, 0, 1}, {78, 0, 1}, {32, 0, 1}, {88, 0, 1}, {67, 0, 0}, {32, 1, 0}};
    for (const auto& [key, lock, closes] : cases) {
        SCOPED_TRACE(testing::Message() << key << " lock " << lock);
        app->m_ShowCredits = 1;
        app->m_CreditsSlide = 10;
        app->m_KeyLock = key ? lock : 0;
        app->m_ClickLock = key ? 0 : lock;
        key ? KeyDown(key) : PointerDown(10, 10);
        Call();
        key ? KeyUp(key) : PointerUp();
        EXPECT_EQ(app->m_ShowCredits, 1 - closes);
        EXPECT_EQ(key ? app->m_KeyLock : app->m_ClickLock, closes ? 1 : lock);
    }
}

// A screen size that is not a number draws nothing but can still be closed.
TEST_F(CreditsTest, DegenerateScreensDrawNothingButStillClose) {
    for (float w : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -640.0f}) {
        Screen(w, 480);
        app->m_ShowCredits = 1;
        app->m_ClickLock = 0;
        PointerDown(1, 1);
        Call();
        PointerUp();
        EXPECT_EQ(app->m_DrawN, 0);
        EXPECT_EQ(app->m_ShowCredits, 0);
    }
}

// Through the shell's update, with the mouse as the window delivers it: the
// studio logo opens the panel, a click while it slides in closes it, and the
// shell slides it out, drawing the test card until it is gone.
TEST_F(CreditsTest, TheShellSlidesThePanelInAndOutAroundAClick) {
    app->m_ShowCredits = app->m_CreditsSlide = app->m_MenuIntro = 0;
    auto click = [&](int x, int y, int updates) {
        kr_input_device->p_MouseEvent(4, 0, x, y);
        UpdateOnce(app);
        kr_input_device->p_MouseEvent(5, 0, x, y);
        for (int i = 1; i < updates; ++i) UpdateOnce(app);
    };
    auto drawsCard = [&] {
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            if (app->m_Draw[i] == 91) return true;
        }
        return false;
    };
    click(570, 32, 11);
    EXPECT_EQ(app->m_CreditsSlide, 11);
    click(320, 240, 1);
    EXPECT_EQ(app->m_ShowCredits, 0);
    EXPECT_EQ(app->m_MenuSel, 1);  // the click reached nothing below
    for (int slide = 9; slide >= 0; --slide) {
        UpdateOnce(app);
        EXPECT_TRUE(drawsCard() && app->m_CreditsSlide == slide) << slide;
    }
    UpdateOnce(app);
    EXPECT_FALSE(drawsCard());
}

}  // namespace
