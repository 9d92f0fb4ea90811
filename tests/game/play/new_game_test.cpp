// SPDX-License-Identifier: Zlib
// A new game: the clock-seeded terrain, the first wave, and the same world
// for the same clock.
#include <climits>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

using NewGame = PlayFixture;

// Flat shores of 0 on 0..31 and 269..300, the pad's three columns level, land
// of 3..32 between; another clock makes another terrain (the same clock the
// same world: FirstWaveByMode).
TEST_F(NewGame, TerrainHasFlatShoresALevelPadAndLandOf3To32) {
    std::vector<std::vector<int>> seen;
    for (int clock : {0, kClock, -123456, INT_MAX}) {
        host.clock = clock, app->p_LoadGame();
        std::vector<int> column(301);
        for (int i = 0; i <= 300; ++i) column[i] = Height(i);
        for (int i = 0; i <= 300; ++i) {
            bool shore = i <= 31 || i >= 269, pad = i >= 149 && i <= 151;
            EXPECT_TRUE(shore ? column[i] == 0 : pad ? column[i] == column[150] : column[i] >= 3 && column[i] <= 32)
                << clock << " column " << i;
        }
        EXPECT_TRUE(column[150] >= 7 && column[150] <= 36) << clock;
        seen.push_back(column);
    }
    EXPECT_NE(seen[0], seen[1]);
}

// Enemies in records 0..wave x (4, 8 or 16), far from the player and in the
// sky; persons until more than the mode's limit wait. The same clock makes the
// same world, whatever was drawn in between.
TEST_F(NewGame, FirstWaveByMode) {
    for (auto [mode, enemies, persons] : {std::tuple{1, 5, 26}, {2, 9, 19}, {3, 17, 11}}) {
        StartGame(mode);
        EXPECT_EQ(std::vector<int>({CountUsed(app->m_Obj, 500), app->m_People}), std::vector<int>({enemies, persons}));
        for (int i = 0; i < enemies; ++i) {
            EXPECT_EQ(std::vector<float>({Obj(i, kKind), Obj(i, kVelX), Obj(i, kHealth)}), std::vector<float>({1, -2, 8}));
            EXPECT_TRUE(std::fabs(Obj(i, kObjX) - 4813) > 1280 && Obj(i, kObjY) <= -80 && Obj(i, kRate) >= 2) << i;
        }
        std::vector<float> world(app->m_Obj.Data(), app->m_Obj.Data() + 5010);
        for (int i = 0; i < 1000; ++i) kr_random_Rnd();
        StartGame(mode);
        EXPECT_EQ(std::vector<float>(app->m_Obj.Data(), app->m_Obj.Data() + 5010), world);
    }
}

}  // namespace
