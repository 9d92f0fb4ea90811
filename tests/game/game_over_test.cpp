// The game-over overlay and the return to the menu: the 90 updates of the
// overlay, the counter falling from 73 in the menu, the texts' slide, the
// rank words, and the score filed into the top and last tables and saved.
#include "tests/game/results_harness.h"

namespace {

// A top table of 100, 90, .. 10 for mode `mode`.
void FillTop(c_MyApp* app, int mode) {
    for (int j = 0; j < 10; ++j) app->m_Hi[10 * (mode - 1) + j] = 100 - 10 * j;
}

std::string Text(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i]);
    return out;
}

std::vector<int> Table(c_MyApp* app, int first) {
    return std::vector<int>(&app->m_Hi[first], &app->m_Hi[first] + 10);
}

class GameOver : public ResultsTest {
protected:
    void SetUp() override {
        ResultsTest::SetUp();
        app->m_Mode = 10;
        app->m_GameOverT = 1;
        app->m_TunePlaying = 1;
    }
};

TEST_F(GameOver, NinetiethCallReturnsToTheMenuAndThirtySevenMoreClearTheOverlay) {
    app->p_GameOver();
    EXPECT_EQ(app->m_DrawN, 0) << "the first call only starts the counter";
    for (int call = 2; call <= 89; ++call) app->p_GameOver();
    EXPECT_EQ(app->m_Mode, 10);
    EXPECT_EQ(app->m_GameOverAnim, 89);
    EXPECT_EQ(app->m_TunePlaying, 1);

    app->p_GameOver();  // the 90th: 75, and the first step down in the menu
    EXPECT_EQ(app->m_Mode, 2);
    EXPECT_EQ(app->m_GameOverAnim, 73);
    EXPECT_EQ(app->m_TunePlaying, 0);

    app->m_Mode = 1;
    for (int call = 1; call <= 36; ++call) app->p_GameOver();
    EXPECT_EQ(app->m_GameOverAnim, 1);
    app->p_GameOver();
    EXPECT_EQ(app->m_GameOverAnim, 0);
    app->m_DrawN = 0;
    app->p_GameOver();
    EXPECT_EQ(app->m_GameOverAnim, 0);
    EXPECT_EQ(app->m_DrawN, 0) << "idle: nothing drawn";
}

TEST_F(GameOver, TextsSlideInTwelvePixelsAnUpdateUpTo45PercentOfTheHeight) {
    struct Case { float h; int calls, y; };
    const Case cases[] = {{480, 2, 12}, {480, 18, 204}, {480, 19, 216}, {480, 60, 216},
                          {300, 12, 132}, {300, 13, 135}};
    for (const Case& c : cases) {
        SetUp();
        Screen(640, c.h);
        for (int i = 0; i < c.calls; ++i) app->p_GameOver();
        EXPECT_EQ(app->m_PosY, c.y) << c.h << " after " << c.calls;
    }
}

TEST_F(GameOver, DimsUpTo70PercentAndShowsTheRankOnlyForATopTenScore) {
    FillTop(app, 2);
    for (int score : {50, 5}) {
        SCOPED_TRACE(score);
        app->m_Score = score;
        app->m_GameOverAnim = 20;
        app->m_DrawN = 0;
        app->p_GameOver();
        EXPECT_FLOAT_EQ(app->m_Draw[7], 0.5f);  // 20 / 40
        bool box = false;
        for (int i = 0; i < app->m_DrawN; i += 15) {
            box = box || (app->m_Draw[i] == -3717 && app->m_Draw[i + 10] == 0 && app->m_Draw[i + 11] == 125);
        }
        EXPECT_EQ(box, score == 50);
        EXPECT_EQ(app->m_I, score == 50 ? 6 : 0);
    }
    app->m_GameOverAnim = 80;
    app->m_DrawN = 0;
    app->p_GameOver();
    EXPECT_FLOAT_EQ(app->m_Draw[7], 0.7f);
}

