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

TEST_F(Play, TheSkyDarkensWithHeight) {
    struct Case {
        float y, green, blue;
    };
    for (Case c : {Case{-600, 175, 250}, Case{-640, 175, 250}, Case{-1000, 112, 160}, Case{-1320, 56, 80},
                   Case{-2000, 56, 80}}) {
        SCOPED_TRACE(c.y);
        Hover(4813, c.y);
        app->p_Game();
        EXPECT_EQ(app->m_ClsR, 0);
        EXPECT_FLOAT_EQ(app->m_ClsG, c.green);
        EXPECT_EQ(app->m_ClsB, c.blue);
    }
}

// The crash's draws in order: nine debris particles (kind, angle, speed and
// four for the record each), the health lost, the sound's rate.
TEST_F(Play, ACrashDrawsDebrisThenDamageThenTheSoundsRate) {
    ListenToSounds();
    int c = 152;
    float top = -16.0f * Height(c);
    Hover(32.0f * c + 12, top - 2);
    kr_random_Seed = 2024;
    app->p_Game();
    kr_random_Seed = 2024;
    for (int i = 0; i < 9 * 7; ++i) kr_random_Rnd();
    int health = static_cast<int>(99 - (2 + 3 * kr_random_Rnd()));
    float rate = 0.7f + 0.6f * kr_random_Rnd();
    EXPECT_EQ(app->m_Health, health);
    ASSERT_EQ(sounds->Sounds(), std::vector<int>{8});
    EXPECT_EQ(sounds->effects[0].rate, rate);
}

TEST_F(Play, SoundsOfARideFromThePersonToTheCabin) {
    ListenToSounds();
    int c = 100, h = Height(c);
    Hover(32.0f * c + 12, -16.0f * h - 112);
    app->m_Column[c * 10 + 1] = 1;
    std::vector<int> lastUpdate;
    while (Player(kAboard) == 0 && app->m_Frame < 100) {
        size_t before = sounds->effects.size();
        app->p_Game();
        std::vector<int> all = sounds->Sounds();
        lastUpdate.assign(all.begin() + static_cast<long>(before), all.end());
    }
    // A climbing sound for each of the 16 segments, the last one together
    // with the boarding sound.
    EXPECT_EQ(lastUpdate, (std::vector<int>{9, 10}));
    ASSERT_EQ(sounds->effects.size(), 17u);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(sounds->effects[k].sound, 9);
        EXPECT_TRUE(sounds->effects[k].rate >= 0.6f && sounds->effects[k].rate < 1.4f);
    }
    EXPECT_EQ(sounds->effects[16].rate, 1);
}

TEST_F(Play, LandingSoundsOnlyWithPassengers) {
    ListenToSounds();
    Hover(4813, -16.0f * padHeight - 10);
    Player(kAboard) = 2;
    app->p_Game();
    EXPECT_EQ(sounds->Sounds(), std::vector<int>{11});
    EXPECT_EQ(sounds->effects[0].rate, 1);
    app->p_Game();
    EXPECT_EQ(sounds->effects.size(), 1u);
}

TEST_F(Play, TheEndOfAGameSoundsOnce) {
    ListenToSounds();
    Hover(4813, -1000);
    app->m_Health = -1;
    app->p_Game();
    ASSERT_EQ(sounds->Sounds(), (std::vector<int>{6, 7}));
    EXPECT_EQ(sounds->effects[0].rate, 1);
    EXPECT_TRUE(sounds->effects[1].rate >= 0.7f && sounds->effects[1].rate < 1.2f);
    app->m_Health = -3;
    app->p_Game();
    app->p_Game();
    EXPECT_EQ(sounds->effects.size(), 2u);
    EXPECT_EQ(app->m_Health, 0);
}

TEST_F(Play, HitsAndKillsSound) {
    ListenToSounds();
    Hover(4813, -1000);
    Place(10, kEnemy, 4913, -1000, 0);
    app->p_AddBull(app->p_ObjFree(), 4913 - 12, -1000, 3, 0);
    app->p_Game();
    ASSERT_EQ(sounds->effects.size(), 1u);
    EXPECT_TRUE(sounds->effects[0].sound == 4 || sounds->effects[0].sound == 5);
    app->p_Game();
    EXPECT_EQ(sounds->Sounds(), (std::vector<int>{sounds->effects[0].sound, 7, 6}));
    std::vector<float> numbers;
    for (int r = 250; r >= 0; --r) {
        if (Part(r, 0) == 99) numbers.push_back(Part(r, 9));
    }
    EXPECT_EQ(numbers, (std::vector<float>{25, 500}));
}

