// Play, as short scripted sequences of updates on a world made at a fixed
// clock: flight, the rope and pick-ups, landing and payment, crashes, the
// sea and the ceiling, shots and enemies, and the end of a game.
#include <cmath>
#include <limits>
#include <vector>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

class Play : public PlayFixture {
protected:
    // A game with nothing in the air and nobody waiting.
    void SetUp() override {
        PlayFixture::SetUp();
        StartGame(2);
        Clear();
    }
    // An object of `kind` in `record` at (x, y), standing still.
    void Place(int record, float kind, float x, float y, float health = 8, float timer = 100) {
        for (int e = 0; e < 10; ++e) Obj(record, e) = 0;
        Obj(record, kKind) = kind, Obj(record, kObjX) = x, Obj(record, kObjY) = y;
        Obj(record, kHealth) = health, Obj(record, kTimer) = timer;
    }
    int Used(float kind) {
        int n = 0;
        for (int i = 0; i <= 500; ++i) n += Obj(i, kKind) == kind;
        return n;
    }
    // Hovering with the rope's end on a person waiting on column 100.
    float OverAPerson() {
        float y = -16.0f * Height(100) - 112;
        Hover(32.0f * 100 + 12, y);
        app->m_Column[100 * 10 + 1] = 1;
        return y;
    }
    // The sound slots played since effect `from`.
    std::vector<float> Sounds(size_t from = 0) const {
        std::vector<float> n;
        for (size_t i = from; i < sounds->effects.size(); ++i) n.push_back(sounds->effects[i][0]);
        return n;
    }
};

TEST_F(Play, SidewaysSpeedGrowsBy2PerUpdateTo16) {
    for (float side : {1.0f, -1.0f}) {
        SCOPED_TRACE(side);
        Hover(4813, -1000);
        Player(kTargetX) = 4813 + side * 1000;
        float x = 4813;
        for (float speed : {2, 4, 6, 8, 10, 12, 14, 16, 16, 16}) {
            app->p_Game();
            EXPECT_EQ(Player(kSpeed), side * speed);
            EXPECT_EQ(Player(kX), x += (Player(kTargetX) - x) / 16);  // a sixteenth of the way
        }
    }
}

// A stick that is not a number counts as centred; beyond 1 it counts as 1.
TEST_F(Play, TheStickMovesTheTargetAndABrokenStickCountsAsCentred) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const float cases[][4] = {{1, -1, 4, -2}, {0.5f, 0.25f, 2, 0.5f}, {nan, inf, 0, 0}, {-inf, nan, 0, 0},
                              {30, -30, 4, -2}};
    for (const auto& [sx, sy, dx, dy] : cases) {
        SCOPED_TRACE(sx);
        Hover(4813, -1000);
        app->m_StickX = sx, app->m_StickY = sy;
        app->p_GameFlight();
        EXPECT_EQ(Player(kTargetX), 4813 + dx);
        EXPECT_EQ(Player(kTargetY), -1000 + dy);
        EXPECT_TRUE(std::isfinite(Player(kX)) && std::isfinite(Player(kY)));
    }
}

TEST_F(Play, TheCeilingPushesTheTargetDown16PerUpdate) {
    for (auto [y, push] : {std::pair{-1400.0f, 16}, {-1325.0f, 16}, {-1320.0f, 0}}) {
        Hover(4813, y);
        for (int k = 1; k <= 3; ++k) {
            app->p_Game();
            EXPECT_EQ(Player(kTargetY), y + push * k) << y;
        }
    }
}

