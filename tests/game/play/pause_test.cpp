// SPDX-License-Identifier: Zlib
// The pause panel: opening by the pause button, resume, the keys, and give up
// through the game-over sequence.
#include "tests/game/play_support.h"

namespace {

using kr_key::Down, kr_key::Enter, kr_key::Escape, kr_key::Left, kr_key::Right, kr_key::Space, kr_key::Up;

class Pause : public MenuTest {
protected:
    // A new game through kModeNewGame, as the menu starts one.
    void SetUp() override {
        MenuTest::SetUp();
        app->m_GameMode = 2, app->m_Mode = kModeNewGame;
        Update();
        ASSERT_EQ(app->m_Mode, kModePlay);
    }
    void Tap(int key) { KeyDown(key), Update(), KeyUp(key), Update(); }
    void OpenFully() {
        Tap(Escape), Update(20);
        ASSERT_EQ(app->m_PauseDir, 1);
        ASSERT_GE(app->m_PauseY, kr_Vex_jscrh / 2);
    }
};

// The pause button opens the panel with resume selected; held on, it neither
// closes the panel nor opens it again. A press on resume slides it away.
TEST_F(Pause, ThePauseButtonOpensThePanelAndAPressOnResumeClosesIt) {
    app->m_PauseSel = 1;
    kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 16, 16);
    Update();
    EXPECT_EQ(std::vector<int>({app->m_Paused, app->m_PauseSel}), std::vector<int>({1, 0}));
    Update(20);
    EXPECT_EQ(app->m_PauseDir, 1);
    kr_input_device->p_MouseEvent(kr_event::MouseUp, 0, 16, 16), Update();
    kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 320, app->m_PauseY), Update();
    EXPECT_EQ(app->m_PauseDir, -1);
    Update(13);
    EXPECT_EQ(app->m_Paused + app->m_GameOverT, 0);
}

// Up or left from resume selects give-up and right the gear; right or down
// return from give-up, left or down from the gear; left from give-up stays.
TEST_F(Pause, KeysMoveTheRingBetweenTheButtons) {
    OpenFully();
    const int steps[][2] = {{Up, -1}, {Down, 0}, {Left, -1}, {Left, -1}, {Right, 0},
                            {Right, 1}, {Down, 0}, {Right, 1}, {Left, 0}};
    for (auto [key, selected] : steps) {
        Tap(key);
        EXPECT_EQ(app->m_PauseSel, selected) << key;
    }
}

// A pause opened again during the overlay ends with the game: the menu is
// not paused and its options box offers the credits. A second game, started
// from the menu, shows 0 from its first frame and flies.
TEST_F(Pause, GiveUpEndsTheGameThroughTheGameOverSequence) {
    OpenFully();
    app->m_Score = 120;
    Tap(Left), KeyDown(Space), Update();
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Paused, 0);
    KeyUp(Space), Update(), Tap(Escape);
    EXPECT_EQ(app->m_Paused, 1);
    Update(87);  // the overlay's 90 updates end in the menu (GameOver's tests time and file it)
    EXPECT_EQ(std::vector<int>({app->m_Hi[40], app->m_Paused}), std::vector<int>({120, 0}));
    app->m_OptionsSlide = 30, app->m_DrawN = 0, app->p_OptionBox(), app->m_OptionsSlide = 0;
    EXPECT_EQ(Texts().back().second, "Credits");

    Update(), Tap(Enter);  // the box left the locks on; nothing held clears them
    ASSERT_EQ(app->m_Mode, kModePlay);
    EXPECT_EQ(std::vector<int>({app->m_ScoreShown, app->m_GameOverT}), std::vector<int>({0, 0}));
    float y = app->m_Player[play::kY];
    KeyDown(Up), Update(8);
    EXPECT_LT(app->m_Player[play::kY], y);
}

}  // namespace
