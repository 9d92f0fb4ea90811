// SPDX-License-Identifier: Zlib
// A badge notification's slide in, stay and slide out.
#include "tests/game/play_support.h"

namespace {

using BadgesTest = MenuTest;

// Queued in slot 2 (the third row up): in over 10 updates, out from age 231,
// free after 240.
TEST_F(BadgesTest, ANotificationSlidesInStaysAndSlidesOut) {
    app->m_BadgeQueue[2] = 0, app->m_BadgeQueue2[2] = 1;
    const std::map<int, float> marks = {{2, -128}, {10, 0}, {230, 0}, {231, -16}, {240, -160}, {241, -176}};
    for (int age = 2; age <= 242; ++age) {
        app->m_DrawN = 0, app->p_ShowBadges();
        if (marks.count(age))
            EXPECT_EQ(std::vector<float>({Rects().at(0)[0], Rects()[0][1]}), std::vector<float>({marks.at(age), 480 - 34 * 3})) << age;
    }
    EXPECT_EQ(app->m_BadgeQueue2[2] + app->m_DrawN, 0);
}

}  // namespace
