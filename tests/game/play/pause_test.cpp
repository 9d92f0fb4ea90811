// The pause panel: opening by back or the pause button, resume, and give up
// through the game-over sequence.
#include "tests/game/play_support.h"

namespace {

constexpr int kEscape = 27, kSpace = 32, kLeft = 37;

class Pause : public MenuTest {
protected:
    // A new game through mode 11, as the menu starts one.
    void SetUp() override {
        MenuTest::SetUp();
        app->m_GameMode = 2, app->m_Mode = 11;
        Update();
        ASSERT_EQ(app->m_Mode, 10);
    }
    void Tap(int key) { KeyDown(key), Update(), KeyUp(key), Update(); }
    void OpenFully() {
        Tap(kEscape), Update(20);
        ASSERT_EQ(app->m_PauseDir, 1);
        ASSERT_GE(app->m_PauseY, kr_Vex_jscrh / 2);
    }
};

TEST_F(Pause, BackOrThePauseButtonOpensThePanelWithResumeSelected) {
    for (bool byButton : {false, true}) {
        SetUp();
        app->m_PauseSel = 1;
        byButton ? (void)kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 16, 16) : KeyDown(kEscape);
        Update();
        EXPECT_EQ(app->m_Paused, 1) << byButton;
        EXPECT_EQ(app->m_PauseSel, 0);
        Update(3);  // held on, it neither closes the panel nor opens it again
        EXPECT_EQ(app->m_PauseDir, 1);
    }
}

TEST_F(Pause, ResumeByPointerSlidesThePanelAway) {
    OpenFully();
    kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 320, app->m_PauseY);
    Update();
    EXPECT_EQ(app->m_PauseDir, -1);
    Update(13);
    EXPECT_EQ(app->m_Paused + app->m_GameOverT, 0);
}

TEST_F(Pause, GiveUpEndsTheGameThroughTheGameOverSequence) {
    OpenFully();
    app->m_Score = 120;
    Tap(kLeft), KeyDown(kSpace), Update();
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Paused, 0);
    Update(89);  // the overlay's 90 updates end in the menu with the score filed
    EXPECT_EQ(app->m_Mode, 2);
    Update();
    EXPECT_EQ(app->m_Hi[40], 120);
    EXPECT_EQ(host.saves, 1);
}

}  // namespace
