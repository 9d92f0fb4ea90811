// SPDX-License-Identifier: Zlib
// The title menu: the score lists, taps and drags on the strip.
#include <climits>

#include "tests/game/play_support.h"

namespace {

class MenuScreenTest : public MenuTest {
protected:
    // The menu settled with `item` in the middle of the strip, nothing held.
    void Settle(int item) {
        app->m_Mode = kModeMenu, app->m_MenuSel = item;
        app->m_MenuIntro = app->m_KeyLock = app->m_ClickLock = 0;
        app->m_MenuPos = app->m_MenuTarget = static_cast<float>(1 - item) * 88;
    }
    // The pointer on item k of the landscape strip.
    void PointAt(int k) { PointerDown(static_cast<int>(250 + app->m_MenuPos + 88.0f * (k - 1)), 312); }
};

// Lines by the screen's height; scores of any size drawn as their digits, on
// the panel's alpha 0.4 as the studio logo.
TEST_F(MenuScreenTest, ScoreListsShowAsManyLinesAsFit) {
    const std::tuple<float, float, int, const char*, const char*> cases[] = {
        {480, 900, 10, "Top10", "Last10"},  {800, 450, 9, "Top9", "Last9"},
        {640, 200, 1, "Highscore", "Last"}, {640, 120, 1, "Highscore", "Last"}};  // room for 1 line, for none
    const int odd[] = {INT_MIN, -5, INT_MAX, 0, 123456789};
    for (int j = 0; j < 10; ++j) {
        app->m_Hi[10 + j] = j < 5 ? odd[j] : 1000 - j;  // mode 2's top ten
        app->m_Hi[40 + j] = 500 + j;                       // and its last ten
    }
    for (auto [w, h, lines, top, last] : cases) {
        Screen(w, h), Settle(2), app->p_Menu();
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {  // the lists and the studio logo: on the panel's alpha
            if (app->m_Draw[i] == kImgFont || app->m_Draw[i] == kImgStudioLogo) EXPECT_FLOAT_EQ(app->m_Draw[i + 7], 0.4f) << i;
        }
        std::vector<std::string> panel;  // a title and its lines, twice
        for (const auto& t : Texts()) {
            if (t.first > w - 140) panel.push_back(t.second);
        }
        ASSERT_EQ(panel.size(), 2u * (lines + 1)) << w << "x" << h;
        EXPECT_EQ(panel[0] + "," + panel[1], std::string(top) + ",-2147483648");
        EXPECT_EQ(panel[lines + 1] + "," + panel[lines + 2], std::string(last) + ",500");
        if (lines > 2) EXPECT_EQ(panel[3], "2147483647");
    }
}

// Keys step along the strip up to the options gear and stop at either end.
TEST_F(MenuScreenTest, KeysStepAlongTheStripToTheGear) {
    using kr_key::Down, kr_key::Left, kr_key::Right, kr_key::Up;
    const int cases[][3] = {{3, Right, 4}, {3, Down, 4}, {4, Right, 4}, {2, Left, 1}, {2, Up, 1}, {1, Left, 1}};  // from, key, to
    for (auto [from, key, to] : cases) {
        Settle(from), KeyDown(key), Update();
        EXPECT_EQ(app->m_MenuSel, to) << from << " key " << key;
        KeyUp(key), Update();
    }
}

// The logo's click and the right shoulder (O) in one update both act and
// set both locks, so neither closes the credits again.
TEST_F(MenuScreenTest, LogoClickAndShoulderInOneUpdateKeepTheCreditsOpen) {
    Settle(2);
    KeyDown('O'), kr_input_device->p_MouseEvent(kr_event::MouseDown, 0, 570, 32);
    Update(3);
    EXPECT_EQ(std::vector<int>({app->m_ShowCredits, app->m_KeyLock, app->m_ClickLock}), std::vector<int>({1, 1, 1}));
}

// A tap selects (one sound); once the strip has eased there, a tap on the
// selected mode starts it (another sound).
TEST_F(MenuScreenTest, TapSelectsThenATapOnTheSelectedModeStartsIt) {
    Settle(2), app->p_Menu();  // lays the strip out
    int sfx = app->m_SfxChan;
    PointAt(3), app->p_Menu();
    EXPECT_EQ(std::vector<int>({app->m_MenuSel, app->m_Mode, app->m_ClickLock}), std::vector<int>({3, kModeMenu, 1}));
    PointerUp(), app->m_KeyLock = app->m_ClickLock = 0;
    for (int i = 0; i < 60; ++i) app->p_Menu();
    EXPECT_NEAR(app->m_MenuPos, -176, 1);
    PointAt(3), app->p_Menu();
    EXPECT_EQ(std::vector<int>({app->m_Mode, app->m_GameMode, app->m_SfxChan - sfx}), std::vector<int>({kModeNewGame, 3, 2}));
}

// A drag (above the strip) past an end: once the fling dies the target is
// pulled back 8 per update, with the end item selected.
TEST_F(MenuScreenTest, DraggingPastAnEndPullsBackBy8AndSelectsTheEndItem) {
    for (auto [step, endItem] : {std::pair{-40, 4}, std::pair{40, 1}}) {
        Settle(2);
        for (int i = 0, x = 320; i < 12; ++i, x += step) PointerDown(x, 100), app->p_Menu();
        EXPECT_EQ(app->m_ClickLock, 2);
        PointerUp();
        for (int i = 0; i < 10 && app->m_MenuSpeed != 0; ++i) app->p_Menu();
        std::vector<float> pulls;
        for (float before = app->m_MenuTarget; app->p_Menu(), app->m_MenuTarget != before && pulls.size() < 400;
             before = app->m_MenuTarget)
            pulls.push_back(std::round(app->m_MenuTarget - before) * (app->m_MenuSel == endItem));
        EXPECT_GT(pulls.size(), 5u);
        EXPECT_EQ(pulls, std::vector<float>(pulls.size(), endItem == 4 ? 8 : -8));
    }
}

}  // namespace
