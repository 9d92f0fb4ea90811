// The title menu on the bare host: slide-in, leaving, the score lists, the
// mode strip under keys, taps and drags, and activation.
#include <climits>

#include "tests/game/menu_fixture.h"

namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kEnter = 13, kEscape = 27;

class MenuScreenTest : public MenuTest {
protected:
    // The menu settled with `item` in the middle of the strip, nothing held.
    void Settle(int item) {
        app->m_Mode = 1;
        app->m_MenuIntro = app->m_KeyLock = app->m_ClickLock = 0;
        app->m_MenuSel = item;
        app->m_MenuPos = app->m_MenuTarget = static_cast<float>(1 - item) * 88;
    }
    // The pointer on item k of the strip: across in landscape, down in portrait.
    void PointAt(int k) {
        float along = app->m_MenuPos + 88.0f * (k - 1), mid = (kr_Vex_jscrw - 140) / 2;
        if (app->m_Landscape) PointerDown(static_cast<int>(mid + along), static_cast<int>(0.65f * kr_Vex_jscrh));
        else PointerDown(static_cast<int>(mid), static_cast<int>(0.6f * kr_Vex_jscrh + along));
    }
};

TEST_F(MenuScreenTest, SlidesInOver32Updates) {
    ASSERT_EQ(app->m_MenuIntro, -32);
    for (int i = 1; i <= 31; ++i) app->p_Menu();
    EXPECT_EQ(app->m_MenuIntro, -1);
    EXPECT_FLOAT_EQ(Rects().at(0)[0], 640 - 140 + 4);  // the score panel, 4 short
    app->p_Menu();
    app->p_Menu();
    EXPECT_EQ(app->m_MenuIntro, 0);
    EXPECT_FLOAT_EQ(Rects().at(0)[0], 500);
}

TEST_F(MenuScreenTest, BackEndsTheProgramOffOuya) {
    Settle(2);
    KeyDown(kEscape);
    app->m_KeyLock = 1;  // a consumed press: nothing happens yet
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 1);
    app->m_KeyLock = 0;
    EXPECT_EXIT(app->p_Menu(), ::testing::ExitedWithCode(0), "");
}

// Back (button 19) opens the quit screen, where button 10 returns to the menu
// once the locks clear and 11, 12 or back end the program.
TEST_F(MenuScreenTest, BackOnOuyaOpensTheQuitScreenWhereButton10Returns) {
    kr_Vex_isOuya = 1;
    Settle(2);
    app->m_Ctl[19] = 1;
    app->p_Menu();
    app->m_Ctl[19] = 0;
    EXPECT_EQ(app->m_Mode, 4);
    EXPECT_EQ(app->m_KeyLock + app->m_ClickLock, 2);
    app->m_Ctl[10] = 1;
    app->p_OuyaQuit();
    EXPECT_EQ(app->m_Mode, 4);
    EXPECT_TRUE(Drew("trying to QUIT!"));
    app->m_KeyLock = app->m_ClickLock = 0;
    app->p_OuyaQuit();
    EXPECT_EQ(app->m_Mode, 1);
    app->m_Ctl[10] = 0;
    for (int ctl : {11, 12, 19}) {
        app->m_Ctl[ctl] = 1;
        app->m_KeyLock = app->m_ClickLock = 0;
        EXPECT_EXIT(app->p_OuyaQuit(), ::testing::ExitedWithCode(0), "") << ctl;
        app->m_Ctl[ctl] = 0;
    }
}

// Lines by the screen's height; scores of any size drawn as their digits.
TEST_F(MenuScreenTest, ScoreListsShowAsManyLinesAsFit) {
    const std::tuple<float, float, int, const char*, const char*> cases[] = {
        {480, 900, 10, "Top10", "Last10"},  {640, 480, 10, "Top10", "Last10"}, {800, 450, 9, "Top9", "Last9"},
        {640, 200, 1, "Highscore", "Last"}, {640, 120, 1, "Highscore", "Last"}};  // room for 1 line, for none
    const int odd[] = {INT_MIN, -5, INT_MAX, 0, 123456789};
    for (int j = 0; j < 10; ++j) {
        app->m_Hi[10 + j] = j < 5 ? odd[j] : 1000 - j;  // mode 2's top ten
        app->m_Hi[40 + j] = 500 + j;                       // and its last ten
    }
    for (auto [w, h, lines, top, last] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        Screen(w, h);
        Settle(2);
        app->p_Menu();
        std::vector<std::string> panel;  // a title and its lines, twice
        for (const auto& t : Texts()) {
            if (t.first > w - 140) panel.push_back(t.second);
        }
        ASSERT_EQ(panel.size(), 2u * (lines + 1));
        EXPECT_EQ(panel[0] + "," + panel[1], std::string(top) + ",-2147483648");
        EXPECT_EQ(panel[lines + 1] + "," + panel[lines + 2], std::string(last) + ",500");
        if (lines > 2) EXPECT_EQ(panel[3], "2147483647");
    }
}

