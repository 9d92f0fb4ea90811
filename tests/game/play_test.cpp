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

// How many draws of the generator lead from one seed to another (-1 if none
// within 10000).
int DrawsBetween(int before, int after) {
    int saved = kr_random_Seed;
    kr_random_Seed = before;
    int n = 0;
    while (kr_random_Seed != after && n <= 10000) {
        kr_random_Rnd();
        ++n;
    }
    kr_random_Seed = saved;
    return n > 10000 ? -1 : n;
}

class Play : public PlayFixture {
protected:
    // A game with nothing in the air and nobody waiting.
    void SetUp() override {
        PlayFixture::SetUp();
        StartGame(2);
        ClearObjects();
        ClearPersons();
        padHeight = Height(150);
    }

    // An enemy (or shot) of `kind` in `record` at (x, y), standing still.
    void Place(int record, float kind, float x, float y, float health = 8, float timer = 100) {
        for (int e = 0; e < 10; ++e) Obj(record, e) = 0;
        Obj(record, kKind) = kind;
        Obj(record, kObjX) = x;
        Obj(record, kObjY) = y;
        Obj(record, kHealth) = health;
        Obj(record, kTimer) = timer;
    }

    int Used(float kind) {
        int n = 0;
        for (int i = 0; i <= 500; ++i) n += Obj(i, kKind) == kind;
        return n;
    }

    int padHeight = 0;
};

TEST_F(Play, SidewaysSpeedGrowsBy2PerUpdateTo16) {
    for (float side : {1.0f, -1.0f}) {
        SCOPED_TRACE(side);
        Hover(4813, -1000);
        Player(kTargetX) = 4813 + side * 1000;
        const float expected[] = {2, 4, 6, 8, 10, 12, 14, 16, 16, 16};
        float x = 4813, tilt = 0;
        for (float speed : expected) {
            app->p_Game();
            EXPECT_EQ(Player(kSpeed), side * speed);
            // The helicopter follows its target by a sixteenth of the way.
            x += (Player(kTargetX) - x) / 16;
            tilt += (side * speed - tilt) / 8;
            EXPECT_EQ(Player(kX), x);
            EXPECT_EQ(Player(kTilt), tilt);
        }
    }
    // On target, friction takes 2 per update until nothing is left.
    Player(kTargetX) = Player(kX);
    for (float speed : {14, 12, 10, 8, 6, 4, 2, 0, 0}) {
        app->p_Game();
        Player(kTargetX) = Player(kX);
        EXPECT_EQ(Player(kSpeed), -speed);
    }
}

