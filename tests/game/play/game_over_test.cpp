// SPDX-License-Identifier: Zlib
// The game-over overlay and the return to the menu: the 90 updates of the
// overlay and the 37 after, the rank words, and the score filed and saved.
#include "tests/game/play_support.h"

namespace {

// A top table of 100, 90, .. 10 for mode `mode`.
void FillTop(c_MyApp* app, int mode) {
    for (int j = 0; j < 10; ++j) app->m_Hi[10 * (mode - 1) + j] = 100 - 10 * j;
}
std::vector<int> Table(c_MyApp* app, int first) { return std::vector<int>(&app->m_Hi[first], &app->m_Hi[first] + 10); }

using GameOver = MenuTest;

TEST_F(GameOver, NinetiethCallReturnsToTheMenuAndThirtySevenMoreClearTheOverlay) {
    app->m_Mode = kModePlay, app->m_GameOverT = app->m_TunePlaying = 1;
    for (int call = 1; call <= 89; ++call) app->p_GameOver();
    EXPECT_EQ(std::vector<int>({app->m_Mode, app->m_TunePlaying}), std::vector<int>({kModePlay, 1}));
    app->p_GameOver();  // the 90th: 75, and the first step down in the menu
    EXPECT_EQ(std::vector<int>({app->m_Mode, app->m_GameOverAnim, app->m_TunePlaying}), std::vector<int>({kModeToMenu, 73, 0}));
    app->m_Mode = kModeMenu;
    for (int call = 1; call <= 37; ++call) app->p_GameOver();
    app->m_DrawN = 0, app->p_GameOver();
    EXPECT_EQ(std::vector<int>({app->m_GameOverAnim, app->m_DrawN}), std::vector<int>({0, 0})) << "idle: nothing drawn";
}

TEST_F(GameOver, MyNthRanksTheScoreInTheModesTopTen) {
    struct Case { bool filled; int mode, score, rank; const char* word; };
    const Case cases[] = {
        {false, 2, 0, 1, "1st!"}, {false, 2, -5, 0, ""},  // empty table; signed comparison
        {true, 2, 1000, 1, "1st!"}, {true, 2, 95, 2, "2nd"}, {true, 2, 80, 3, "3rd"}, {true, 2, 60, 5, "5th"},
        {true, 2, 10, 10, "10th"},  {true, 2, 9, 0, ""},     {true, 3, 55, 6, "6th"}, {true, 1, 20, 9, "9th"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 150; ++i) app->m_Hi[i] = 0;
        if (c.filled) FillTop(app, c.mode), FillTop(app, c.mode == 1 ? 2 : 1);  // another mode's is not read
        app->m_GameMode = c.mode, app->m_Score = c.score;
        EXPECT_TRUE(app->p_MyNth() == String(c.word)) << c.score;
        EXPECT_EQ(app->m_I, c.rank) << c.score;
    }
}

TEST_F(GameOver, LoadMenuFilesTheScoreIntoTheTopAndLastTablesAndSaves) {
    struct Case { int score; std::vector<int> top; };
    const Case cases[] = {
        {10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},    // equal to the tenth: not entered
        {1000, {1000, 100, 90, 80, 70, 60, 50, 40, 30, 20}},  // first; the tenth is lost
        {60, {100, 90, 80, 70, 60, 60, 50, 40, 30, 20}},      // after an equal entry
        {11, {100, 90, 80, 70, 60, 50, 40, 30, 20, 11}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 60; ++i) app->m_Hi[i] = 0;
        FillTop(app, 3);
        for (int j = 0; j < 10; ++j) app->m_Hi[50 + j] = j + 1;  // mode 3's last ten
        app->m_GameMode = 3, app->m_Score = c.score;
        int saves = host.saves;
        app->p_LoadMenu();
        EXPECT_EQ(Table(app, 20), c.top) << c.score;
        EXPECT_EQ(Table(app, 50), (std::vector<int>{c.score, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(host.saves, saves + 1);
    }
}

}  // namespace
