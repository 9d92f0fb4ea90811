// The pause panel: opening by back or the pause button, the slide, resume,
// give up, the options gear, the key and pad selection ring, back, the
// portrait layout, the console's overscan slider and a suspended game coming
// back paused.
#include "tests/game/results_harness.h"

namespace {

constexpr int kEscape = 27, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class Pause : public ResultsTest {
protected:
    // A game with the pause panel fully open (it stops at the first step at
    // or below mid-screen).
    void OpenFully() {
        StartGame();
        Tap(kEscape);
        ASSERT_EQ(app->m_Paused, 1);
        Update(20);
        ASSERT_EQ(app->m_PauseDir, 1);
        ASSERT_GE(app->m_PauseY, kr_Vex_jscrh / 2);
    }
    // Where a panel button stands: give-up (-1), resume (0) or gear (1).
    float ButtonX(int sel) const { return kr_Vex_jscrw / 2 + sel * (app->m_Landscape ? 140 : 96); }
    float ButtonY(int sel) const {
        return app->m_PauseY - (sel == 0 ? 0 : (app->m_Landscape ? 64 : 96));
    }
    // Records of the last update: the first image record of `slot` and
    // `frame`, or null.
    const float* FindImage(int slot, int frame) const {
        for (int i = 0; i < app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            if (r[0] == slot && r[6] == frame) return r;
        }
        return nullptr;
    }
};

TEST_F(Pause, BackOrThePauseButtonOpensThePanelWithResumeSelected) {
    for (bool byButton : {false, true}) {
        SCOPED_TRACE(byButton ? "pause button" : "escape");
        SetUp();
        StartGame();
        app->m_PauseSel = 1;
        if (byButton) {
            kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 16, 16);
        } else {
            Key(kEscape, true);
        }
        Update();
        EXPECT_EQ(app->m_Paused, 1);
        EXPECT_EQ(app->m_PauseDir, 1);
        EXPECT_EQ(app->m_PauseSel, 0);
        EXPECT_EQ(byButton ? app->m_ClickLock : app->m_KeyLock, 1);
        // Held on, it neither closes the panel nor opens it again.
        Update(3);
        EXPECT_EQ(app->m_PauseDir, 1);
    }
}

TEST_F(Pause, SlidesDownInStepsOf24AndUpUntilOutOfSight) {
    app->m_Paused = 1;
    app->m_PauseDir = 1;
    app->m_PauseY = -64;
    for (int step = 1; step <= 13; ++step) {
        app->p_PauseMenu();
        ASSERT_EQ(app->m_PauseY, -64 + 24 * step);
    }
    app->p_PauseMenu();  // 248 is past mid-screen (240): it rests there
    EXPECT_EQ(app->m_PauseY, 248);

    app->m_PauseDir = -1;
    for (int y = 224; y >= -16; y -= 24) {
        app->p_PauseMenu();
        ASSERT_EQ(app->m_PauseY, y);
        ASSERT_EQ(app->m_Paused, 1) << "the game stays frozen while the panel moves";
    }
    app->p_PauseMenu();
    EXPECT_EQ(app->m_PauseY, -40);
    EXPECT_EQ(app->m_Paused, 0);

    // Closing a panel that is already out of sight unpauses at once.
    app->m_Paused = 1;
    app->m_PauseY = -64;
    app->p_PauseMenu();
    EXPECT_EQ(app->m_PauseY, -64);
    EXPECT_EQ(app->m_Paused, 0);
}

TEST_F(Pause, DimsTheGameByThePanelsDistanceFromTheTop) {
    app->m_Paused = 1;
    app->m_PauseDir = 0;
    for (int y : {-64, 0, 120, 240}) {
        app->m_PauseY = y;
        app->m_DrawN = 0;
        app->p_PauseMenu();
        const float* dim = &app->m_Draw[0];
        EXPECT_EQ(dim[0], -3717);
        EXPECT_FLOAT_EQ(dim[7], std::abs(y) / 384.0f) << y;
        EXPECT_FLOAT_EQ(dim[4] * dim[5], 640 * 480);
    }
}

TEST_F(Pause, ResumeByPointerOrKeySlidesThePanelAway) {
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "fire key" : "pointer");
        SetUp();
        OpenFully();
        if (byKey) {
            Tap(kSpace);
        } else {
            Click(ButtonX(0), ButtonY(0));
        }
        EXPECT_EQ(app->m_PauseDir, -1);
        EXPECT_EQ(app->m_GameOverT, 0);
        Update(12);
        EXPECT_EQ(app->m_Paused, 0);
        EXPECT_EQ(app->m_Mode, 10);
    }
}

TEST_F(Pause, GiveUpEndsTheGameThroughTheGameOverSequence) {
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "left, then fire" : "pointer");
        SetUp();
        OpenFully();
        app->m_Score = 120;
        if (byKey) {
            Tap(kLeft);
            ASSERT_EQ(app->m_PauseSel, -1);
            Key(kSpace, true);
        } else {
            kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, ButtonX(-1), ButtonY(-1));
        }
        Update();
        EXPECT_EQ(app->m_GameOverT, 1);
        EXPECT_EQ(app->m_Paused, 0);
        EXPECT_EQ(app->m_PauseDir, -1);
        EXPECT_EQ(app->m_PauseY, -64);
        // The overlay's 90 updates end in the menu with the score filed.
        Update(88);
        EXPECT_EQ(app->m_Mode, 10);
        Update();
        EXPECT_EQ(app->m_Mode, 2);
        Update();
        EXPECT_EQ(app->m_Mode, 1);
        EXPECT_EQ(app->m_Hi[40], 120);
        EXPECT_EQ(host.saves, 1);
    }
}