TEST_F(Play, TheStickMovesTheTargetAndABrokenStickCountsAsCentred) {
    struct Case {
        float stickX, stickY, dx, dy;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (Case c : {Case{1, -1, 4, -2}, Case{0.5f, 0.25f, 2, 0.5f}, Case{nan, inf, 0, 0}, Case{-inf, nan, 0, 0},
                   Case{30, -30, 4, -2}}) {
        SCOPED_TRACE(c.stickX);
        Hover(4813, -1000);
        app->m_StickX = c.stickX;
        app->m_StickY = c.stickY;
        app->p_GameFlight();
        EXPECT_EQ(Player(kTargetX), 4813 + c.dx);
        EXPECT_EQ(Player(kTargetY), -1000 + c.dy);
        EXPECT_TRUE(std::isfinite(Player(kX)) && std::isfinite(Player(kY)));
    }
}

TEST_F(Play, TheCeilingPushesTheTargetDown16PerUpdate) {
    struct Case {
        float y;
        bool pushed;
    };
    for (Case c : {Case{-1400, true}, Case{-1325, true}, Case{-1320, false}, Case{-1000, false}}) {
        SCOPED_TRACE(c.y);
        Hover(4813, c.y);
        for (int k = 1; k <= 3; ++k) {
            app->p_Game();
            EXPECT_EQ(Player(kTargetY), c.y + (c.pushed ? 16 * k : 0));
        }
    }
}

// A person under the hanging rope's end is taken onto its last segment,
// unless eight are aboard; the rope is pale then.
TEST_F(Play, EightAboardSinkTheTargetAndBlockPickUps) {
    int c = 100, h = Height(c);
    float x = 32.0f * c + 12, y = -16.0f * h - 112;
    for (float aboard : {0.0f, 7.0f, 8.0f, 9.0f}) {
        SCOPED_TRACE(aboard);
        Hover(x, y);
        Player(kAboard) = aboard;
        app->m_Column[c * 10 + 1] = 1;
        app->p_Game();
        bool taken = aboard < 8;
        EXPECT_EQ(Player(RopeSeat(16)), taken ? 1 : 0);
        EXPECT_EQ(app->m_Column[c * 10 + 1], taken ? 0 : 1);
        // Each passenger pulls the target down an eighth of a pixel.
        EXPECT_EQ(Player(kTargetY), y + aboard / 8);
    }
    Hover(x, y - 200);
    Player(kAboard) = 8;
    for (int k = 1; k <= 3; ++k) {
        app->p_Game();
        EXPECT_EQ(Player(kTargetY), y - 200 + k);
    }
}

// The person climbs a segment every third update and comes aboard at the top.
TEST_F(Play, APickUpClimbsAboardAndScoresFive) {
    int c = 100, h = Height(c);
    float x = 32.0f * c + 12, y = -16.0f * h - 112;
    Hover(x, y);
    app->m_Column[c * 10 + 1] = 1;
    app->p_Game();
    ASSERT_EQ(Player(RopeSeat(16)), 1);
    int updates = 1;
    while (Player(kAboard) == 0 && updates < 100) {
        app->p_Game();
        ++updates;
    }
    // Taken at frame 0; climbs at frames 1, 4, .. 46; aboard in that update.
    EXPECT_EQ(updates, 47);
    EXPECT_EQ(Player(kAboard), 1);
    EXPECT_EQ(app->m_Score, 5);
    for (int s = 0; s <= 16; ++s) EXPECT_EQ(Player(RopeSeat(s)), 0) << s;
    // Kind, x, y, velocity, colour and value; made in step 7, moved once in
    // step 13.
    auto part = [&](int r) {
        return std::vector<float>{Part(r, 0), Part(r, 1), Part(r, 2), Part(r, 3), Part(r, 4), Part(r, 8), Part(r, 9)};
    };
    EXPECT_EQ(part(250), (std::vector<float>{99, x, (y - 48) - 0.25f, 0, -0.25f, 3, 5}));
    EXPECT_EQ(part(249), (std::vector<float>{3, x, (y - 16) - 0.5f, 0, -0.5f, 0, 0}));
}

TEST_F(Play, LandingPaysByPersonsAboardAndStartsAWave) {
    const int pay[] = {0, 25, 50, 100, 200, 400, 800, 1500, 2500, 2500};
    float ground = -16.0f * padHeight;
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE(n);
        StartGame(2);
        ClearObjects();
        Hover(4813, ground - 10);
        Player(kAboard) = static_cast<float>(n);
        Player(kSpeed) = 6;
        Player(kTilt) = 3;
        app->p_Game();
        EXPECT_EQ(app->m_Score, pay[n]);
        EXPECT_EQ(app->m_Wave, 2);
        EXPECT_EQ(Used(kEnemy), 17);  // wave 2 in mode 2: records 0..16
        EXPECT_EQ(Player(kAboard), 0);
        EXPECT_EQ(Player(kSpeed), 0);
        EXPECT_EQ(Player(kTilt), 0);
        EXPECT_EQ(Player(kY), ground - 15);
        EXPECT_EQ(Player(kTargetY), ground - 15);
        EXPECT_EQ(Player(kTargetX), 4813);
        EXPECT_EQ(Part(250, 0), 98);
        EXPECT_EQ(Part(250, 9), pay[n]);
        // One jumping figure per person.
        for (int k = 1; k <= n; ++k) EXPECT_EQ(Part(250 - k, 0), 3) << k;
        EXPECT_EQ(CountUsed(app->m_Part, 250), n + 1);

        // Still on the pad with nobody aboard: nothing more.
        app->p_Game();
        EXPECT_EQ(app->m_Score, pay[n]);
        EXPECT_EQ(app->m_Wave, 2);
        EXPECT_EQ(Player(kY), ground - 15);
    }
}

// The helicopter's flight does not wrap: landing a lap of the world away
// centres it on the pad of that lap.
TEST_F(Play, LandingALapAwayCentresOnThatLapsPad) {
    float ground = -16.0f * padHeight;
    Hover(4813 + 9600, ground - 10);
    Player(kAboard) = 3;
    app->p_Game();
    EXPECT_EQ(app->m_Score, 100);
    EXPECT_EQ(Player(kTargetX), 4813 + 9600);
}

