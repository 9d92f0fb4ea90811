// SPDX-License-Identifier: Zlib
// The game shell on the bare host: loading before mode work,
// the back and credits locks, suspension with the pause rule.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <tuple>

#include "host/events.h"
#include "tests/support/game_host.h"

namespace {

class Shell : public ::testing::Test {
   protected:
    // A fresh game after start-up and the loader's 28 updates: the menu at rest.
    void Loaded() {
        app = StartBareGame(host);
        app->p_OnCreate();
        for (int i = 0; i < 28; ++i) UpdateOnce(app);
        ASSERT_EQ(app->m_LoadStep, 0);
    }
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
};

// While the loader runs the mode's work waits: kModeToMenu would go to the
// menu and the credits panel would slide. Update 29 is the first with mode work.
// The spinner's angle stays in 0..359 from any start.
TEST_F(Shell, TwentyEightLoadingUpdatesThenModeWork) {
    app->p_OnCreate();
    app->m_Mode = kModeToMenu, app->m_ShowCredits = 1, app->m_SpinAngle = INT_MAX - 20;
    for (int update = 1; update <= 28; ++update) {
        UpdateOnce(app);
        SCOPED_TRACE(update);
        EXPECT_TRUE(app->m_SpinAngle >= 0 && app->m_SpinAngle < 360) << app->m_SpinAngle;
        EXPECT_EQ(app->m_LoadStep, update < 28 ? update + 1 : 0);
        EXPECT_EQ(app->m_Mode, kModeToMenu);
        EXPECT_EQ(app->m_CreditsSlide, 0);
    }
    UpdateOnce(app);
    EXPECT_EQ(app->m_Mode, kModeMenu);
    EXPECT_EQ(app->m_CreditsSlide, 1);
}

// Back in the menu closes credits and badges and locks keys and pointer;
// options stay open; in play, or with the key lock on, nothing happens.
TEST_F(Shell, BackAndCreditsLockRule) {
    const int cases[][9] = {// mode, credits, options, badges, key lock; after: credits, badges, key, click lock
                            {kModeMenu, 1, 0, 1, 0, 0, 0, 1, 1}, {kModeMenu, 0, 1, 0, 0, 0, 0, 1, 1},
                            {kModeMenu, 1, 0, 1, 1, 1, 1, 1, 0}, {kModePlay, 1, 0, 1, 0, 1, 1, -1, 0}};
    for (auto [mode, credits, options, badges, keyLock, creditsAfter, badgesAfter, keyAfter, clickAfter] : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " panels " << credits << options << badges);
        Loaded();
        app->m_Mode = mode, app->m_ShowCredits = credits, app->m_ShowOptions = options;
        app->m_ShowBadges = badges, app->m_KeyLock = keyLock;
        kr_input_device->p_KeyEvent(kr_event::KeyDown, kr_key::Escape);
        UpdateOnce(app);
        EXPECT_EQ(std::vector<int>({app->m_ShowCredits, app->m_ShowOptions, app->m_ShowBadges, app->m_ClickLock}),
                  std::vector<int>({creditsAfter, options, badgesAfter, clickAfter}));
        if (keyAfter >= 0) EXPECT_EQ(app->m_KeyLock, keyAfter);
    }
}

// The start screen (a host whose sound waits for the player's input) is
// passed by any key or pad button as by a click; a key locks the keys so
// the menu does not take the same press. Nothing pressed stays there.
TEST_F(Shell, AnyKeyOrPadButtonPassesTheStartScreen) {
    const int cases[][3] = {// key code (0: none), mode after, key lock after
                            {0, 5, 0},      {13, 1, 1},      {32, 1, 1},       {8, 1, 1},        {27, 1, 1},
                            {65, 1, 1},     {256, 1, 1},     {256 + 7, 1, 1},  {256 + 3 * 32 + 14, 1, 1},
                            {383, 1, 1},    {416, 1, 1}};
    for (auto [key, modeAfter, lockAfter] : cases) {
        SCOPED_TRACE(key);
        Loaded();
        app->m_Mode = 5;
        app->m_KeyLock = 0;
        if (key) kr_input_device->p_KeyEvent(1, key);
        UpdateOnce(app);
        EXPECT_EQ(app->m_Mode, modeAfter);
        if (key) kr_input_device->p_KeyEvent(2, key);
        EXPECT_EQ(app->m_KeyLock, lockAfter);
        EXPECT_EQ(app->m_LoadStep, modeAfter == 1 ? 2 : 0) << "passing it starts the loader";
    }
}

// A page's host: it has no exit, and a finger is its pointer.
class PageHost : public GameTestHost {
protected:
    bool HasTrait(KrHostTrait trait) override { return trait == kKrTraitNoExit || trait == kKrTraitTouchFirst; }
};

// In the menu the back keys (Escape, backspace, delete, key 192, a pad's
// back buttons 6, 7 and 14) and anywhere F4 and the window's close end the
// program where the host lets it, and do nothing in a page.
TEST(Quitting, BackAndF4EndTheProgramOnlyWhereTheHostLetsThem) {
    const int keys[] = {27, 8, 46, 192, 256 + 6, 256 + 7, 256 + 14, 115, 432};
    for (int key : keys) {
        SCOPED_TRACE(key);
        for (bool page : {false, true}) {
            PageHost pageHost;
            GameTestHost desktopHost;
            GameTestHost& host = page ? pageHost : desktopHost;
            c_MyApp* app = StartBareGame(host);
            app->p_OnCreate();
            for (int i = 0; i < 28; ++i) UpdateOnce(app);
            app->m_Mode = 1, app->m_MenuIntro = 0, app->m_KeyLock = app->m_ClickLock = 0;
            kr_input_device->p_KeyEvent(1, key);
            // Ending the program exits with 0; a page's game goes on in the
            // menu (3).
            EXPECT_EXIT((UpdateOnce(app), std::exit(app->m_Mode == 1 ? 3 : 4)),
                        ::testing::ExitedWithCode(page ? 3 : 0), "");
        }
    }
}

// A touch-first host gets the on-screen pad; the desktop does not.
TEST(OnScreenPad, ShownWhereTheScreenIsTouched) {
    for (bool page : {false, true}) {
        PageHost pageHost;
        GameTestHost desktopHost;
        c_MyApp* app = StartBareGame(page ? pageHost : desktopHost);
        app->p_OnCreate();
        EXPECT_EQ(kr_Vex_OnScreenControls, page ? 1 : 0);
    }
}

// Suspended play pauses with its panel; elsewhere the pause is cleared.
// Both directions switch iCade off; the suspension saves.
TEST_F(Shell, SuspendAndResumeApplyThePauseRule) {
    const int cases[][4] = {{kModePlay, 1, 1, 240}, {kModeNewGame, 1, 1, 240}, {kModeMenu, 0, 0, 0}};
    for (auto [mode, paused, dir, y] : cases) {
        SCOPED_TRACE(mode);
        Loaded();
        app->m_Mode = mode;
        for (auto [callback, rate, saved] : {std::tuple{&c_MyApp::p_OnSuspend, 5, 1}, {&c_MyApp::p_OnResume, 60, 0}}) {
            const int saves = host.saves;
            app->m_Paused = app->m_PauseDir = app->m_PauseY = 7;
            app->p_iCade(1);
            (app->*callback)();
            EXPECT_EQ(std::vector<int>({int(host.UpdateRate()), host.saves - saves, app->m_Paused, app->m_PauseDir,
                                        app->m_PauseY, kr_Vex_iCadeControls}),
                      std::vector<int>({rate, saved, paused, dir, y, 0}));
        }
    }
}

}  // namespace
