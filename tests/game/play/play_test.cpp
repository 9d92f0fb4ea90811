// SPDX-License-Identifier: Zlib
// Play, as short scripted sequences of updates on a world made at a fixed
// clock: the stick, pick-ups, landing, the sea, shots and the end of a game.
#include <limits>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

class Play : public PlayFixture {
protected:
    // A game with nothing in the air and nobody waiting.
    void SetUp() override { PlayFixture::SetUp(), StartGame(2), Clear(); }
    void PlaceEnemy(int record, float x, float y, float health = 8, float vx = -2) {
        Obj(record, kKind) = kEnemy, Obj(record, kObjX) = x, Obj(record, kObjY) = y;
        Obj(record, kHealth) = health, Obj(record, kTimer) = 100, Obj(record, kVelX) = vx;
    }
    std::vector<float> Sounds(size_t from = 0) const {
        std::vector<float> n;
        for (size_t i = from; i < sounds->effects.size(); ++i) n.push_back(sounds->effects[i][0]);
        return n;
    }
};

// A stick that is not a number counts as centred; beyond 1 it counts as 1.
TEST_F(Play, ABrokenStickCountsAsCentred) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float cases[][4] = {{1, -1, 4, -2}, {nan, inf, 0, 0}, {-inf, nan, 0, 0}, {30, -30, 4, -2}};
    for (const auto& [sx, sy, dx, dy] : cases) {
        Hover(4813, -1000), app->m_StickX = sx, app->m_StickY = sy;
        app->p_GameFlight();
        EXPECT_EQ(std::vector<float>({Player(kTargetX), Player(kTargetY)}), std::vector<float>({4813 + dx, -1000 + dy}));
        EXPECT_TRUE(std::isfinite(Player(kX)) && std::isfinite(Player(kY)));
    }
}

// One update's sideways speed: 4 toward a target more than 3 pixels away,
// then 2 toward 0, nothing below 1 in size, at most 16 either way.
TEST_F(Play, SidewaysSpeedTowardTheTarget) {
    const float cases[][3] = {  // speed, target - x, next speed
        {0, 10, 2},  {0, -10, -2}, {0, 3, 0},   {0, -3, 0},     {-6, 0, -4},   {6, 0, 4},
        {-2, 0, 0},  {2, 0, 0},    {3, 0, 1},   {-3, 0, -1},    {-2.5f, 0, 0}, {14, 10, 16},
        {16, 10, 16}, {-16, -10, -16}, {-8, 10, -2}};
    for (const auto& [speed, ahead, next] : cases) {
        Hover(4813, -1000), Player(kSpeed) = speed, Player(kTargetX) += ahead;
        app->p_GameFlight();
        EXPECT_EQ(Player(kSpeed), next) << speed << " with the target " << ahead << " ahead";
    }
}

// The person climbs a segment every third update (a climbing sound each) and
// comes aboard at the top: +5 and the pick-up sound. A full cabin of 8 picks up nobody.
TEST_F(Play, APickUpClimbsAboardAndScoresFive) {
    ListenToSounds();
    Hover(32.0f * 100 + 12, -16.0f * Height(100) - 112);
    app->m_Column[100 * 10 + 1] = 1;
    int updates = 0;
    while (Player(kAboard) == 0 && updates++ < 100) app->p_Game();
    EXPECT_EQ(std::vector<int>({updates, app->m_Score}), std::vector<int>({47, 5}));
    std::vector<float> expected(16, kSfxClimb);
    expected.push_back(kSfxPickup);
    EXPECT_EQ(Sounds(), expected);
    Hover(32.0f * 100 + 12, -16.0f * Height(100) - 112);
    app->m_Column[100 * 10 + 1] = 1, Player(kAboard) = 8;
    app->p_Game();
    EXPECT_EQ(std::vector<float>({float(app->m_Column[100 * 10 + 1]), Player(RopeSeat(kRopeLast))}), std::vector<float>({1, 0}));
}

// Payment by persons aboard (the last row: 3 aboard on the pad a lap of the
// world away), a new wave and the fanfare, once.
TEST_F(Play, LandingPaysByPersonsAboardAndStartsAWave) {
    ListenToSounds();
    const int pay[] = {0, 25, 50, 100, 200, 400, 800, 1500, 2500, 2500};
    for (int n = 1; n <= 10; ++n) {
        int aboard = n == 10 ? 3 : n;
        StartGame(2), Clear(), sounds->effects.clear();
        Hover(n == 10 ? 4813 + 9600 : 4813, -16.0f * Height(150) - 10);
        Player(kAboard) = static_cast<float>(aboard);
        for (int again = 0; again < 2; ++again) {
            app->p_Game();
            EXPECT_EQ(std::vector<int>({app->m_Score, app->m_Wave}), std::vector<int>({pay[aboard], 2})) << n;
            EXPECT_EQ(Sounds(), std::vector<float>{kSfxFanfare});
        }
        EXPECT_EQ(Player(kAboard), 0);
    }
}

