// SPDX-License-Identifier: Zlib
// The pools: the highest free record first, random draws in their order,
// stars under a broken step, and the waves that restock enemies and waiting persons.
#include <limits>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

const float kNaN = std::numeric_limits<float>::quiet_NaN();

using Pools = PlayFixture;

TEST_F(Pools, TheHighestFreeRecordIsUsedFirst) {
    app->p_ResetParticles(250);
    for (int expected : {250, 249, 248}) {
        EXPECT_EQ(app->p_FreeParticle(), expected * 10);
        app->p_AddParticle(7, 0, 0, 0, 0, 0, 0, 0);
    }
    Part(249, 0) = 0;
    EXPECT_EQ(std::vector<int>({app->p_FreeParticle(), app->p_ObjFree()}), std::vector<int>({2490, 5000}));
}

// The omitted angle and speed are drawn before the search, even into a full
// pool; a free record takes four more draws.
TEST_F(Pools, ThrowParticleDrawsBeforeTheSearch) {
    const float cases[][4] = {// angle, speed, full, draws
                              {kOmitted, kOmitted, 1, 2}, {90, kOmitted, 1, 1},       {kOmitted, 5, 1, 1},
                              {90, 5, 1, 0},              {kOmitted, kOmitted, 0, 6}, {90, 5, 0, 4}};
    for (const auto& [angle, speed, full, draws] : cases) {
        app->p_ResetParticles(250);
        for (int i = 0; full == 1 && i <= 250; ++i) Part(i, 0) = 1;
        int seed = kr_random_Seed;
        app->p_ThrowParticle(1, 2, 2, 4, angle, speed);
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), draws) << angle << " " << speed << " " << full;
        EXPECT_EQ(CountUsed(app->m_Part, 250), full == 1 ? 251 : 1);
    }
}

// A camera step that is not a number moves no star and draws nothing (where
// and with which draws a star wraps, the committed replays' digests hold).
TEST_F(Pools, StarsStayForAStepThatIsNotANumber) {
    float* s = &app->m_Star[0];
    app->m_StarMax = 0, s[1] = -10, s[2] = 100, s[3] = 0.5f;
    int seed = kr_random_Seed;
    app->p_DoStars(kNaN, std::numeric_limits<float>::infinity());
    EXPECT_EQ(std::vector<float>({s[1], float(kr_random_Seed)}), std::vector<float>({-10, float(seed)}));
}

// Mode 3 on wave 30 asks for 480 enemies; every free record of 0..400 gets
// one and occupied ones stay.
TEST_F(Pools, ReplenishFillsEveryFreeRecordUpTo400) {
    StartGame(3), Clear();
    Obj(7, kKind) = 3, Obj(450, kKind) = 1, app->m_Wave = 29;
    app->p_Replenish();
    EXPECT_EQ(std::vector<float>({float(app->m_Wave), Obj(7, kKind), float(CountUsed(app->m_Obj, 500))}),
              std::vector<float>({30, 3, 402}));
}

// Worlds where a search cannot succeed end it instead of hanging; a world
// where it can, however unlikely a candidate, still gets its wave.
TEST_F(Pools, ReplenishEndsSearchesThatCannotSucceed) {
    const std::tuple<const char*, int, float, int, int, int, int> cases[] = {
        // world, map width, player x, columns with ground from .. to, enemies, persons
        {"no ground", 300, 4813, 0, -1, 9, 0},
        {"ground only near the player", 300, 4813, 130, 170, 9, 0},
        {"one eligible column", 300, 4813, 100, 100, 9, 1},
        {"a strip 1280 wide", 40, 640, 0, 40, 0, 0},
        {"a strip 1312 wide, player at its left end", 41, 0, 0, 41, 9, 12},
        {"a player who is not a number", 300, kNaN, 0, 300, 0, 19},
        {"a narrow strip with rare places", 81, 1296, 0, 81, 9, 19},
    };
    for (auto [world, width, px, from, to, enemies, persons] : cases) {
        StartGame(2), Clear();
        app->m_MapWidth = width;
        for (int col = 0; col <= 499; ++col) app->m_Column[col * 10] = col >= from && col <= to ? 5 : 0;
        Player(kX) = px, app->m_Wave = 0;
        app->p_Replenish();
        EXPECT_EQ(std::vector<int>({app->m_Wave, CountUsed(app->m_Obj, 500), app->m_People}),
                  std::vector<int>({1, enemies, persons})) << world;
    }
}

}  // namespace