TEST_F(Play, TouchingGroundOutsideTheLandingWindowIsACrash) {
    struct Case {
        const char* where;
        int column;
        float dy;  // helicopter y below the column's top
        bool crash;
    };
    const Case cases[] = {
        {"beside the pad, low", 152, -2, true},
        {"pad column, too deep", 151, 20, true},
        {"pad column, in the window", 151, -10, false},
        {"beside the pad, high", 152, -7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        StartGame(2);
        ClearObjects();
        ClearPersons();
        float top = -16.0f * Height(c.column);
        Hover(32.0f * c.column + 12, top + c.dy);
        app->p_Game();
        if (c.crash) {
            EXPECT_TRUE(app->m_Health >= 94 && app->m_Health <= 97) << app->m_Health;
            EXPECT_EQ(Player(kTargetY), top + c.dy - 4);
            EXPECT_EQ(CountUsed(app->m_Part, 250), 9);
            for (int r = 242; r <= 250; ++r) EXPECT_TRUE(Part(r, 0) == 1 || Part(r, 0) == 2) << r;
        } else {
            EXPECT_EQ(app->m_Health, 99);
            EXPECT_EQ(CountUsed(app->m_Part, 250), 0);
        }
    }
}

TEST_F(Play, TheSeaCosts10HealthPerUpdateUntilTheGameIsOver) {
    Hover(32 * 10 + 12, -30);
    for (int k = 1; k <= 9; ++k) {
        app->p_Game();
        EXPECT_EQ(app->m_Health, 99 - 10 * k);
        EXPECT_EQ(app->m_GameOverT, 0);
    }
    app->p_Game();
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Health, 0);
}

// Pausing freezes the game: no flight, no moving objects, and no harm from
// the sea or the ground while the panel is open.
TEST_F(Play, APausedGameTakesNoHarmAndNothingMoves) {
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
    app->p_Game();
    EXPECT_EQ(app->m_Health, 89);
    EXPECT_EQ(Obj(20, kObjX), 498);
}

TEST_F(Play, AnEnemyWithHealth2NeedsThreeHits) {
    Hover(4813, -1000);
    Place(10, kEnemy, 4913, -1000, 2);
    const int scores[] = {25, 50, 75};
    for (int hit = 0; hit < 3; ++hit) {
        // A shot that reaches the enemy in this update's move.
        app->m_ObjSlot = app->p_ObjFree();
        app->p_AddBull(app->m_ObjSlot, 4913 - 12, -1000, 3, 0);
        int shot = app->m_ObjSlot / 10;
        app->p_Game();
        EXPECT_EQ(app->m_Score, scores[hit]);
        EXPECT_EQ(Obj(10, kHealth), 1 - hit);
        EXPECT_EQ(Obj(shot, kKind), kExplosion);
        EXPECT_EQ(Obj(shot, kTimer), 64);
        EXPECT_EQ(Obj(shot, kVelX), 0);
    }
    // Below 0 it dies the next time it is drawn, for 500 more.
    EXPECT_EQ(Obj(10, kKind), kEnemy);
    app->p_Game();
    EXPECT_EQ(Obj(10, kKind), 0);
    EXPECT_EQ(app->m_Score, 575);
}

TEST_F(Play, AnEnemyShotOnTheHelicopterExplodesAndHurts) {
    Hover(4813, -1000);
    Place(30, kEnemyShot, 4813 + 6, -1000);
    Obj(30, kVelX) = -6;
    app->p_Game();
    EXPECT_EQ(Obj(30, kKind), kExplosion);
    EXPECT_EQ(Obj(30, kVelX), 0);
    EXPECT_EQ(Obj(30, kTimer), 64);
    EXPECT_TRUE(app->m_Health >= 88 && app->m_Health <= 94) << app->m_Health;
    EXPECT_EQ(CountUsed(app->m_Part, 250), 7);
    // The explosion is freed once its timer is below 0: after 65 updates.
    for (int k = 0; k < 64; ++k) app->p_Game();
    EXPECT_EQ(Obj(30, kKind), kExplosion);
    app->p_Game();
    EXPECT_EQ(Obj(30, kKind), 0);
}