// Each passenger pulls the target down an eighth of a pixel; eight aboard
// block pick-ups and sink the target by 1 per update.
TEST_F(Play, EightAboardSinkTheTargetAndBlockPickUps) {
    for (float aboard : {7.0f, 8.0f}) {
        float y = OverAPerson();
        Player(kAboard) = aboard;
        app->p_Game();
        EXPECT_EQ(Player(RopeSeat(16)), aboard < 8 ? 1 : 0) << aboard;
        EXPECT_EQ(app->m_Column[100 * 10 + 1], aboard < 8 ? 0 : 1) << aboard;
        EXPECT_EQ(Player(kTargetY), y + aboard / 8) << aboard;
    }
    Hover(4813, -1000);  // still eight aboard
    for (int k = 1; k <= 3; ++k) {
        app->p_Game();
        EXPECT_EQ(Player(kTargetY), -1000 + k);
    }
}

// Taken onto the rope's end, the person climbs a segment every third update
// (sound 9 each) and comes aboard at the top: +5, sound 10, the "5" and a
// jumping figure, made this update and moved once.
TEST_F(Play, APickUpClimbsAboardAndScoresFive) {
    ListenToSounds();
    float y = OverAPerson(), x = Player(kX);
    int updates = 0;
    while (Player(kAboard) == 0 && updates++ < 100) app->p_Game();
    EXPECT_EQ(updates, 47);
    EXPECT_EQ(Player(kAboard), 1);
    EXPECT_EQ(app->m_Score, 5);
    for (int s = 0; s <= 16; ++s) EXPECT_EQ(Player(RopeSeat(s)), 0) << s;
    std::vector<float> expected(16, 9);
    expected.push_back(10);
    EXPECT_EQ(Sounds(), expected);
    auto part = [&](int r) { return std::vector<float>{Part(r, 0), Part(r, 1), Part(r, 2), Part(r, 4), Part(r, 9)}; };
    EXPECT_EQ(part(250), (std::vector<float>{99, x, (y - 48) - 0.25f, -0.25f, 5}));
    EXPECT_EQ(part(249), (std::vector<float>{3, x, (y - 16) - 0.5f, -0.5f, 0}));
}

// Payment by persons aboard (n = 10: 3 aboard on the pad a lap of the world
// away), a new wave, a figure per person and sound 11; again with nobody
// aboard: nothing.
TEST_F(Play, LandingPaysByPersonsAboardAndStartsAWave) {
    ListenToSounds();
    const int pay[] = {0, 25, 50, 100, 200, 400, 800, 1500, 2500, 2500};
    float ground = -16.0f * Height(150);
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        int aboard = n == 10 ? 3 : n;
        float x = n == 10 ? 4813 + 9600 : 4813;
        StartGame(2);
        Clear();
        sounds->effects.clear();
        Hover(x, ground - 10);
        Player(kAboard) = static_cast<float>(aboard);
        Player(kSpeed) = 6;
        for (int again = 0; again < 2; ++again) {
            app->p_Game();
            EXPECT_EQ(app->m_Score, pay[aboard]);
            EXPECT_EQ(app->m_Wave, 2);
            EXPECT_EQ(Sounds(), std::vector<float>{11});
        }
        EXPECT_EQ(Used(kEnemy), 17);  // wave 2 in mode 2: records 0..16
        EXPECT_EQ(std::vector<float>({Player(kAboard), Player(kSpeed), Player(kY), Player(kTargetX)}),
                  std::vector<float>({0, 0, ground - 15, x}));
        EXPECT_EQ(CountUsed(app->m_Part, 250), aboard + 1);
    }
}

// Ground outside the landing window (beside the pad, or too deep in it) is a
// crash: 2..4 health, the target up 4, nine debris particles.
TEST_F(Play, TouchingGroundOutsideTheLandingWindowIsACrash) {
    const float cases[][3] = {{152, -2, 1}, {151, 20, 1}, {151, -10, 0}, {152, -7, 0}};  // column, dy, crash
    for (const auto& [column, dy, crash] : cases) {
        SCOPED_TRACE(testing::Message() << column << " " << dy);
        StartGame(2);
        Clear();
        float top = -16.0f * Height(static_cast<int>(column));
        Hover(32.0f * column + 12, top + dy);
        app->p_Game();
        EXPECT_EQ(app->m_Health >= 94 && app->m_Health <= 97, crash == 1) << app->m_Health;
        EXPECT_EQ(app->m_Health == 99, crash == 0);
        if (crash == 1) EXPECT_EQ(Player(kTargetY), top + dy - 4);
        EXPECT_EQ(CountUsed(app->m_Part, 250), crash * 9);
    }
}

