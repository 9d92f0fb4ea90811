// The title menu on the bare host: slide-in, leaving, the score lists, the
// mode strip under keys, taps and drags, and activation.
#include <climits>
#include <cmath>

#include "tests/game/menu_fixture.h"

namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kEnter = 13, kEscape = 27;

class MenuScreenTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_Opt[5] = 1;  // effects on, so sounds can be counted
    }

    // The menu settled with `item` in the middle of the strip.
    void Settle(int item) {
        app->m_MenuIntro = 0;
        app->m_MenuSel = item;
        app->m_MenuPos = app->m_MenuTarget = static_cast<float>(1 - item) * 88;
    }

    // Where item k of the horizontal strip is drawn now.
    float ItemX(int k) const { return (kr_Vex_jscrw - 140) / 2 + app->m_MenuPos + 88.0f * (k - 1); }
    float StripY() const { return 0.65f * kr_Vex_jscrh; }

    // What the shell does between updates once nothing is held.
    void Unlock() { app->m_KeyLock = app->m_ClickLock = 0; }
};

TEST_F(MenuScreenTest, SlidesInOver32Updates) {
    ASSERT_EQ(app->m_MenuIntro, -32);
    for (int i = 1; i <= 31; ++i) app->p_Menu();
    EXPECT_EQ(app->m_MenuIntro, -1);
    // The score panel is still 4 pixels right of its place.
    ASSERT_FALSE(Rects().empty());
    EXPECT_FLOAT_EQ(Rects()[0][0], 640 - 140 + 4);
    app->p_Menu();
    EXPECT_EQ(app->m_MenuIntro, 0);
    EXPECT_FLOAT_EQ(Rects()[0][0], 500);
    for (int i = 0; i < 10; ++i) app->p_Menu();
    EXPECT_EQ(app->m_MenuIntro, 0);
}

TEST_F(MenuScreenTest, BackEndsTheProgramOffOuya) {
    Settle(2);
    KeyDown(kEscape);
    app->m_KeyLock = 1;  // a consumed press: nothing happens yet
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 1);
    Unlock();
    EXPECT_EXIT(app->p_Menu(), ::testing::ExitedWithCode(0), "");
}

TEST_F(MenuScreenTest, BackOnOuyaOpensTheQuitScreenWhereButton10Returns) {
    kr_Vex_isOuya = 1;
    Settle(2);
    KeyDown(kEscape);  // not back on OUYA, but the quit screen's own key
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 4);
    EXPECT_EQ(app->m_KeyLock, 1);
    EXPECT_EQ(app->m_ClickLock, 1);
    KeyUp(kEscape);

    app->m_Mode = 1;
    Unlock();
    app->m_Ctl[19] = 1;  // the console's back button
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 4);
    app->m_Ctl[19] = 0;

    app->p_OuyaQuit();  // locks still set: stays
    EXPECT_EQ(app->m_Mode, 4);
    EXPECT_TRUE(Drew(Glyphs("trying to QUIT!")));
    Unlock();
    app->m_Ctl[10] = 1;
    app->p_OuyaQuit();
    EXPECT_EQ(app->m_Mode, 1);
    EXPECT_EQ(app->m_KeyLock, 1);
}

TEST_F(MenuScreenTest, QuitScreenButtons11And12AndBackEndTheProgram) {
    kr_Vex_isOuya = 1;
    for (int ctl : {11, 12, 19}) {
        app->m_Ctl[ctl] = 1;
        EXPECT_EXIT(app->p_OuyaQuit(), ::testing::ExitedWithCode(0), "") << "m_Ctl " << ctl;
        app->m_Ctl[ctl] = 0;
    }
}

struct ScoreLinesCase {
    float w, h;
    int lines;
    const char* top;
    const char* last;
};

TEST_F(MenuScreenTest, ScoreListsShowAsManyLinesAsFit) {
    const ScoreLinesCase cases[] = {
        {480, 900, 10, "Top 10", "Last 10"},  // tall: stops at ten
        {640, 480, 10, "Top 10", "Last 10"},
        {800, 450, 9, "Top 9", "Last 9"},
        {640, 200, 1, "Highscore", "Last"},  // 10 pixels of room: one line
        {640, 120, 1, "Highscore", "Last"},  // none fits: still one
    };
    for (const ScoreLinesCase& c : cases) {
        Screen(c.w, c.h);
        Settle(2);
        for (int j = 0; j < 10; ++j) {
            app->m_Hi[10 + j] = 1000 - j;  // mode 2's top ten
            app->m_Hi[40 + j] = 500 + j;   // and its last ten
        }
        app->p_Menu();
        // The panel's texts in list order: a title and its lines, twice.
        std::vector<std::string> panel;
        for (const DrawnText& t : Texts()) {
            if (t.x > c.w - 140) panel.push_back(t.text);
        }
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        ASSERT_EQ(panel.size(), 2u * (c.lines + 1));
        EXPECT_EQ(panel[0], Glyphs(c.top));
        EXPECT_EQ(panel[c.lines + 1], Glyphs(c.last));
        EXPECT_TRUE(Drew("1000"));
        EXPECT_TRUE(Drew("500"));
    }
}