TEST_F(Pause, KeysMoveTheRingBetweenGiveUpResumeAndTheGear) {
    struct Case { int from, key, to; };
    const Case cases[] = {
        {0, kLeft, -1}, {0, kUp, -1},   {0, kRight, 1},  {0, kDown, 0},
        {-1, kLeft, -1}, {-1, kUp, -1}, {-1, kRight, 0}, {-1, kDown, 0},
        {1, kLeft, 0},  {1, kDown, 0},  {1, kRight, 1},  {1, kUp, 1},
    };
    OpenFully();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key);
        app->m_PauseSel = c.from;
        Tap(c.key);
        EXPECT_EQ(app->m_PauseSel, c.to);
        EXPECT_EQ(app->m_Paused, 1);
        EXPECT_EQ(app->m_PauseDir, 1);
        EXPECT_EQ(app->m_GameOverT, 0);
        const float* ring = FindImage(97, 6);
        ASSERT_NE(ring, nullptr);
        EXPECT_FLOAT_EQ(ring[1], ButtonX(c.to));
        EXPECT_FLOAT_EQ(ring[2], ButtonY(c.to));
    }
}

TEST_F(Pause, TheGearOpensTheOptionsByPointerOrByRightThenFire) {
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "right, then fire" : "pointer");
        SetUp();
        OpenFully();
        if (byKey) {
            Tap(kRight);
            Key(kSpace, true);
            Update();
        } else {
            kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, ButtonX(1), ButtonY(1));
            Update();
        }
        EXPECT_EQ(app->m_ShowOptions, 1);
        EXPECT_EQ(app->m_Paused, 1);
        EXPECT_EQ(app->m_PauseDir, 1);
    }
}

TEST_F(Pause, BackClosesThePanel) {
    OpenFully();
    Tap(kEscape);
    EXPECT_EQ(app->m_PauseDir, -1);
    EXPECT_EQ(app->m_GameOverT, 0);
    Update(12);
    EXPECT_EQ(app->m_Paused, 0);
}

TEST_F(Pause, PortraitPanelHasItsButtonsCloserAndHigher) {
    Screen(360, 640);
    OpenFully();
    EXPECT_EQ(app->m_PauseY, 320);
    const float* panel = nullptr;
    for (int i = 0; i < app->m_DrawN && !panel; i += 15) {
        if (app->m_Draw[i] == -3717 && app->m_Draw[i + 4] == 256) panel = &app->m_Draw[i];
    }
    ASSERT_NE(panel, nullptr);
    EXPECT_FLOAT_EQ(panel[1], 180 - 128);
    EXPECT_FLOAT_EQ(panel[2], 320 - 80);
    EXPECT_FLOAT_EQ(panel[5], 160);
    kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 180 - 96, 320 - 96);
    Update();
    EXPECT_EQ(app->m_GameOverT, 1);
}

// A game suspended while running comes back with the panel open at
// mid-screen; back then closes it.
TEST_F(Pause, ASuspendedGameResumesPaused) {
    StartGame();
    app->p_OnSuspend();
    app->p_OnResume();
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseDir, 1);
    EXPECT_EQ(app->m_PauseY, 240);
    Update(3);
    EXPECT_EQ(app->m_PauseY, 240);
    Tap(kEscape);
    EXPECT_EQ(app->m_PauseDir, -1);
}

// On the console a slider above the panel sets the overscan border: a click
// jumps between the extremes, the shoulder buttons step by 16 within 1..96.
TEST_F(Pause, ConsoleOverscanSliderJumpsAndSteps) {
    kr_Vex_isOuya = 1;
    kr_Vex_overscan = 64;
    app->m_Opt[14] = 64;
    app->m_Paused = 1;
    app->m_PauseDir = 0;
    app->m_PauseY = 248;
    auto touch = [&](bool down) {
        app->m_MouseDown = down;
        app->m_TouchDown[0] = down;
        app->m_TouchX[0] = down ? 320 : kOmitted;
        app->m_TouchY[0] = down ? 248 - 158 : kOmitted;
    };
    struct Step { bool click; int key; int expected; };
    const Step steps[] = {{true, 0, 1}, {true, 0, 96}, {false, 79, 96}, {false, 85, 80},
                          {false, 85, 64}, {true, 0, 1}, {false, 85, 1}};
    for (const Step& s : steps) {
        app->m_ClickLock = app->m_KeyLock = 0;
        touch(s.click);
        if (s.key) Key(s.key, true);
        app->p_PauseMenu();
        if (s.key) Key(s.key, false);
        EXPECT_EQ(app->m_Opt[14], s.expected);
        EXPECT_EQ(kr_Vex_overscan, s.expected);
    }
    kr_Vex_isOuya = 0;
    kr_Vex_overscan = 0;
}

}  // namespace