// The crash's draws in order: nine debris particles of seven draws each, the
// health lost, the sound's rate.
TEST_F(Play, ACrashDrawsDebrisThenDamageThenTheSoundsRate) {
    ListenToSounds();
    Hover(32.0f * 152 + 12, -16.0f * Height(152) - 2);
    kr_random_Seed = 2024;
    app->p_Game();
    kr_random_Seed = 2024;
    for (int i = 0; i < 9 * 7; ++i) kr_random_Rnd();
    int health = static_cast<int>(99 - (2 + 3 * kr_random_Rnd()));
    float rate = 0.7f + 0.6f * kr_random_Rnd();
    EXPECT_EQ(app->m_Health, health);
    EXPECT_EQ(sounds->effects, (std::vector<std::vector<float>>{{8, rate, 1}}));
}

// The sea costs 10 health per update, but nothing moves or hurts while paused.
TEST_F(Play, TheSeaCosts10HealthPerUpdateButNotWhilePaused) {
    Hover(32 * 10 + 12, -30);
    Player(kTargetX) += 100;
    Place(20, kEnemy, 500, -300);
    Obj(20, kVelX) = -2;
    app->m_Paused = 1;
    for (int k = 0; k < 5; ++k) app->p_Game();
    EXPECT_EQ(app->m_Health, 99);
    EXPECT_EQ(Player(kX), 32 * 10 + 12);
    EXPECT_EQ(Obj(20, kObjX), 500);
    app->m_Paused = 0;
    Player(kTargetX) = Player(kX);
    for (int k = 1; k <= 9; ++k) {
        app->p_Game();
        EXPECT_EQ(app->m_Health, 99 - 10 * k);
        if (k == 1) EXPECT_EQ(Obj(20, kObjX), 498);
    }
    EXPECT_EQ(app->m_GameOverT, 0);
    app->p_Game();
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Health, 0);
}

// Each hit scores 25 and turns the shot into an explosion; below 0 the enemy
// dies the next time it is drawn, for 500 more, with sounds 7 and 6.
TEST_F(Play, AnEnemyWithHealth2NeedsThreeHits) {
    ListenToSounds();
    Hover(4813, -1000);
    Place(10, kEnemy, 4913, -1000, 2);
    for (int hit = 1; hit <= 3; ++hit) {
        int shot = app->m_ObjSlot = app->p_ObjFree();
        app->p_AddBull(shot, 4913 - 12, -1000, 3, 0);  // reaches it this update
        app->p_Game();
        EXPECT_EQ(app->m_Score, 25 * hit);
        EXPECT_EQ(Obj(10, kHealth), 2 - hit);
        EXPECT_EQ(Obj(shot / 10, kKind), kExplosion);
    }
    EXPECT_EQ(Obj(10, kKind), kEnemy);
    size_t hits = sounds->effects.size();
    app->p_Game();
    EXPECT_EQ(Obj(10, kKind), 0);
    EXPECT_EQ(app->m_Score, 575);
    EXPECT_EQ(Sounds(hits), (std::vector<float>{7, 6}));
}