TEST_F(MenuScreenTest, KeysMoveTheSelectionWithinTheStripWithSound99) {
    const int cases[][3] = {{kRight, 1, 2}, {kDown, 3, 4}, {kRight, 4, 4}, {kLeft, 2, 1},
                            {kUp, 4, 3},    {kLeft, 1, 1}, {68 /* D */, 2, 3}, {65 /* A */, 3, 2}};
    for (const auto& [key, from, to] : cases) {
        SCOPED_TRACE(testing::Message() << key << " from " << from);
        Settle(from);
        app->m_MenuSnap = 0;
        int sfx = app->m_SfxChan;
        KeyDown(key);
        app->p_Menu();
        KeyUp(key);
        bool moved = to != from;
        EXPECT_EQ(app->m_MenuSel, to);
        EXPECT_EQ(SoundsSince(sfx), moved ? 1 : 0);
        EXPECT_EQ(app->m_KeyLock, moved ? 1 : 0);
        EXPECT_EQ(app->m_MenuSnap, moved ? to : 0);
        EXPECT_FLOAT_EQ(app->m_MenuTarget, (1 - to) * 88.0f);
    }
}

TEST_F(MenuScreenTest, TapSelectsThenATapOnTheSelectedModeStartsIt) {
    for (bool portrait : {false, true}) {
        SCOPED_TRACE(portrait);
        portrait ? Screen(480, 800) : Screen(640, 480);
        Settle(2);
        app->p_Menu();  // lays the strip out for this screen
        int sfx = app->m_SfxChan;
        PointAt(3);
        app->p_Menu();
        EXPECT_EQ(app->m_MenuSel, 3);
        EXPECT_EQ(app->m_Mode, 1);
        EXPECT_EQ(app->m_ClickLock, 1);
        PointerUp();
        app->m_KeyLock = app->m_ClickLock = 0;
        for (int i = 0; i < 60; ++i) app->p_Menu();  // the strip eases to item 3
        EXPECT_NEAR(app->m_MenuPos, -176, 1);
        PointAt(3);
        app->p_Menu();
        PointerUp();
        EXPECT_EQ(app->m_Mode, 11);
        EXPECT_EQ(app->m_GameMode, 3);
        EXPECT_EQ(SoundsSince(sfx), 2);
    }
}

// The play button (key 0) or an action button activates the selected item:
// a mode starts the game, the gear (item 4) opens the options.
TEST_F(MenuScreenTest, ActivationNeedsBothLocksClear) {
    const int cases[][6] = {  // key, item, click lock, key lock, mode, options
        {0, 1, 0, 0, 11, 0},      {0, 1, 1, 0, 1, 0},      {0, 1, 2, 0, 1, 0},  {0, 1, 0, 1, 1, 0},
        {kEnter, 2, 0, 0, 11, 0}, {kEnter, 2, 0, 1, 1, 0}, {88, 2, 0, 0, 11, 0}, {66, 2, 0, 0, 1, 0},
        {kEnter, 4, 0, 0, 1, 1}};
    for (const auto& [key, item, clickLock, keyLock, mode, options] : cases) {
        SCOPED_TRACE(testing::Message() << key << " item " << item << " locks " << clickLock << keyLock);
        Settle(item);
        app->m_ShowOptions = 0;
        app->m_ClickLock = clickLock;
        app->m_KeyLock = keyLock;
        key ? KeyDown(key) : PointerDown(640 - 70, 480 - 48);
        app->p_Menu();
        key ? KeyUp(key) : PointerUp();
        EXPECT_EQ(app->m_Mode, mode);
        EXPECT_EQ(app->m_ShowOptions, options);
    }
}

TEST_F(MenuScreenTest, DraggingPastAnEndPullsBackBy8AndSelectsTheEndItem) {
    for (auto [step, endItem] : {std::pair{-40, 4}, std::pair{40, 1}}) {
        SCOPED_TRACE(endItem);
        Settle(2);
        for (int i = 0, x = 320; i < 12; ++i, x += step) {
            PointerDown(x, 100);  // above the strip: a drag, not a tap
            app->p_Menu();
        }
        EXPECT_EQ(app->m_ClickLock, 2);
        PointerUp();
        for (int i = 0; i < 10 && app->m_MenuSpeed != 0; ++i) app->p_Menu();  // the fling dies
        int pulls = 0;
        for (float before = 0; pulls < 400; ++pulls) {
            before = app->m_MenuTarget;
            app->p_Menu();
            if (app->m_MenuTarget == before) break;
            EXPECT_NEAR(app->m_MenuTarget - before, endItem == 4 ? 8 : -8, 1e-3);
            EXPECT_EQ(app->m_MenuSel, endItem);
        }
        EXPECT_GT(pulls, 5);
    }
}

}  // namespace
