// The options box on the bare host: its slide, the rows and their values,
// closing with and without saving, and the OUYA overscan slider.
#include <climits>

#include "tests/game/menu_fixture.h"

namespace {

constexpr int kEnter = 13, kEscape = 27, kUp = 38, kDown = 40;

class OptionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_Opt[5] = 1;
        app->m_ShowOptions = 1;
        app->m_OptionsSlide = 30;
    }

    // One call on a fresh draw list, as the shell's frame would give it.
    void Call() {
        app->m_DrawN = 0;
        app->p_OptionBox();
    }

    // Row k's bar, fully slid in (the credits row stands apart).
    static int RowY(int k) { return 130 + 40 * (k - 1) + 2; }

    // One call with the pointer held at (x, y), then one with it up, which
    // releases the box's touch lock.
    void Tap(int x, int y) {
        PointerDown(x, y);
        Call();
        PointerUp();
        Call();
    }

    void Press(int key) {
        KeyDown(key);
        Call();
        KeyUp(key);
        Call();
    }
};

TEST_F(OptionsTest, HoldsTheCommonLocksWhileShown) {
    Call();
    EXPECT_EQ(app->m_KeyLock, 1);
    EXPECT_EQ(app->m_ClickLock, 1);
}

TEST_F(OptionsTest, TakesNoInputUntilFullySlidIn) {
    for (int slide : {0, 1, 15, 29}) {
        app->m_OptionsSlide = slide;
        app->m_OptKeyLock = app->m_OptTouchLock = 0;
        int gearX = 12 * slide - 260;
        PointerDown(gearX, 60);
        KeyDown(kEscape);
        Call();
        EXPECT_EQ(app->m_ShowOptions, 1) << slide;
        EXPECT_EQ(host.saves, 0);
        KeyUp(kEscape);
        PointerUp();
    }
    app->m_OptionsSlide = 30;
    Call();  // nothing held: the box's locks clear
    KeyDown(kEscape);
    Call();
    EXPECT_EQ(app->m_ShowOptions, 0);
}

TEST_F(OptionsTest, SoundRowCyclesAndStopsTheTuneAtSfxAndOff) {
    kr_Vex_HasMusicStream = 1;
    app->m_Opt[5] = 0;
    Call();
    EXPECT_TRUE(Drew(Glyphs("Sound : Off")));
    const struct {
        int mode;
        const char* text;
        bool stopsTune;
    } steps[] = {
        {1, "Sound : SFX + Music", false},
        {2, "Sound : SFX", true},
        {3, "Sound : Music", false},
        {0, "Sound : Off", true},
    };
    for (const auto& step : steps) {
        app->m_TunePlaying = 1;
        Tap(200, RowY(1));
        EXPECT_EQ(app->m_Opt[5], step.mode);
        EXPECT_EQ(app->m_TunePlaying, step.stopsTune ? 0 : 1) << step.text;
        EXPECT_TRUE(Drew(Glyphs(step.text))) << step.text;
        EXPECT_EQ(app->m_OptionSel, 1);
    }
}

TEST_F(OptionsTest, SoundRowWithoutMusicTogglesOnAndOff) {
    kr_Vex_HasMusicStream = 0;
    kr_Vex_HasMusic = 0;
    Tap(200, RowY(1));
    EXPECT_EQ(app->m_Opt[5], 0);
    EXPECT_TRUE(Drew(Glyphs("Sound : Off")));
    Tap(200, RowY(1));
    EXPECT_EQ(app->m_Opt[5], 1);
    EXPECT_TRUE(Drew(Glyphs("Sound : On")));
}

struct BadSoundCase {
    int stream;
    int stored;
    const char* shown;  // nullptr: nothing
    int after;
};

TEST_F(OptionsTest, ASoundModeOutOfRangeShowsNothingAndStartsOver) {
    const BadSoundCase cases[] = {
        {1, 7, nullptr, 0},       {1, -1, nullptr, 0}, {1, INT_MIN, nullptr, 0},
        {1, 3, "Sound : Music", 3}, {0, 2, nullptr, 0},  {0, 1, "Sound : On", 1},
    };
    for (const BadSoundCase& c : cases) {
        kr_Vex_HasMusicStream = c.stream;
        app->m_Opt[5] = c.stored;
        Call();
        int sound = 0;
        for (const DrawnText& t : Texts()) sound += t.text.rfind("Sound:", 0) == 0;
        EXPECT_EQ(sound, c.shown ? 1 : 0) << c.stored;
        if (c.shown) EXPECT_TRUE(Drew(Glyphs(c.shown)));
        EXPECT_EQ(app->m_Opt[5], c.after) << c.stored;
    }
}

TEST_F(OptionsTest, TouchLayoutAndICadeRowsClearTheControls) {
    // Elements that no action reads, so that nothing counts as held.
    const int unread[] = {1, 2, 4, 6, 7, 9, 18};
    for (int row : {2, 3}) {
        for (int i : unread) app->m_Ctl[i] = 2;
        int layout = app->m_Opt[17], icade = kr_Vex_iCadeControls;
        Tap(200, RowY(row));
        for (int i = 0; i < 20; ++i) EXPECT_EQ(app->m_Ctl[i], 0) << "row " << row << " ctl " << i;
        EXPECT_EQ(app->m_Opt[17], row == 2 ? 1 - layout : layout);
        EXPECT_EQ(kr_Vex_iCadeControls, row == 3 ? 1 - icade : icade);
    }
    EXPECT_TRUE(Drew(Glyphs("Touch : Right = Move")));
    EXPECT_TRUE(Drew(Glyphs("iCade : On")));
    Tap(200, RowY(3));
    EXPECT_EQ(kr_Vex_iCadeControls, 0);
}