TEST(MyNth, RanksTheScoreInTheModesTopTen) {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    struct Case { bool filled; int mode, score, rank; const char* word; };
    const Case cases[] = {
        {false, 2, 0, 1, "1st!"},    // an empty table: any score ranks first
        {false, 2, -5, 0, ""},       // signed comparison
        {true, 2, 1000, 1, "1st!"},  {true, 2, 100, 1, "1st!"}, {true, 2, 95, 2, "2nd"},
        {true, 2, 80, 3, "3rd"},     {true, 2, 60, 5, "5th"},   // a tie with the fifth
        {true, 2, 65, 5, "5th"},     {true, 2, 30, 8, "8th"},   {true, 2, 10, 10, "10th"},
        {true, 2, 9, 0, ""},         // below the tenth
        {true, 3, 55, 6, "6th"},     {true, 1, 20, 9, "9th"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 150; ++i) app->m_Hi[i] = 0;
        if (c.filled) FillTop(app, c.mode);
        if (c.filled) FillTop(app, c.mode == 1 ? 2 : 1);  // another mode's table is not read
        for (int j = 0; c.filled && c.mode != 1 && j < 10; ++j) app->m_Hi[j] = 5000;
        app->m_GameMode = c.mode;
        app->m_Score = c.score;
        EXPECT_EQ(Text(app->p_MyNth()), std::string(c.word)) << c.score;
        EXPECT_EQ(app->m_I, c.rank) << c.score;
    }
}

TEST(LoadMenu, FilesTheScoreIntoTheTopAndLastTablesAndSaves) {
    struct Case { int score; std::vector<int> top; };
    const Case cases[] = {
        {10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}},    // equal to the tenth: not entered
        {1000, {1000, 100, 90, 80, 70, 60, 50, 40, 30, 20}},  // first; the tenth is lost
        {55, {100, 90, 80, 70, 60, 55, 50, 40, 30, 20}},
        {60, {100, 90, 80, 70, 60, 60, 50, 40, 30, 20}},      // after an equal entry
        {11, {100, 90, 80, 70, 60, 50, 40, 30, 20, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.score);
        GameTestHost host;
        c_MyApp* app = StartBareGame(host);
        FillTop(app, 3);
        for (int j = 0; j < 10; ++j) app->m_Hi[50 + j] = j + 1;  // mode 3's last ten
        app->m_GameMode = 3;
        app->m_Score = c.score;
        app->p_LoadMenu();
        EXPECT_EQ(Table(app, 20), c.top);
        EXPECT_EQ(Table(app, 50), (std::vector<int>{c.score, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        for (int i : {0, 10, 30, 40}) EXPECT_EQ(Table(app, i), std::vector<int>(10, 0)) << i;
        EXPECT_EQ(host.saves, 1);

        // What was saved restores the same tables.
        std::vector<int> saved(&app->m_Hi[0], &app->m_Hi[0] + 60);
        c_MyApp* again = StartBareGame(host);
        again->p_Load();
        EXPECT_EQ(std::vector<int>(&again->m_Hi[0], &again->m_Hi[0] + 60), saved);
    }
}

// The whole return through the shell: the game ends, the menu files the
// score, and the overlay fades over the menu with the rank from the updated
// table.
TEST_F(ResultsTest, AFinishedGameReturnsToTheMenuWithItsScoreFiled) {
    FillTop(app, 1);
    StartGame(1);
    app->m_Score = 75;
    app->m_GameOverT = 1;
    Update(89);
    EXPECT_EQ(app->m_Mode, 10);
    Update();  // the overlay's 90th call, and its first in the menu modes
    EXPECT_EQ(app->m_Mode, 2);
    EXPECT_EQ(app->m_GameOverAnim, 71);
    EXPECT_EQ(app->m_TunePlaying, 0);
    Update();
    EXPECT_EQ(app->m_Mode, 1);
    EXPECT_EQ(Table(app, 0), (std::vector<int>{100, 90, 80, 75, 70, 60, 50, 40, 30, 20}));
    EXPECT_EQ(app->m_Hi[30], 75);
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(app->m_GameOverAnim, 69);
    EXPECT_EQ(app->m_I, 4);
    Update(34);
    EXPECT_EQ(app->m_GameOverAnim, 1);
    Update();
    EXPECT_EQ(app->m_GameOverAnim, 0);
    EXPECT_EQ(app->m_Mode, 1);
}

}  // namespace
