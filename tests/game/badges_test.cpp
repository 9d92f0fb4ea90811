// Badges on the bare host: the table, the notifications' life and slide, and
// the badges panel's scroll.
#include <climits>

#include "tests/game/menu_fixture.h"

namespace {

class BadgesTest : public MenuTest {
protected:
    void Show() {
        app->m_DrawN = 0;
        app->p_ShowBadges();
    }
    void Box() {
        app->m_DrawN = 0;
        app->p_BadgesBox();
    }
};

TEST_F(BadgesTest, TheTableHoldsOnlyTheTestBadge) {
    EXPECT_EQ(Narrow(app->p_BadgeName(0)), "Test Badge");
    EXPECT_EQ(Narrow(app->p_BadgeDetail(0)), "This is a Test Badge which has no purpose.");
    EXPECT_EQ(Narrow(app->p_BadgeID(0)), "Test Badge|This is a Test Badge which has no purpose.");
    for (int id : {1, 5, 63, 255, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(app->p_BadgeID(id).Length(), 0) << id;
        EXPECT_EQ(app->p_BadgeName(id).Length(), 0) << id;
        EXPECT_EQ(app->p_BadgeDetail(id).Length(), 0) << id;
    }
}

TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOut) {
    const int slot = 2;
    app->m_BadgeQueue[slot] = 0;
    app->m_BadgeQueue2[slot] = 1;  // just queued
    const struct {
        int age;
        float x;
    } marks[] = {{2, -128}, {5, -80}, {9, -16}, {10, 0}, {100, 0}, {230, 0},
                 {231, -16}, {235, -80}, {240, -160}, {241, -176}};
    int m = 0;
    for (int call = 1; call <= 240; ++call) {
        Show();
        int age = call + 1;
        ASSERT_FALSE(Rects().empty()) << age;
        std::vector<float> note = Rects()[0];
        EXPECT_FLOAT_EQ(note[1], 480 - 34 * (slot + 1));
        EXPECT_FLOAT_EQ(note[2], 160);
        if (m < 10 && marks[m].age == age) {
            EXPECT_FLOAT_EQ(note[0], marks[m].x) << "age " << age;
            ++m;
        }
        EXPECT_EQ(app->m_BadgeQueue2[slot], age > 240 ? 0 : age);
    }
    EXPECT_EQ(m, 10);
    EXPECT_TRUE(Drew("TestBadge"));
    Show();  // the slot is free again
    EXPECT_TRUE(Rects().empty());
    EXPECT_EQ(app->m_DrawN, 0);
}

TEST_F(BadgesTest, NotesStackUpwardsAndTheLastTwoSlotsNeverShow) {
    for (int slot : {0, 12, 13, 14}) app->m_BadgeQueue2[slot] = 50;
    Show();
    std::vector<std::vector<float>> notes = Rects();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_FLOAT_EQ(notes[0][1], 480 - 34);
    EXPECT_FLOAT_EQ(notes[1][1], 480 - 34 * 13);
    EXPECT_EQ(app->m_BadgeQueue2[13], 50);
    EXPECT_EQ(app->m_BadgeQueue2[14], 50);
}

TEST_F(BadgesTest, StrayAgesAndIdsNeverBreakTheNotes) {
    app->m_BadgeQueue[0] = 99;
    app->m_BadgeQueue2[0] = INT_MAX;
    app->m_BadgeQueue[1] = -7;
    app->m_BadgeQueue2[1] = 20;
    app->m_BadgeQueue[2] = 64;
    app->m_BadgeQueue2[2] = 20;
    app->m_BadgeQueue2[3] = -5;
    Show();
    EXPECT_EQ(app->m_BadgeQueue2[0], 0);  // freed, drawn a last time
    EXPECT_EQ(app->m_BadgeQueue2[3], -5);
    for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
        EXPECT_NE(app->m_Draw[i], 80) << "no icon for ids below 0 or above 63";
    }
    app->m_BadgeQueue[1] = 63;
    Show();
    int icons = 0;
    for (int i = 0; i + 15 <= app->m_DrawN; i += 15) icons += app->m_Draw[i] == 80 && app->m_Draw[i + 6] == 63;
    EXPECT_EQ(icons, 1);
}

TEST_F(BadgesTest, PanelScrollsByKeysAndPointerAndEases) {
    KeyDown(40);  // down
    Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll2, -16);
    Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll2, -32);
    KeyUp(40);
    KeyDown(38);  // up: back, but never above 0
    for (int i = 0; i < 5; ++i) Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll2, 0);
    KeyUp(38);

    app->m_BadgeScroll = 0;
    app->m_BadgeScroll2 = -60;
    Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll, -10);  // a sixth of the way
    for (int i = 0; i < 30; ++i) Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll, -60);  // snapped once close

    PointerDown(320, 200);
    PointerDown(320, 180);  // dragged up 20
    Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll2, -90);
    PointerDown(40, 160);  // left of the panel's inner edge: ignored
    Box();
    EXPECT_FLOAT_EQ(app->m_BadgeScroll2, -90);
}

}  // namespace
