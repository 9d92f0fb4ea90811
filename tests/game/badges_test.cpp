// Badges on the bare host: the table, the notifications' life and slide, and
// the badges panel's scroll.
#include <climits>

#include "tests/game/menu_fixture.h"

namespace {

std::string Narrow(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) out += static_cast<char>(s[i] & 0xff);
    return out;
}

class BadgesTest : public MenuTest {
protected:
    // The icon records (slot 80) the notifications draw in one call.
    int ShowAndCountIcons() {
        app->m_DrawN = 0;
        app->p_ShowBadges();
        int n = 0;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) n += app->m_Draw[i] == 80;
        return n;
    }
};

TEST_F(BadgesTest, TheTableHoldsOnlyTheTestBadge) {
    EXPECT_EQ(Narrow(app->p_BadgeName(0)), "Test Badge");
    EXPECT_EQ(Narrow(app->p_BadgeID(0)), "Test Badge|" + Narrow(app->p_BadgeDetail(0)));
    EXPECT_EQ(Narrow(app->p_BadgeDetail(0)), "This is a Test Badge which has no purpose.");
    for (int id : {1, 63, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(Narrow(app->p_BadgeID(id) + app->p_BadgeName(id) + app->p_BadgeDetail(id)), "") << id;
    }
}

// Queued in slot 2 (the third row up): in over 10 updates, out from age 231,
// free after 240.
TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOut) {
    app->m_BadgeQueue[2] = 0;
    app->m_BadgeQueue2[2] = 1;
    const std::pair<int, float> marks[] = {{2, -128}, {5, -80},  {9, -16},   {10, 0},   {230, 0},
                                           {231, -16}, {235, -80}, {240, -160}, {241, -176}};
    for (int age = 2, m = 0; age <= 241; ++age) {
        ShowAndCountIcons();
        ASSERT_FALSE(Rects().empty()) << age;
        EXPECT_FLOAT_EQ(Rects()[0][1], 480 - 34 * 3);
        if (m < 9 && marks[m].first == age) EXPECT_FLOAT_EQ(Rects()[0][0], marks[m++].second) << "age " << age;
        EXPECT_EQ(app->m_BadgeQueue2[2], age > 240 ? 0 : age);
    }
    EXPECT_TRUE(Drew("TestBadge"));
    ShowAndCountIcons();
    EXPECT_EQ(app->m_DrawN, 0);
}

// An age at the top of the range is freed without overflow; a negative age
// waits; an id outside 0..63 draws no icon, 63 does.
TEST_F(BadgesTest, StrayAgesAndIdsNeverBreakTheNotes) {
    const int queue[][2] = {{99, INT_MAX}, {-7, 20}, {64, 20}, {0, -5}};
    for (int s = 0; s < 4; ++s) app->m_BadgeQueue[s] = queue[s][0], app->m_BadgeQueue2[s] = queue[s][1];
    EXPECT_EQ(ShowAndCountIcons(), 0);
    EXPECT_EQ(app->m_BadgeQueue2[0], 0);
    EXPECT_EQ(app->m_BadgeQueue2[3], -5);
    app->m_BadgeQueue[1] = 63;
    EXPECT_EQ(ShowAndCountIcons(), 1);
}

// Down scrolls the target 16 per update, up never past 0; the shown scroll
// eases a sixth of the way there.
TEST_F(BadgesTest, PanelScrollsByKeysAndEases) {
    for (auto [key, updates, target] : {std::tuple{40, 2, -32.0f}, {38, 5, 0.0f}}) {
        KeyDown(key);
        for (int i = 0; i < updates; ++i) app->p_BadgesBox();
        KeyUp(key);
        EXPECT_FLOAT_EQ(app->m_BadgeScroll2, target);
    }
    app->m_BadgeScroll = 0;
    app->m_BadgeScroll2 = -60;
    app->p_BadgesBox();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll, -10);
}

}  // namespace
