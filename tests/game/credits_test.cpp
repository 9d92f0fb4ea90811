// The credits panel on the bare host: the frame's geometry, the scroll of
// the credit lines, closing, and the lines themselves.
#include <cmath>
#include <limits>
#include <set>

#include "tests/game/menu_fixture.h"

namespace {

class CreditsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_Opt[5] = 1;
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
        int last = 0, line = app->m_CreditE;
        for (int i = 1; i <= updates; ++i) {
            Call();
            if (app->m_CreditE != line) {
                gaps.push_back(i - last);
                last = i;
                line = app->m_CreditE;
            }
        }
        return gaps;
    }
};

struct FrameCase {
    float w, h;
    float cell;
    int nx, ny;
};

TEST_F(CreditsTest, FrameGeometryFollowsTheScreen) {
    const FrameCase cases[] = {
        {640, 480, 640.0f / 12, 12, 9},
        {800, 450, 800.0f / 12, 12, 6},
        {480, 640, 640.0f / 12, 9, 12},
        {1200, 60, 100, 12, 0},  // a strip: one row of tiles
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        Screen(c.w, c.h);
        Call();
        EXPECT_EQ(app->m_CreditA, c.nx);
        EXPECT_EQ(app->m_CreditB, c.ny);
        // The first tile is the top-left corner: a cell plus one, centred on
        // the frame's corner.
        ASSERT_FALSE(Rects().empty());
        std::vector<float> corner = Rects()[0];
        float x0 = c.w / 2 - c.cell * static_cast<float>(c.nx) / 2;
        float y0 = c.h / 2 - c.cell * static_cast<float>(c.ny) / 2;
        EXPECT_NEAR(corner[2], c.cell + 1, 1e-3);
        EXPECT_NEAR(corner[0], x0 - c.cell / 2, 1e-3);
        EXPECT_NEAR(corner[1], y0 - c.cell / 2, 1e-3);
        EXPECT_EQ(app->m_Draw[7], 1.0f);  // fully shown
    }
}

TEST_F(CreditsTest, TilesFlyInFromOutsideAndGrowAsTheyCome) {
    app->m_CreditsSlide = 10;  // k = 20, tiles at half size
    Call();
    float cell = 640.0f / 12;
    ASSERT_FALSE(Rects().empty());
    std::vector<float> corner = Rects()[0];
    float s = cell * 10 / 20;
    // Corner (0, 0): c = -6, so it flies from 20 * 7 * 7 pixels up and left.
    EXPECT_NEAR(corner[0], 0 - 20 * 49 - s / 2, 1e-3);
    EXPECT_NEAR(corner[2], s + 1, 1e-3);
    EXPECT_NEAR(app->m_Draw[7], 10.0f / 30, 1e-6);
}

TEST_F(CreditsTest, BorderStripesRunThroughTheirGradients) {
    Call();
    // Tile (1, 0): the top row's first stripe is u = 0: (0, 255, 0).
    // Records: tile (0, 0) square; tile (0, 1) square and stripe; ...
    // Find the first stripe of the top row by its geometry.
    float cell = 640.0f / 12;
    bool found = false;
    for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
        const float* r = &app->m_Draw[i];
        if (r[0] != kOmitted || std::fabs(r[4] - (cell - 16)) > 1e-3 || std::fabs(r[1] - (cell - cell / 2 + 8)) > 1e-3)
            continue;
        EXPECT_EQ(r[10], 0);
        EXPECT_EQ(r[11], 255);
        EXPECT_EQ(r[12], 0);
        found = true;
        break;
    }
    EXPECT_TRUE(found);
}

TEST_F(CreditsTest, ALineEvery53Or54UpdatesAndAbout9WithADirectionHeld) {
    std::vector<int> gaps = LineGaps(600);
    ASSERT_GE(gaps.size(), 10u);
    EXPECT_EQ(gaps[0], 54);
    for (int gap : gaps) EXPECT_TRUE(gap == 53 || gap == 54) << gap;

    KeyDown(38);  // up
    gaps = LineGaps(300);
    ASSERT_GE(gaps.size(), 30u);
    gaps.erase(gaps.begin());  // the first one started under the slow scroll
    for (int gap : gaps) EXPECT_TRUE(gap == 8 || gap == 9) << gap;
    KeyUp(38);

    KeyDown(40);  // down on a pad or the keyboard scrolls the same way
    gaps = LineGaps(100);
    gaps.erase(gaps.begin());
    for (int gap : gaps) EXPECT_TRUE(gap == 8 || gap == 9) << gap;
}

TEST_F(CreditsTest, EightLinesShowAroundTheOriginAndTheEndMarkerNever) {
    Call();
    EXPECT_TRUE(Drew("VORNHELM"));
    std::string marker = Glyphs(Narrow(kr_Vex_CreditText[48]));
    for (int i = 0; i < 48 * 54; ++i) {
        Call();
        ASSERT_FALSE(Drew(marker)) << "update " << i;
    }
    EXPECT_GE(app->m_CreditE, 48);  // the lines went round
}