TEST_F(OptionsTest, AHeldButtonActsOnceOnARow) {
    app->m_OptionSel = 3;  // iCade
    KeyDown(kEnter);
    for (int i = 0; i < 6; ++i) Call();
    EXPECT_EQ(kr_Vex_iCadeControls, 1);
    KeyUp(kEnter);
    Call();
    Press(kEnter);
    EXPECT_EQ(kr_Vex_iCadeControls, 0);
}

TEST_F(OptionsTest, ClosingSavesAndLeavingForTheCreditsDoesNot) {
    String before = host.state;
    app->m_Opt[17] = 1;
    Tap(100, 60);  // the back gear
    EXPECT_EQ(app->m_ShowOptions, 0);
    EXPECT_EQ(host.saves, 1);
    EXPECT_FALSE(host.state == before);

    app->m_ShowOptions = 1;
    app->m_ShowCredits = 0;
    app->m_Opt[17] = 0;
    PointerDown(400, 130 + 3 * 40 + 50 + 4);  // the credits row
    Call();
    EXPECT_EQ(app->m_ShowCredits, 1);
    EXPECT_EQ(app->m_ShowOptions, 0);
    EXPECT_EQ(app->m_OptKeyLock, 0);
    EXPECT_EQ(host.saves, 1);
}

TEST_F(OptionsTest, BackAndButtonsOnTheGearClose) {
    for (int key : {kEscape, kEnter, 88 /* X: button 2 */, 79 /* O: button 6 */}) {
        app->m_ShowOptions = 1;
        app->m_OptionSel = 0;
        Press(key);
        EXPECT_EQ(app->m_ShowOptions, 0) << key;
    }
    EXPECT_EQ(host.saves, 4);
}

TEST_F(OptionsTest, KeysWalkTheRowsAndStopAtTheEnds) {
    int sfx = app->m_SfxChan;
    for (int i = 0; i < 8; ++i) Press(kDown);
    EXPECT_EQ(app->m_OptionSel, 5);  // sound, touch, iCade, display, credits
    EXPECT_EQ(SoundsSince(sfx), 5);
    for (int i = 0; i < 8; ++i) Press(kUp);
    EXPECT_EQ(app->m_OptionSel, 0);
    EXPECT_EQ(app->m_ShowOptions, 1);
}

TEST_F(OptionsTest, NoCreditsRowWhilePaused) {
    Call();
    EXPECT_TRUE(Drew("Credits"));
    app->m_Paused = 1;
    Call();
    EXPECT_FALSE(Drew("Credits"));
    Tap(400, 130 + 3 * 40 + 50 + 4);
    EXPECT_EQ(app->m_ShowCredits, 0);
    EXPECT_EQ(app->m_ShowOptions, 1);
    for (int i = 0; i < 8; ++i) Press(kDown);
    EXPECT_EQ(app->m_OptionSel, 4);
}

TEST_F(OptionsTest, OuyaHasOnlySoundDisplayAndCreditsRows) {
    kr_Vex_isOuya = 1;
    app->m_Opt[14] = 64;
    Call();
    EXPECT_FALSE(Drew(Glyphs("Touch : Left = Move")));
    EXPECT_FALSE(Drew(Glyphs("iCade : Off")));
    EXPECT_TRUE(Drew("Fullscreen"));
    EXPECT_TRUE(Drew(Glyphs("L1 <      Overscan      > R1")));
    // The eight corner marks come first.
    ASSERT_GE(Rects().size(), 8u);
    EXPECT_EQ(Rects()[7], (std::vector<float>{640 - 16, 480 - 8, 16, 8}));
    for (int i = 0; i < 8; ++i) Press(kDown);
    EXPECT_EQ(app->m_OptionSel, 3);
}

TEST_F(OptionsTest, OuyaOverscanSliderJumpsBetweenItsEnds) {
    kr_Vex_isOuya = 1;
    app->m_Opt[14] = 64;
    kr_Vex_overscan = 64;
    const int expected[] = {1, 96, 1};
    for (int border : expected) {
        Tap(static_cast<int>(0.6f * 640), 92 - 8);
        EXPECT_EQ(app->m_Opt[14], border);
        EXPECT_FLOAT_EQ(kr_Vex_overscan, static_cast<float>(border));
    }
}

TEST_F(OptionsTest, OuyaShouldersStepTheBorderWithinItsRange) {
    kr_Vex_isOuya = 1;
    constexpr int kL1 = 66, kR1 = 79;  // B and O: buttons 5 and 6
    const struct {
        int from, key, to;
    } cases[] = {{96, kR1, 96}, {96, kL1, 80}, {10, kL1, 1}, {64, kR1, 80}, {500, kL1, 96}, {INT_MIN, kL1, 1}};
    for (const auto& c : cases) {
        app->m_Opt[14] = c.from;
        Press(c.key);
        EXPECT_EQ(app->m_Opt[14], c.to) << c.from;
        EXPECT_FLOAT_EQ(kr_Vex_overscan, static_cast<float>(c.to));
        EXPECT_EQ(app->m_ShowOptions, 1);
    }
}

}  // namespace