TEST_F(MenuScreenTest, OddScoresAreDrawnAsTheirLastDigits) {
    Settle(1);
    const int scores[] = {INT_MIN, -5, INT_MAX, 0, 123456789};
    for (int j = 0; j < 10; ++j) app->m_Hi[j] = app->m_Hi[30 + j] = j < 5 ? scores[j] : 42;
    app->p_Menu();
    for (const char* s : {"-2147483648", "-5", "2147483647", "0", "123456789"}) {
        int found = 0;
        for (const DrawnText& t : Texts()) found += t.text == s;
        EXPECT_EQ(found, 2) << s;
    }
}

TEST_F(MenuScreenTest, NoListsWhileAPanelIsRequestedOrTheGearIsSelected) {
    Settle(4);
    app->p_Menu();
    EXPECT_FALSE(Drew(Glyphs("Top 10")));
    Settle(1);
    app->m_ShowCredits = 1;
    app->p_Menu();
    EXPECT_FALSE(Drew(Glyphs("Top 10")));
}

struct KeyCase {
    int key;
    int from, to;
};

TEST_F(MenuScreenTest, KeysMoveTheSelectionWithinTheStrip) {
    const KeyCase cases[] = {
        {kRight, 1, 2}, {kDown, 3, 4}, {kRight, 4, 4}, {kLeft, 2, 1},
        {kUp, 4, 3},    {kLeft, 1, 1}, {68 /* D */, 2, 3}, {65 /* A */, 3, 2},
    };
    for (const KeyCase& c : cases) {
        Settle(c.from);
        app->m_MenuSnap = 0;
        Unlock();
        int sfx = app->m_SfxChan;
        KeyDown(c.key);
        app->p_Menu();
        KeyUp(c.key);
        EXPECT_EQ(app->m_MenuSel, c.to) << c.key << " from " << c.from;
        bool moved = c.to != c.from;
        EXPECT_EQ(SoundsSince(sfx), moved ? 1 : 0) << c.key << " from " << c.from;
        EXPECT_EQ(app->m_KeyLock, moved ? 1 : 0);
        if (moved) {
            EXPECT_EQ(app->m_MenuSnap, c.to);
            EXPECT_FLOAT_EQ(app->m_MenuTarget, (1 - c.to) * 88.0f);
        }
    }
}

TEST_F(MenuScreenTest, AHeldKeyMovesOnceUntilTheLockClears) {
    Settle(1);
    KeyDown(kRight);
    for (int i = 0; i < 5; ++i) app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 2);
    app->m_KeyLock = 0;
    app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 3);
}

TEST_F(MenuScreenTest, SelectionFollowsTheStripAndSetsTheGameMode) {
    Settle(2);
    app->m_MenuSel = 9;  // out of range: back to the first item
    app->m_MenuPos = app->m_MenuTarget = -176;  // item 3 in the middle
    app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 3);  // the nearest item, once free to snap
    app->p_Menu();
    EXPECT_EQ(app->m_GameMode, 3);
}

TEST_F(MenuScreenTest, TapSelectsThenATapOnTheSelectedModeStartsIt) {
    Settle(2);
    int sfx = app->m_SfxChan;
    PointerDown(static_cast<int>(ItemX(3)), static_cast<int>(StripY()));
    app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 3);
    EXPECT_EQ(app->m_Mode, 1);
    EXPECT_EQ(app->m_ClickLock, 1);
    EXPECT_EQ(app->m_KeyLock, 1);
    EXPECT_EQ(SoundsSince(sfx), 1);
    PointerUp();
    Unlock();
    for (int i = 0; i < 60; ++i) app->p_Menu();  // the strip eases to item 3
    EXPECT_NEAR(app->m_MenuPos, -176, 1);
    EXPECT_EQ(app->m_MenuSel, 3);

    PointerDown(static_cast<int>(ItemX(3)), static_cast<int>(StripY()));
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 11);
    EXPECT_EQ(app->m_GameMode, 3);
    EXPECT_EQ(SoundsSince(sfx), 2);
}

TEST_F(MenuScreenTest, ATapOnTheSelectedGearOpensTheOptions) {
    Settle(4);
    app->m_OptionSel = 3;
    PointerDown(static_cast<int>(ItemX(4)), static_cast<int>(StripY()));
    app->p_Menu();
    EXPECT_EQ(app->m_ShowOptions, 1);
    EXPECT_EQ(app->m_OptionSel, 0);
    EXPECT_EQ(app->m_Mode, 1);
}