TEST_F(Play, ShotsDieInTheGroundAndFarOffScreen) {
    Hover(4813, -1000);
    int c = 160;  // on screen, off the pad
    float top = -16.0f * Height(c);
    Place(40, kPlayerShot, 32.0f * c, top + 1);      // inside the column under x + 16
    Place(41, kEnemyShot, 32.0f * c, top - 20);      // above it
    Place(42, kPlayerShot, 4813 + 1200, -1000);      // screen x 1360: beyond 640 + 512
    Place(43, kEnemy, 4813 + 1200, -1000);           // enemies do not die off screen
    Place(44, kEnemy, 4813 + 1200, 40);              // but do below y = 32
    app->p_Game();
    EXPECT_EQ(Obj(40, kKind), 0);
    EXPECT_EQ(CountUsed(app->m_Part, 250), 5);
    EXPECT_EQ(Part(250, 0), 2);
    EXPECT_EQ(Part(250, 8), 4);
    EXPECT_EQ(Obj(41, kKind), kEnemyShot);
    EXPECT_EQ(Obj(42, kKind), 0);
    EXPECT_EQ(Obj(43, kKind), kEnemy);
    EXPECT_EQ(Obj(44, kKind), 0);
}

// An enemy near the screen fires now and then when its timer has run out:
// a shot flying left in the highest free record, and a new timer of 16.
TEST_F(Play, EnemiesOnScreenFireWhenTheirTimerRunsOut) {
    Hover(4813, -1000);
    Place(5, kEnemy, 4813 + 300, -1000, 8, 0);
    int updates = 0;
    while (Used(kEnemyShot) == 0 && updates < 300) {
        app->p_Game();
        ++updates;
    }
    ASSERT_EQ(Used(kEnemyShot), 1);
    EXPECT_EQ(Obj(500, kKind), kEnemyShot);
    EXPECT_EQ(app->m_ObjSlot, 5000);
    EXPECT_EQ(Obj(500, kVelX), -6);
    EXPECT_EQ(Obj(5, kTimer), 16);
    // Made in the enemy's place; its higher record moved it in the same pass.
    EXPECT_EQ(Obj(500, kObjX), Obj(5, kObjX) - 6);

    // Far from the screen an enemy never fires.
    ClearObjects();
    Place(5, kEnemy, 4813 + 3000, -1000, 8, 0);
    for (int k = 0; k < 300; ++k) app->p_Game();
    EXPECT_EQ(Used(kEnemyShot), 0);
}

// Health below 0 ends the game once: the helicopter stops flying, objects
// stop moving, and only the first time are the end's sounds drawn for.
TEST_F(Play, HealthBelowZeroEndsTheGameOnce) {
    struct Run {
        int gameOverT, health;
    };
    auto seedAfter = [&](Run r) {
        StartGame(2);
        ClearObjects();
        Hover(4813, -1000);
        app->m_GameOverT = r.gameOverT;
        app->m_Health = r.health;
        app->m_TunePlaying = 1;
        kr_random_Seed = 4711;
        app->p_Game();
        return kr_random_Seed;
    };
    int ending = seedAfter({0, -1});
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Health, 0);
    EXPECT_EQ(app->m_TunePlaying, 0);
    // One draw more than the same update at health 0: the rate of sound 7.
    EXPECT_EQ(DrawsBetween(seedAfter({0, 0}), ending), 1);
    EXPECT_EQ(app->m_GameOverT, 0);
    // Already over: no more sounds, health back to 0.
    EXPECT_EQ(seedAfter({1, -5}), seedAfter({1, 0}));
    EXPECT_EQ(app->m_GameOverT, 1);
    EXPECT_EQ(app->m_Health, 0);

    Place(20, kEnemy, 5000, -1000);
    Obj(20, kVelX) = -2;
    Player(kTargetX) += 100;
    app->p_Game();
    EXPECT_EQ(Player(kX), 4813);
    EXPECT_EQ(Obj(20, kObjX), 5000);
}

TEST_F(Play, RandIncludesBothBounds) {
    // The seeds whose next draw is the generator's smallest and largest value.
    auto seedBefore = [](unsigned next) {
        unsigned inverse = 1;  // of 1664525 modulo 2^32, by Newton's iteration
        for (int i = 0; i < 5; ++i) inverse *= 2 - 1664525u * inverse;
        return static_cast<int>((next - 1013904223u) * inverse);
    };
    struct Case {
        float lo, hi;
        unsigned next;
        int expected;
    };
    for (Case c : {Case{0, 360, 0, 0}, Case{0, 360, 0xffffffffu, 360}, Case{-5, 5, 0, -5},
                   Case{-5, 5, 0xffffffffu, 5}, Case{2, 2, 0x80000000u, 2}}) {
        kr_random_Seed = seedBefore(c.next);
        EXPECT_EQ(app->p_Rand(c.lo, c.hi), c.expected);
        EXPECT_EQ(static_cast<unsigned>(kr_random_Seed), c.next);
    }
}

}  // namespace