// The sea costs 10 health per update, but nothing moves or hurts while paused.
TEST_F(Play, TheSeaCosts10HealthPerUpdateButNotWhilePaused) {
    Hover(32 * 10 + 12, -30);
    Player(kTargetX) += 100;
    PlaceEnemy(20, 500, -300);
    app->m_Paused = 1;
    for (int k = 0; k < 5; ++k) app->p_Game();
    EXPECT_EQ(std::vector<float>({float(app->m_Health), Player(kX), Obj(20, kObjX)}), std::vector<float>({99, 332, 500}));
    app->m_Paused = 0, Player(kTargetX) = Player(kX);
    for (int k = 1; k <= 10; ++k) {
        app->p_Game();
        EXPECT_EQ(std::vector<int>({app->m_GameOverT, app->m_Health}), std::vector<int>({k == 10, std::max(0, 99 - 10 * k)}));
    }
}

// Above y = -1320 the target moves 16 down per update, but not while paused:
// 600 paused updates with fire held leave the target, the enemies' speeds
// and the generator as they were, and make no shot.
TEST_F(Play, APauseHoldsTheCeilingPushTheEnemiesAndTheGun) {
    Hover(4813, -1400);
    for (int k = 0; k < 3; ++k) PlaceEnemy(10 + k, 4853 + 40 * k, -1300 - 100 * k, 8, 0), Obj(10 + k, kVelY) = 0.5f;
    kr_input_device->p_KeyEvent(kr_event::KeyDown, kr_key::Space);
    app->m_Paused = 1;
    int seed = kr_random_Seed;
    for (int k = 0; k < 600; ++k) app->p_Game();
    EXPECT_EQ(std::vector<float>({Player(kTargetY), Obj(10, kVelY), Obj(11, kVelY), Obj(12, kVelY)}),
              std::vector<float>({-1400, 0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(kr_random_Seed, seed);
    for (int i = 0; i <= kLastObject; ++i) EXPECT_NE(Obj(i, kKind), kPlayerShot) << i;
    app->m_Paused = 0;
    kr_input_device->p_KeyEvent(kr_event::KeyUp, kr_key::Space), kr_input_device->p_EndUpdate();
    app->p_Game();
    EXPECT_EQ(Player(kTargetY), -1400 + 16);
}

// The volume of an enemy's shot falls with the distance to the helicopter,
// both x taken as remainders of the world's width (9600): left of 0 the
// helicopter hears an enemy at 300, a lap away one 100 off.
TEST_F(Play, AnEnemyShotsVolumeByTheDistanceAsRemainders) {
    ListenToSounds();
    for (auto [heliX, enemyX, volume] : {std::tuple{-100.0f, 300.0f, 0.375f}, {4813.0f + 9600, 4913.0f, 0.84375f}}) {
        sounds->effects.clear();
        app->m_WorldW = 32 * 300;  // as p_Game sets it
        Hover(heliX, -1000);
        PlaceEnemy(10, enemyX, -1000, 8, 0), Obj(10, kTimer) = 0;
        for (int i = 0; i < 500 && sounds->effects.empty(); ++i) app->p_GameEnemyFire(10 * 10);
        ASSERT_EQ(sounds->effects.size(), 1u) << heliX;
        EXPECT_FLOAT_EQ(sounds->effects[0][2], volume) << heliX;
    }
}

// Each hit scores 25; below 0 the enemy dies when next drawn, for 500 more,
// with the big explosion and then the explosion.
TEST_F(Play, AnEnemyWithHealth2NeedsThreeHits) {
    ListenToSounds();
    Hover(4813, -1000);
    PlaceEnemy(10, 4913, -1000, 2, 0);
    for (int hit = 1; hit <= 3; ++hit) {
        int shot = app->m_ObjSlot = app->p_ObjFree();
        app->p_AddBull(shot, 4913 - 12, -1000, 3, 0);  // reaches it this update
        app->p_Game();
        EXPECT_EQ(std::vector<float>({float(app->m_Score), Obj(10, kHealth), Obj(shot / 10, kKind)}),
                  std::vector<float>({25.0f * hit, 2.0f - hit, kExplosion}));
    }
    size_t hits = sounds->effects.size();
    app->p_Game();
    EXPECT_EQ(std::vector<float>({Obj(10, kKind), float(app->m_Score)}), std::vector<float>({0, 575}));
    EXPECT_EQ(Sounds(hits), (std::vector<float>{kSfxBigExplosion, kSfxExplosion}));
}

// Health below 0 ends the game once: the end's sounds are drawn only the
// first time, and then nothing moves.
TEST_F(Play, HealthBelowZeroEndsTheGameOnce) {
    auto seedAfter = [&](int gameOverT, int health) {
        StartGame(2), Clear(), Hover(4813, -1000);
        app->m_GameOverT = gameOverT, app->m_Health = health, app->m_TunePlaying = 1, kr_random_Seed = 4711;
        app->p_Game();
        return kr_random_Seed;
    };
    int ending = seedAfter(0, -1);
    EXPECT_EQ(std::vector<int>({app->m_GameOverT, app->m_Health, app->m_TunePlaying}), std::vector<int>({1, 0, 0}));
    EXPECT_EQ(DrawsBetween(seedAfter(0, 0), ending), 1);  // the big explosion's rate
    EXPECT_EQ(seedAfter(1, -5), seedAfter(1, 0));          // already over: no more
    PlaceEnemy(20, 5000, -1000);
    Player(kTargetX) += 100;
    app->p_Game();
    EXPECT_EQ(std::vector<float>({Player(kX), Obj(20, kObjX)}), std::vector<float>({4813, 5000}));
}

}  // namespace