struct LockCase {
    int clickLock, keyLock;
    bool starts;
};

TEST_F(MenuScreenTest, ActivationNeedsBothLocksClear) {
    const LockCase cases[] = {{0, 0, true}, {1, 0, false}, {2, 0, false}, {0, 1, false}, {1, 1, false}};
    for (const LockCase& c : cases) {
        Settle(1);
        app->m_Mode = 1;
        app->m_ClickLock = c.clickLock;
        app->m_KeyLock = c.keyLock;
        PointerDown(640 - 70, 480 - 48);  // the play button
        app->p_Menu();
        PointerUp();
        EXPECT_EQ(app->m_Mode, c.starts ? 11 : 1) << c.clickLock << "," << c.keyLock;
        EXPECT_EQ(app->m_GameMode, 1);
    }
}

TEST_F(MenuScreenTest, ButtonsActivateTheSelectedItem) {
    for (int key : {kEnter, 32 /* space */, 88 /* X */, 67 /* C */, 86 /* V */}) {
        Settle(2);
        app->m_Mode = 1;
        Unlock();
        KeyDown(key);
        app->p_Menu();
        KeyUp(key);
        EXPECT_EQ(app->m_Mode, 11) << key;
    }
    Settle(2);
    app->m_Mode = 1;
    Unlock();
    KeyDown(66);  // B: button 5 does not start a game
    app->p_Menu();
    EXPECT_EQ(app->m_Mode, 1);
}

TEST_F(MenuScreenTest, StudioLogoAndRightShoulderOpenTheCredits) {
    Settle(2);
    PointerDown(640 - 70, 32);
    app->p_Menu();
    EXPECT_EQ(app->m_ShowCredits, 1);
    EXPECT_EQ(app->m_ClickLock, 1);
    PointerUp();

    Settle(2);
    app->m_ShowCredits = 0;
    Unlock();
    KeyDown(78);  // N: button 6
    app->p_Menu();
    EXPECT_EQ(app->m_ShowCredits, 1);
    EXPECT_EQ(app->m_KeyLock, 1);
    EXPECT_EQ(app->m_ClickLock, 0);
}

TEST_F(MenuScreenTest, KeysAndStripAreIdleWhileAPanelIsRequested) {
    Settle(2);
    app->m_ShowOptions = 1;
    KeyDown(kRight);
    KeyDown(kEnter);
    app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 2);
    EXPECT_EQ(app->m_Mode, 1);
}

struct DragCase {
    int step;     // pointer movement per update
    int endItem;  // the item the strip is pulled back to
};

TEST_F(MenuScreenTest, DraggingPastAnEndPullsBackBy8AndSelectsTheEndItem) {
    for (const DragCase& c : {DragCase{-40, 4}, DragCase{40, 1}}) {
        Settle(2);
        Unlock();
        int x = 320;
        for (int i = 0; i < 12; ++i, x += c.step) {
            PointerDown(x, 100);  // above the strip: a drag, not a tap
            app->p_Menu();
        }
        EXPECT_EQ(app->m_ClickLock, 2);
        PointerUp();
        for (int i = 0; i < 10 && app->m_MenuSpeed != 0; ++i) app->p_Menu();  // the fling dies
        ASSERT_EQ(app->m_MenuSpeed, 0);
        int pulls = 0;
        for (int i = 0; i < 400; ++i) {
            float before = app->m_MenuTarget;
            app->p_Menu();
            float moved = app->m_MenuTarget - before;
            if (moved == 0) break;
            EXPECT_NEAR(moved, c.endItem == 4 ? 8 : -8, 1e-3);
            EXPECT_EQ(app->m_MenuSel, c.endItem);
            ++pulls;
        }
        EXPECT_GT(pulls, 5);
        EXPECT_EQ(app->m_MenuSel, c.endItem);
        float end = ItemX(c.endItem);
        if (c.endItem == 4) {
            EXPECT_GE(end, 0.25f * 640 - 8);
        } else {
            EXPECT_LE(end, 0.75f * 500 + 8);
        }
    }
}

TEST_F(MenuScreenTest, PortraitStripRunsDownTheScreen) {
    Screen(480, 800);
    Settle(2);
    for (int i = 0; i < 3; ++i) app->p_Menu();
    EXPECT_EQ(app->m_MenuH, 1);
    // Item 3 lies 88 pixels below the centre point.
    PointerDown(static_cast<int>((480 - 140) / 2), static_cast<int>(0.6f * 800 + app->m_MenuPos + 176));
    app->p_Menu();
    EXPECT_EQ(app->m_MenuSel, 3);
}

}  // namespace