// An enemy's shot sounds fainter the farther the enemy is.
TEST_F(Play, EnemyFireSoundsByDistance) {
    ListenToSounds();
    Hover(4813, -1000);
    Place(5, kEnemy, 4813 + 300, -1000, 8, 0);
    int updates = 0;
    while (sounds->effects.empty() && updates++ < 300) app->p_Game();
    ASSERT_EQ(sounds->effects.size(), 1u);
    EXPECT_TRUE(sounds->effects[0].sound == 2 || sounds->effects[0].sound == 3);
    EXPECT_EQ(sounds->effects[0].volume, (640.0f - 300) / 640);
    EXPECT_TRUE(sounds->effects[0].rate >= 0.8f && sounds->effects[0].rate < 1.2f);
}

TEST_F(Play, PassengerIconsShowWhoIsAboard) {
    const float seatX[] = {0, 10, 20, 30, 5, 15, 25, 35};
    for (int aboard : {0, 3, 8}) {
        SCOPED_TRACE(aboard);
        Hover(4813, -1000);
        Player(kAboard) = static_cast<float>(aboard);
        app->p_Game();
        std::vector<Drawn> icons;
        for (const Drawn& d : Records()) {
            if (d.kind == 2 && d.frame == 0 && d.x >= 640 - 64) icons.push_back(d);
        }
        ASSERT_EQ(icons.size(), 8u);
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(icons[k].x, 640 - 64 + seatX[k]);
            EXPECT_EQ(icons[k].y, k < 4 ? 8 : 18);
            EXPECT_EQ(icons[k].alpha, k < aboard ? 1 : 0.4f);
        }
    }
}

TEST_F(Play, TheRopeFadesWhenTheCabinIsFull) {
    for (float aboard : {7.0f, 8.0f}) {
        SCOPED_TRACE(aboard);
        Hover(4813, -1000);
        Player(kAboard) = aboard;
        app->p_Game();
        int links = 0;
        for (const Drawn& d : Records()) {
            if (d.kind != 2 || d.frame != 8) continue;
            ++links;
            EXPECT_EQ(d.alpha, aboard > 7 ? 0.3f : 1);
            EXPECT_EQ(d.w, 2);
            EXPECT_EQ(d.rotation, 0);  // hanging straight
        }
        EXPECT_EQ(links, 16);
    }
}

// Enemies show on the radar at their column's offset from the helicopter's
// and a pixel per 72 of height, between 6 below and 8 above.
TEST_F(Play, TheRadarShowsEnemiesNearInHeight) {
    Hover(4813, -1000);  // radar column (4813 / 32 + 2) = 152
    Place(1, kEnemy, 4813 + 300, -1000);        // column 159, level
    Place(2, kEnemy, 4813 - 3200, -1000 + 500);  // column 50, 6 below
    Place(3, kEnemy, 4813, -1000 - 1000);        // 13 above: off the radar
    Place(4, kEnemy, 16, -1000 - 600);           // column 0: 152 left wraps to 148 right, 8 above
    app->p_Game();
    std::vector<std::pair<float, float>> marks;
    for (const Drawn& d : Records()) {
        if (d.kind == -3717 && d.r == 255 && d.g == 100 && d.b == 100) marks.emplace_back(d.x, d.y);
    }
    std::vector<std::pair<float, float>> expected = {
        {320 + 7 - 1, 28}, {320 - 102 - 1, 28 + 6}, {320 + 148 - 1, 28 - 8}};
    EXPECT_EQ(marks, expected);
}

TEST_F(Play, AWreckBurnsOnceTheGameIsOver) {
    Hover(4813, -1000);
    app->m_GameOverT = 1;
    app->m_Health = 0;
    app->p_Game();
    int wrecks = 0, helicopters = 0;
    for (const Drawn& d : Records()) {
        if (d.kind == 1 && d.frame < 10) ++helicopters;
        if (d.kind == 2 && d.w == 6) {
            ++wrecks;
            EXPECT_TRUE(d.frame >= 16 && d.frame < 18.9f);
            EXPECT_EQ(d.x, 160);
            EXPECT_EQ(d.y, 240);
        }
    }
    EXPECT_EQ(wrecks, 1);
    EXPECT_EQ(helicopters, 0);
    EXPECT_EQ(CountUsed(app->m_Part, 250), 5);
}