// An enemy near the screen fires when its timer has run out: a shot flying
// left in the highest free record, fainter the farther the enemy (sound 2 or
// 3); far away it never fires.
TEST_F(Play, EnemiesOnScreenFireWhenTheirTimerRunsOut) {
    ListenToSounds();
    for (float dx : {300.0f, 3000.0f}) {
        Hover(4813, -1000);
        Clear();
        Place(5, kEnemy, 4813 + dx, -1000, 8, 0);
        for (int k = 0; k < 300 && Used(kEnemyShot) == 0; ++k) app->p_Game();
        EXPECT_EQ(Used(kEnemyShot), dx < 640 ? 1 : 0);
        if (dx < 640) EXPECT_EQ(std::vector<float>({Obj(500, kKind), Obj(500, kVelX), Obj(5, kTimer)}),
                                std::vector<float>({kEnemyShot, -6, 16}));
    }
    EXPECT_EQ(sounds->effects.size(), 1u);
    EXPECT_EQ(sounds->effects.at(0)[2], (640.0f - 300) / 640);
}

// Health below 0 ends the game once: the end's sounds are drawn for only the
// first time, and then neither the helicopter nor the objects move.
TEST_F(Play, HealthBelowZeroEndsTheGameOnce) {
    auto seedAfter = [&](int gameOverT, int health) {
        StartGame(2);
        Clear();
        Hover(4813, -1000);
        app->m_GameOverT = gameOverT;
        app->m_Health = health;
        app->m_TunePlaying = 1;
        kr_random_Seed = 4711;
        app->p_Game();
        return kr_random_Seed;
    };
    int ending = seedAfter(0, -1);
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Health + app->m_TunePlaying, 0);
    EXPECT_EQ(DrawsBetween(seedAfter(0, 0), ending), 1);  // the rate of sound 7
    EXPECT_EQ(app->m_GameOverT, 0);
    EXPECT_EQ(seedAfter(1, -5), seedAfter(1, 0));  // already over: no more
    EXPECT_EQ(app->m_Health, 0);
    Place(20, kEnemy, 5000, -1000);
    Obj(20, kVelX) = -2;
    Player(kTargetX) += 100;
    app->p_Game();
    EXPECT_EQ(Player(kX), 4813);
    EXPECT_EQ(Obj(20, kObjX), 5000);
}

// Holding fire shoots at once, then after the delay, which grows by 0.8 with
// each shot; a locked key does not fire; letting go resets it to 6.
TEST_F(Play, FiringDelaysGrowBy08) {
    Hover(4813, -1000);
    app->p_Game();
    kr_input_device->p_KeyEvent(1, 32);
    std::vector<int> shotAt;
    for (int u = 1; u <= 19; ++u) {
        int before = Used(kPlayerShot);
        app->p_Game();
        if (Used(kPlayerShot) == before) continue;
        shotAt.push_back(u);
        EXPECT_FLOAT_EQ(Player(kFireDelay), 6 + 0.8f * static_cast<float>(shotAt.size()));
    }
    EXPECT_EQ(shotAt, (std::vector<int>{1, 6, 12, 19}));
    EXPECT_EQ(Obj(500, kVelX), 12);  // highest free records first, along the tilt
    app->m_KeyLock = 1;
    for (int u = 0; u < 20; ++u) app->p_Game();
    EXPECT_EQ(Used(kPlayerShot), 4);
    kr_input_device->p_KeyEvent(2, 32);
    app->m_KeyLock = 0;
    app->p_Game();
    EXPECT_EQ(Player(kFireDelay), 6);
}

// p_Rand(lo, hi) reaches both bounds: seeds whose next draw is the
// generator's smallest and largest value.
TEST_F(Play, RandIncludesBothBounds) {
    unsigned inverse = 1;  // of 1664525 modulo 2^32, by Newton's iteration
    for (int i = 0; i < 5; ++i) inverse *= 2 - 1664525u * inverse;
    for (auto [lo, hi, next, expected] :
         {std::tuple{0.0f, 360.0f, 0u, 0}, {0.0f, 360.0f, ~0u, 360}, {-5.0f, 5.0f, 0u, -5}, {-5.0f, 5.0f, ~0u, 5}}) {
        kr_random_Seed = static_cast<int>((next - 1013904223u) * inverse);
        EXPECT_EQ(app->p_Rand(lo, hi), expected);
    }
}

}  // namespace
