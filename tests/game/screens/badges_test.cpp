// A badge notification's slide in, stay and slide out.
#include "tests/game/play_support.h"

namespace {

using BadgesTest = MenuTest;

// Queued in slot 2 (the third row up): in over 10 updates, out from age 231,
// free after 240.
TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOut) {
    app->m_BadgeQueue[2] = 0, app->m_BadgeQueue2[2] = 1;
    const std::pair<int, float> marks[] = {{2, -128}, {5, -80},  {9, -16},   {10, 0},   {230, 0},
                                           {231, -16}, {235, -80}, {240, -160}, {241, -176}};
    for (int age = 2, m = 0; age <= 241; ++age) {
        app->m_DrawN = 0, app->p_ShowBadges();
        ASSERT_FALSE(Rects().empty()) << age;
        EXPECT_FLOAT_EQ(Rects()[0][1], 480 - 34 * 3);
        if (m < 9 && marks[m].first == age) EXPECT_FLOAT_EQ(Rects()[0][0], marks[m++].second) << "age " << age;
        EXPECT_EQ(app->m_BadgeQueue2[2], age > 240 ? 0 : age);
    }
    app->m_DrawN = 0, app->p_ShowBadges();
    EXPECT_EQ(app->m_DrawN, 0);
}

}  // namespace
