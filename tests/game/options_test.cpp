// The options box on the bare host: its slide, the rows and their values,
// closing with and without saving, and the OUYA overscan slider.
#include <climits>

#include "tests/game/menu_fixture.h"

namespace {

constexpr int kEscape = 27, kUp = 38, kDown = 40, kCreditsRowY = 130 + 3 * 40 + 50 + 4;

class OptionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_ShowOptions = 1;
        app->m_OptionsSlide = 30;
    }
    // One call on a fresh draw list, as the shell's frame would give it.
    void Call() {
        app->m_DrawN = 0;
        app->p_OptionBox();
    }
    // A press on row k's bar (or at (x, y)), then a call with nothing held,
    // which releases the box's locks.
    void Tap(int x, int y) {
        PointerDown(x, y);
        Call();
        PointerUp();
        Call();
    }
    void TapRow(int k) { Tap(200, 130 + 40 * (k - 1) + 2); }
    void Press(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            KeyDown(key);
            Call();
            KeyUp(key);
            Call();
        }
    }
};

TEST_F(OptionsTest, TakesNoInputUntilFullySlidIn) {
    for (int slide : {0, 1, 15, 29}) {
        app->m_OptionsSlide = slide;
        app->m_OptKeyLock = app->m_OptTouchLock = 0;
        PointerDown(12 * slide - 260, 60);  // where the back gear is now
        KeyDown(kEscape);
        Call();
        EXPECT_EQ(app->m_ShowOptions, 1) << slide;
        KeyUp(kEscape);
        PointerUp();
    }
    app->m_OptionsSlide = 30;
    Call();
    Press(kEscape);
    EXPECT_EQ(app->m_ShowOptions, 0);
}

TEST_F(OptionsTest, SoundRowCyclesAndStopsTheTuneAtSfxAndOff) {
    kr_Vex_HasMusicStream = 1;
    app->m_Opt[5] = 0;
    const std::tuple<int, const char*, int> steps[] = {
        {1, "Sound : SFX + Music", 1}, {2, "Sound : SFX", 0}, {3, "Sound : Music", 1}, {0, "Sound : Off", 0}};
    for (auto [mode, text, tune] : steps) {
        app->m_TunePlaying = 1;
        TapRow(1);
        EXPECT_EQ(app->m_Opt[5], mode);
        EXPECT_EQ(app->m_TunePlaying, tune) << text;
        EXPECT_TRUE(Drew(text)) << text;
    }
}

// A stored sound mode the row cannot show is not shown and starts over at 0.
TEST_F(OptionsTest, ASoundModeOutOfRangeShowsNothingAndStartsOver) {
    const std::tuple<int, int, const char*, int> cases[] = {  // stream, stored, shown, after
        {1, 7, "", 0},  {1, -1, "", 0}, {1, INT_MIN, "", 0}, {1, 3, "Sound:Music", 3},
        {0, 2, "", 0}, {0, 1, "Sound:On", 1}};
    for (auto [stream, stored, shown, after] : cases) {
        kr_Vex_HasMusicStream = stream;
        app->m_Opt[5] = stored;
        Call();
        std::string sound;
        for (const auto& t : Texts()) sound += t.second.rfind("Sound:", 0) == 0 ? t.second : "";
        EXPECT_EQ(sound, shown) << stored;
        EXPECT_EQ(app->m_Opt[5], after) << stored;
    }
}

TEST_F(OptionsTest, TouchLayoutAndICadeRowsClearTheControls) {
    for (int row : {2, 3}) {
        for (int i : {1, 2, 4, 6, 7, 9, 18}) app->m_Ctl[i] = 2;  // read by no action
        int layout = app->m_Opt[17], icade = kr_Vex_iCadeControls;
        TapRow(row);
        for (int i = 0; i < 20; ++i) EXPECT_EQ(app->m_Ctl[i], 0) << "row " << row << " ctl " << i;
        EXPECT_EQ(app->m_Opt[17], row == 2 ? 1 - layout : layout);
        EXPECT_EQ(kr_Vex_iCadeControls, row == 3 ? 1 - icade : icade);
    }
    EXPECT_TRUE(Drew("Touch : Right = Move") && Drew("iCade : On"));
}

TEST_F(OptionsTest, ClosingSavesAndLeavingForTheCreditsDoesNot) {
    String before = host.state;
    app->m_Opt[17] = 1;
    Tap(100, 60);  // the back gear
    EXPECT_EQ(app->m_ShowOptions, 0);
    EXPECT_EQ(host.saves, 1);
    EXPECT_FALSE(host.state == before);
    app->m_ShowOptions = 1;
    PointerDown(400, kCreditsRowY);
    Call();
    EXPECT_EQ(app->m_ShowCredits, 1);
    EXPECT_EQ(app->m_ShowOptions, 0);
    EXPECT_EQ(host.saves, 1);
}

// Keys walk the rows, a sound each, and stop at the ends: sound, touch,
// iCade, display, credits; no credits while paused; no touch or iCade on OUYA.
TEST_F(OptionsTest, TheRowsByPauseAndDevice) {
    for (auto [paused, ouya, last] : {std::tuple{0, 0, 5}, {1, 0, 4}, {0, 1, 3}}) {
        SCOPED_TRACE(testing::Message() << paused << ouya);
        app->m_Paused = paused;
        kr_Vex_isOuya = ouya;
        int sfx = app->m_SfxChan;
        Press(kDown, 8);
        EXPECT_EQ(app->m_OptionSel, last);
        EXPECT_EQ(SoundsSince(sfx), last);
        EXPECT_EQ(Drew("Credits"), !paused);
        EXPECT_EQ(Drew("iCade : Off"), !ouya);
        Press(kUp, 8);
        EXPECT_EQ(app->m_OptionSel, 0);
    }
    kr_Vex_isOuya = 0;
    app->m_Paused = 1;
    Tap(400, kCreditsRowY);
    EXPECT_EQ(app->m_ShowCredits, 0);
}

// A click on the slider jumps between its ends; the shoulders step by 16
// within 1..96, whatever was stored.
TEST_F(OptionsTest, OuyaOverscanSliderAndShoulders) {
    kr_Vex_isOuya = 1;
    app->m_Opt[14] = 64;
    kr_Vex_overscan = 64;
    for (int border : {1, 96, 1}) {
        Tap(static_cast<int>(0.6f * 640), 92 - 8);
        EXPECT_EQ(app->m_Opt[14], border);
        EXPECT_FLOAT_EQ(kr_Vex_overscan, static_cast<float>(border));
    }
    constexpr int kL1 = 66, kR1 = 79;  // B and O: buttons 5 and 6
    const int cases[][3] = {{96, kR1, 96}, {96, kL1, 80}, {10, kL1, 1},
                            {64, kR1, 80}, {500, kL1, 96}, {INT_MIN, kL1, 1}};
    for (const auto& [from, key, to] : cases) {
        app->m_Opt[14] = from;
        Press(key);
        EXPECT_EQ(app->m_Opt[14], to) << from;
        EXPECT_FLOAT_EQ(kr_Vex_overscan, static_cast<float>(to));
    }
}

}  // namespace