TEST_F(CreditsTest, ClickClosesEvenWhileSlidingIn) {
    app->m_CreditsSlide = 10;
    int sfx = app->m_SfxChan;
    PointerDown(10, 10);
    app->m_ClickLock = 1;  // the press that opened the panel
    Call();
    EXPECT_EQ(app->m_ShowCredits, 1);
    app->m_ClickLock = 0;
    Call();
    EXPECT_EQ(app->m_ShowCredits, 0);
    EXPECT_EQ(app->m_ClickLock, 1);
    EXPECT_EQ(SoundsSince(sfx), 1);
}

TEST_F(CreditsTest, Buttons15And10And11Close) {
    const struct {
        int key;
        bool closes;
    } cases[] = {{78, true}, {32, true}, {88, true}, {67, false}, {38, false}};
    for (const auto& c : cases) {
        app->m_ShowCredits = 1;
        app->m_KeyLock = 0;
        KeyDown(c.key);
        Call();
        KeyUp(c.key);
        EXPECT_EQ(app->m_ShowCredits, c.closes ? 0 : 1) << c.key;
        EXPECT_EQ(app->m_KeyLock, c.closes ? 1 : 0) << c.key;
    }
    app->m_ShowCredits = 1;
    app->m_KeyLock = 1;
    KeyDown(32);
    Call();
    EXPECT_EQ(app->m_ShowCredits, 1);
}

TEST_F(CreditsTest, DegenerateScreensDrawNothingButStillClose) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float w : {nan, inf, -640.0f}) {
        Screen(w, 480);
        app->m_ShowCredits = 1;
        app->m_ClickLock = 0;
        PointerDown(1, 1);
        Call();
        PointerUp();
        EXPECT_EQ(app->m_DrawN, 0);
        EXPECT_EQ(app->m_ShowCredits, 0);
    }
    Screen(0, 480);  // no width: one column of tiles
    app->m_ShowCredits = 1;
    Call();
    EXPECT_EQ(app->m_CreditA, 0);
    EXPECT_EQ(app->m_CreditB, 12);
}

// Through the shell's update, with the mouse as the window delivers it.
TEST_F(CreditsTest, TheShellSlidesThePanelInAndOutAroundAClick) {
    app->m_ShowCredits = 0;
    app->m_CreditsSlide = 0;
    app->m_MenuIntro = 0;
    auto drawsCard = [&] {
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            if (app->m_Draw[i] == 91) return true;
        }
        return false;
    };
    kr_input_device->p_MouseEvent(4, 0, 570, 32);  // the studio logo
    UpdateOnce(app);
    EXPECT_EQ(app->m_ShowCredits, 1);
    EXPECT_EQ(app->m_CreditsSlide, 1);
    kr_input_device->p_MouseEvent(5, 0, 570, 32);
    for (int i = 0; i < 10; ++i) UpdateOnce(app);
    EXPECT_EQ(app->m_CreditsSlide, 11);
    EXPECT_EQ(app->m_ClickLock, 0);

    kr_input_device->p_MouseEvent(4, 0, 320, 240);  // anywhere, while still sliding in
    UpdateOnce(app);
    EXPECT_EQ(app->m_ShowCredits, 0);
    EXPECT_EQ(app->m_CreditsSlide, 10);
    EXPECT_EQ(app->m_MenuSel, 1);  // the click reached nothing below
    kr_input_device->p_MouseEvent(5, 0, 320, 240);
    for (int slide = 9; slide >= 0; --slide) {
        UpdateOnce(app);
        EXPECT_EQ(app->m_CreditsSlide, slide);
        EXPECT_TRUE(drawsCard()) << slide;  // drawn on its way out
    }
    UpdateOnce(app);
    EXPECT_FALSE(drawsCard());
    EXPECT_EQ(app->m_Mode, 1);
}

TEST(CreditLines, FortyEightLinesInSectionsThenTheEndMarker) {
    Array<String> lines = kr_Vex_CreditLines();
    ASSERT_EQ(lines.Length(), 49);
    const std::set<int> empty = {0, 4, 6, 10, 12, 14, 17, 22, 23, 25, 27, 35, 37, 46};
    std::set<std::string> seen;
    for (int i = 0; i < 48; ++i) {
        std::string line = Narrow(lines[i]);
        EXPECT_EQ(line.empty(), empty.count(i) == 1) << i << ": " << line;
        EXPECT_LE(line.size(), 36u) << line;  // fits the test card
        for (char c : line) EXPECT_TRUE(c >= 32 && c < 127) << line;
        if (!line.empty()) EXPECT_TRUE(seen.insert(line).second) << "twice: " << line;
    }
    EXPECT_FALSE(lines[48].Length() == 0);
}

}  // namespace
