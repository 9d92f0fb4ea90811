// SPDX-License-Identifier: Zlib
// The options box: the sound row's cycle, a stored mode it cannot show, a
// held button on a row, saving on close, and the OUYA overscan slider.
#include <climits>

#include "tests/game/play_support.h"

namespace {

class OptionsTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        app->m_ShowOptions = 1, app->m_OptionsSlide = 30;
    }
    // One call on a fresh draw list, as the shell's frame would give it.
    void Call() { app->m_DrawN = 0, app->p_OptionBox(); }
    // A press at (x, y), then a call with nothing held, which releases the locks.
    void Tap(int x, int y) {
        PointerDown(x, y), Call();
        PointerUp(), Call();
    }
    // The sound row's text as drawn (spaces are not drawn), or "".
    std::string SoundLine() const {
        std::string sound;
        for (const auto& t : Texts()) sound += t.second.rfind("Sound:", 0) == 0 ? t.second : "";
        return sound;
    }
};

// Tapping the sound row cycles the mode and stops the tune at SFX and Off; a
// stored mode the row cannot show is not shown and starts over at 0.
TEST_F(OptionsTest, SoundRowCyclesAndShowsOnlyModesItKnows) {
    const std::tuple<int, int, bool, const char*, int, int> cases[] = {  // stream, stored, tap, shown, after, tune
        {1, 0, 1, "Sound:SFX+Music", 1, 1}, {1, 1, 1, "Sound:SFX", 2, 0}, {1, 2, 1, "Sound:Music", 3, 1},
        {1, 3, 1, "Sound:Off", 0, 0},       {1, 7, 0, "", 0, 1},          {1, INT_MIN, 0, "", 0, 1},
        {1, 3, 0, "Sound:Music", 3, 1},     {0, 2, 0, "", 0, 1},          {0, 1, 0, "Sound:On", 1, 1}};
    for (auto [stream, stored, tap, shown, after, tune] : cases) {
        kr_Vex_HasMusicStream = stream, app->m_Opt[5] = stored, app->m_TunePlaying = 1;
        tap ? Tap(200, 132) : Call();  // the first row's bar
        EXPECT_EQ(std::vector<int>({app->m_Opt[5], app->m_TunePlaying}), std::vector<int>({after, tune})) << stored;
        EXPECT_EQ(SoundLine(), shown) << stored;
    }
    int rowTexts = 0;  // the rows' texts are drawn on their bars' alpha 0.5
    for (int i = 0; i + 15 <= app->m_DrawN; i += 15)
        if (app->m_Draw[i] == kImgFont && app->m_Draw[i + 2] > 100) {
            ++rowTexts;
            EXPECT_FLOAT_EQ(app->m_Draw[i + 7], 0.5f) << i;
        }
    EXPECT_GT(rowTexts, 0);
}

// A button held on the iCade or the display row acts once, not every update.
TEST_F(OptionsTest, AHeldButtonActsOnceOnARow) {
    for (int row : {3, 4}) {
        int& value = row == 3 ? kr_Vex_iCadeControls : app->m_Fullscreen;
        app->m_OptionSel = row, value = 0;
        KeyDown(kr_key::Enter);
        for (int i = 0; i < 6; ++i) Call();
        KeyUp(kr_key::Enter), kr_input_device->p_EndUpdate(), Call();
        EXPECT_EQ(value, 1) << row;
    }
    app->p_iCade(0);
}

TEST_F(OptionsTest, ClosingSaves) {
    String before = host.state;
    app->m_Opt[17] = 1;
    Tap(100, 60);  // the back gear
    EXPECT_EQ(app->m_ShowOptions, 0);
    EXPECT_EQ(host.saves, 1);
    EXPECT_FALSE(host.state == before);
}

// A click on the console's overscan slider jumps between its ends.
TEST_F(OptionsTest, OuyaOverscanSliderClick) {
    kr_Vex_isOuya = 1, app->m_Opt[14] = 64, kr_Vex_overscan = 64;
    for (int border : {1, 96, 1}) {
        Tap(static_cast<int>(0.6f * 640), 92 - 8);
        EXPECT_EQ(app->m_Opt[14], border);
        EXPECT_FLOAT_EQ(kr_Vex_overscan, static_cast<float>(border));
    }
    kr_Vex_isOuya = 0, kr_Vex_overscan = 0;
}

}  // namespace