// Holding fire shoots at once, then after the delay, which grows by 0.8 with
// each shot; letting go resets it to 6.
TEST_F(Play, FiringDelaysGrowBy08) {
    ListenToSounds();
    Hover(4813, -1000);
    auto fire = [](int event) { kr_input_device->p_KeyEvent(event, 32); };
    app->p_Game();  // fire up: cooldown -1, delay 6
    EXPECT_EQ(Player(kCooldown), -1);
    EXPECT_EQ(Player(kFireDelay), 6);
    fire(1);
    std::vector<int> shotAt;
    std::vector<float> delays;
    for (int u = 1; u <= 19; ++u) {
        int before = Used(kPlayerShot);
        app->p_Game();
        if (Used(kPlayerShot) > before) {
            shotAt.push_back(u);
            delays.push_back(Player(kFireDelay));
        }
    }
    EXPECT_EQ(shotAt, (std::vector<int>{1, 6, 12, 19}));
    ASSERT_EQ(delays.size(), 4u);
    for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(delays[k], 6.8f + 0.8f * k);
    // Highest free records first; 12 pixels per update along the tilt.
    EXPECT_EQ(Obj(500, kKind), kPlayerShot);
    EXPECT_EQ(Obj(497, kKind), kPlayerShot);
    EXPECT_EQ(Obj(497, kVelX), 12);
    ASSERT_EQ(sounds->effects.size(), 4u);
    for (const Effect& e : sounds->effects) {
        EXPECT_TRUE(e.sound == 2 || e.sound == 3);
        EXPECT_TRUE(e.rate >= 0.8f && e.rate < 1.2f);
    }
    // A locked key does not fire; letting go resets the delay.
    app->m_KeyLock = 1;
    for (int u = 0; u < 20; ++u) app->p_Game();
    EXPECT_EQ(Used(kPlayerShot), 4);
    fire(2);
    app->m_KeyLock = 0;
    app->p_Game();
    EXPECT_EQ(Player(kFireDelay), 6);
    EXPECT_EQ(Player(kCooldown), -1);
}

// The shell starts a game through mode 11; the arrow keys fly the helicopter
// and fire shoots, all through the real controls.
TEST_F(Play, AGameThroughTheShellFliesAndShoots) {
    app->m_LoadStep = 0;
    app->m_Mode = 11;
    UpdateOnce(app);
    EXPECT_EQ(app->m_Mode, 10);
    EXPECT_EQ(app->m_Health, 99);
    float x0 = Player(kX), y0 = Player(kY);
    kr_input_device->p_KeyEvent(1, 39);  // right
    kr_input_device->p_KeyEvent(1, 38);  // up
    kr_input_device->p_KeyEvent(1, 90);  // Z: fire
    for (int u = 0; u < 30; ++u) UpdateOnce(app);
    EXPECT_GT(Player(kX), x0 + 20);
    EXPECT_LT(Player(kY), y0 - 5);
    EXPECT_EQ(Player(kSpeed), 16);
    EXPECT_GE(Used(kPlayerShot) + Used(kExplosion), 4);
    EXPECT_EQ(app->m_MenuIntro, -32);
}

// p_InGame opens the pause panel by back on any device or by the pause
// button, once, and never over a key or pointer already in use.
TEST_F(Play, InGameOpensThePause) {
    struct Case {
        const char* how;
        int key;        // held key, 0 for none
        bool button;    // a touch on the pause button
        int keyLock, paused;
        bool opens;
        int keyLockAfter, clickLockAfter;
    };
    const Case cases[] = {
        {"escape", 27, false, 0, 0, true, 1, 0},
        {"backspace", 8, false, 0, 0, true, 1, 0},
        {"joystick 0 button 7", 256 + 7, false, 0, 0, true, 1, 0},
        {"escape over a locked key", 27, false, 1, 0, false, 1, 0},
        {"the pause button", 0, true, 0, 0, true, 0, 1},
        {"the pause button over a locked key", 0, true, 1, 0, true, 1, 1},
        {"nothing", 0, false, 0, 0, false, 0, 0},
        {"escape while paused", 27, false, 0, 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        app = StartBareGame(host);
        ListenToSounds();
        app->m_MenuIntro = 5;
        app->m_KeyLock = c.keyLock;
        app->m_Paused = c.paused;
        app->m_PauseSel = 3;
        app->m_PauseDir = c.paused ? 1 : -1;
        if (c.key) kr_input_device->p_KeyEvent(1, c.key);
        if (c.button) {
            app->m_ImgInfo[3 * 97] = app->m_ImgInfo[3 * 97 + 1] = 32;  // the icons' frame size
            app->m_MouseDown = 1;
            app->m_TouchX[0] = 16;
            app->m_TouchY[0] = 16;
        }
        app->p_InGame();
        EXPECT_EQ(app->m_MenuIntro, -32);
        EXPECT_EQ(app->m_Paused, c.opens || c.paused ? 1 : 0);
        EXPECT_EQ(app->m_KeyLock, c.keyLockAfter);
        EXPECT_EQ(app->m_ClickLock, c.clickLockAfter);
        if (c.opens) {
            EXPECT_EQ(app->m_PauseDir, 1);
            EXPECT_EQ(app->m_PauseSel, 0);
            ASSERT_EQ(sounds->Sounds(), std::vector<int>{98});
            EXPECT_EQ(sounds->effects[0].rate, 1);
            EXPECT_EQ(sounds->effects[0].volume, 0.5f);
        } else {
            EXPECT_TRUE(sounds->effects.empty());
        }
        if (c.key) kr_input_device->p_KeyEvent(2, c.key);
        kr_audio_device = nullptr;
    }
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
