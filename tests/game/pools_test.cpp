// The pools: particles, stars and objects, and the waves that restock
// enemies and waiting persons, with every random draw in its order.
#include <cmath>
#include <limits>
#include <vector>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

const float kNaN = std::numeric_limits<float>::quiet_NaN();

class Pools : public PlayFixture {};

TEST_F(Pools, TheHighestFreeRecordIsUsedFirst) {
    app->p_ResetParticles(250);
    for (int expected : {250, 249, 248}) {
        EXPECT_EQ(app->p_FreeParticle(), expected * 10);
        app->p_AddParticle(7, 0, 0, 0, 0, 0, 0, 0);
    }
    Part(249, 0) = 0;  // a freed record is the highest free again
    EXPECT_EQ(app->p_FreeParticle(), 2490);
    EXPECT_EQ(app->p_ObjFree(), 5000);
    for (int i = 1; i <= 500; ++i) Obj(i, kKind) = 1;
    EXPECT_EQ(app->p_ObjFree(), 0);
    Obj(0, kKind) = -1;  // only exactly 0 is free
    EXPECT_EQ(app->p_ObjFree(), -1);
}

// A count outside 1..499 keeps the pool's count, so the records stay within
// the arrays; stars take four draws each: colour, x, y and speed.
TEST_F(Pools, CountsOutside1To499LeaveTheCount) {
    for (auto [n, count] : {std::pair{1, 1}, {499, 499}, {0, 250}, {500, 250}, {-3, 250}}) {
        SCOPED_TRACE(n);
        app->m_PartMax = app->m_StarMax = 250;
        for (int i = 0; i < 510; ++i) Part(i, 0) = 2;
        app->p_ResetParticles(n);
        EXPECT_EQ(app->m_PartMax, count);
        EXPECT_EQ(CountUsed(app->m_Part, count), 0);
        EXPECT_EQ(Part(count + 1, 0), 2);
        int seed = kr_random_Seed;
        app->p_ResetStars(n);
        EXPECT_EQ(app->m_StarMax, count);
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), 4 * (count + 1));
    }
}

// A particle's record, with its angle and spin drawn in that order.
TEST_F(Pools, AddParticleFillsTheRecord) {
    app->p_ResetParticles(250);
    kr_random_Seed = 31337;
    app->p_AddParticle(99, 10, 20, 0.5f, -0.25f, 42, 3, 4);
    kr_random_Seed = 31337;
    float angle = std::floor(0 + kr_random_Rnd() * (360 + 0.99f));
    float spin = 14 * kr_random_Rnd() - 7;
    std::vector<float> expected = {99, 10, 20, 0.5f, -0.25f, angle, spin, 5, 3, 42};
    EXPECT_EQ(std::vector<float>(&Part(250, 0), &Part(250, 0) + 10), expected);
}

// The omitted angle and speed are drawn before the search, even into a full
// pool; a free record takes four more draws.
TEST_F(Pools, ThrowParticleDrawsBeforeTheSearch) {
    const float cases[][4] = {// angle, speed, full, draws
                              {kOmitted, kOmitted, 1, 2}, {90, kOmitted, 1, 1},        {kOmitted, 5, 1, 1},
                              {90, 5, 1, 0},              {kOmitted, kOmitted, 0, 6}, {90, 5, 0, 4}};
    for (const auto& [angle, speed, full, draws] : cases) {
        SCOPED_TRACE(testing::Message() << angle << " " << speed << " " << full);
        app->p_ResetParticles(250);
        for (int i = 0; full == 1 && i <= 250; ++i) Part(i, 0) = 1;
        int seed = kr_random_Seed;
        app->p_ThrowParticle(1, 2, 2, 4, angle, speed);
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), draws);
        EXPECT_EQ(CountUsed(app->m_Part, 250), full == 1 ? 251 : 1);
    }
    app->p_ResetParticles(250);
    kr_random_Seed = 777;
    app->p_ThrowParticle(100, 200, 2, 4);
    kr_random_Seed = 777;
    double angle = 360 * kr_random_Rnd() * M_PI / 180, speed = 5 * kr_random_Rnd() + 3;
    EXPECT_FLOAT_EQ(Part(250, 3), static_cast<float>(std::sin(angle) * speed));
    EXPECT_FLOAT_EQ(Part(250, 4), static_cast<float>(-std::cos(angle) * speed));
    EXPECT_EQ(Part(250, 5), 360 * kr_random_Rnd());
    EXPECT_EQ(Part(250, 6), 16 * kr_random_Rnd() - 8);
    EXPECT_EQ(Part(250, 7), kr_random_Rnd2(0.7f, 1.3f));
    EXPECT_EQ(Part(250, 9), std::floor(255.99f * kr_random_Rnd()));
}

// The score is paid even when no record is free (and then nothing is drawn).
TEST_F(Pools, AFullPoolStillPaysTheScore) {
    app->p_ResetParticles(250);
    for (int i = 0; i <= 250; ++i) Part(i, 0) = 3;
    int seed = kr_random_Seed;
    app->p_Gimme(500, 0, 0);
    app->p_Gimme2(2500, 0, 0);
    EXPECT_EQ(app->m_Score, 3000);
    EXPECT_EQ(kr_random_Seed, seed);
    app->p_ResetParticles(250);
    app->p_Gimme(25, 5, 6);
    app->p_Gimme2(100, 7, 8);
    EXPECT_EQ(app->m_Score, 3125);
    auto pick = [&](int r) { return std::vector<float>{Part(r, 0), Part(r, 1), Part(r, 2), Part(r, 9), Part(r, 8)}; };
    EXPECT_EQ(pick(250), (std::vector<float>{99, 5, 6, 25, 3}));
    EXPECT_EQ(pick(249), (std::vector<float>{98, 7, 8, 100, 9}));
}

// Kind 50 is never drawn but moves and ages like any other: life 0 lasts a
// hundred updates or so. Debris feels drag on x and gravity on y.
TEST_F(Pools, AnUndrawnKindMovesAndExpiresUnseen) {
    app->m_MapWidth = 300;
    app->p_ResetParticles(250);
    app->p_AddParticle(50, 0, 0, 1, 0.5f, 0, 0, 0);
    app->p_AddParticle(2, 0, 0, 2, -1, 0, 0, 5);
    app->p_DoParticles();
    EXPECT_EQ(std::vector<float>({Part(250, 1), Part(250, 2), Part(250, 7)}), std::vector<float>({1, 0.5f, 1 - 0.01f}));
    EXPECT_EQ(std::vector<float>({Part(249, 3), Part(249, 4)}), std::vector<float>({2 * 0.95f, -1 + 0.2f}));
    Part(249, 0) = 0;
    int updates = 1;
    for (; Part(250, 0) != 0 && updates < 200; ++updates) {
        app->m_DrawN = 0;
        app->p_DoParticles();
        EXPECT_EQ(app->m_DrawN, 0);
    }
    EXPECT_TRUE(updates >= 100 && updates <= 102) << updates;
}

// Particles draw at their screen x; the world wraps, but one just left of
// the camera stays at a small negative x.
TEST_F(Pools, ParticlesDrawAtTheirScreenX) {
    app->m_MapWidth = 300;
    app->m_CamX = 1000;
    app->m_CamY = -500;
    for (auto [dx, x] : {std::pair{100.0f, 100.0f}, {-1.0f, -1.0f}, {-128.0f, -128.0f}, {-200.0f, 9400.0f}}) {
        app->p_ResetParticles(250);
        float* p = &Part(250, 0);
        for (int e = 0; e < 10; ++e) p[e] = 0;
        p[0] = 1, p[1] = 1000 + dx, p[2] = -400, p[7] = 2, p[8] = 9, p[9] = 37;
        app->m_DrawN = 0;
        app->p_DoParticles();
        ASSERT_EQ(app->m_DrawN, 15) << dx;
        EXPECT_EQ(std::vector<float>(Record(0), Record(0) + 3), std::vector<float>({96, x, 100})) << dx;
    }
}

// A star that leaves the field (the screen widened by overscan + 16) comes
// back across it with three draws: its place across the travel, its speed,
// its colour. A camera step that is not a number moves nothing.
TEST_F(Pools, StarsWrapWithThreeDraws) {
    const float cases[][6] = {{-10, 100, -20, 0, -20 + 672, kNaN},  // x, y, dx, dy, wrapped x and y;
                              {650, 100, 20, 0, 660 - 672, kNaN},   // NaN: drawn anew
                              {100, -10, 0, -20, kNaN, -20 + 512},
                              {100, 490, 0, 20, kNaN, 500 - 512}};
    float* s = &app->m_Star[0];
    app->m_StarMax = 0;
    for (const auto& [x, y, dx, dy, wx, wy] : cases) {
        SCOPED_TRACE(x);
        s[0] = 7, s[1] = x, s[2] = y, s[3] = 0.5f;
        int seed = kr_random_Seed;
        app->p_DoStars(dx, dy);
        kr_random_Seed = seed;
        float across = std::isnan(wx) ? 656 * kr_random_Rnd() - 8 : 496 * kr_random_Rnd() - 8;
        float speed = kr_random_Rnd2(0.2f, 0.8f), colour = std::floor(255.99f * kr_random_Rnd());
        EXPECT_EQ(std::vector<float>(s, s + 4),
                  std::vector<float>({colour, std::isnan(wx) ? across : wx, std::isnan(wy) ? across : wy, speed}));
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), 3);
    }
    s[1] = -10, s[2] = 100;
    int seed = kr_random_Seed;
    app->p_DoStars(kNaN, std::numeric_limits<float>::infinity());
    EXPECT_EQ(s[1], -10);
    EXPECT_EQ(kr_random_Seed, seed);
}

TEST_F(Pools, StillStarsAreDrawnWhereTheyStand) {
    app->p_ResetStars(100);
    app->m_DrawN = 0;
    app->p_DoStars(0, 0);
    ASSERT_EQ(app->m_DrawN, 15 * 101);
    for (int i = 0; i <= 100; ++i) {
        const float *s = &app->m_Star[i * 10], *d = Record(i);
        EXPECT_EQ(std::vector<float>({d[0], d[1], d[2], d[6], d[7]}), std::vector<float>({96, s[1], s[2], s[0], s[3]}));
    }
}

// Colours outside the palette are grey; brightness scales and clamps at 255.
TEST_F(Pools, InkSetsThePaletteColourTimesBrightness) {
    const float cases[][5] = {{2, 1, 255, 127.5f, 25.5f}, {0, 1, 76.5f, 76.5f, 76.5f}, {10, 1, 76.5f, 76.5f, 76.5f},
                              {-4, 1, 76.5f, 76.5f, 76.5f}, {2, 2, 255, 255, 51},        {4, -1, 0, 0, 0}};
    for (const auto& [colour, brightness, r, g, b] : cases) {
        app->p_Ink(static_cast<int>(colour), brightness);
        EXPECT_EQ(std::vector<float>({app->m_DrawR, app->m_DrawG, app->m_DrawB}), std::vector<float>({r, g, b}))
            << colour;
    }
}

// Mode 3 on wave 30 asks for 480 enemies; the cap is record 400, so every
// free record of 0..400 gets one and the occupied ones stay.
TEST_F(Pools, ReplenishFillsEveryFreeRecordUpTo400) {
    StartGame(3);
    Clear();
    Obj(7, kKind) = 3;
    Obj(450, kKind) = 1;
    app->m_Wave = 29;
    app->p_Replenish();
    EXPECT_EQ(app->m_Wave, 30);
    EXPECT_EQ(Obj(7, kKind), 3);
    int enemies = 0;
    for (int i = 0; i <= 400; ++i) enemies += Obj(i, kKind) == kEnemy;
    EXPECT_EQ(enemies, 400);
    EXPECT_EQ(CountUsed(app->m_Obj, 500), 402);
}

// Every record of 0..N draws candidates, occupied or not; a spawn above -80
// (say -50) comes down to -80, one below (say -300) stays.
TEST_F(Pools, ReplenishDrawsForOccupiedRecordsAndClampsTheHeight) {
    StartGame(2);
    Clear();
    Obj(2, kKind) = 2;
    Obj(5, kKind) = 3;
    Player(kX) = 3000;
    Player(kY) = 300;  // spawn heights -300 .. 419 before the clamp
    app->m_Wave = 0;
    int seed = kr_random_Seed;
    app->p_Replenish();  // wave 1: records 0..8
    kr_random_Seed = seed;
    int clamped = 0;
    for (int i = 0; i <= 8; ++i) {
        float x, raw;
        do {
            x = static_cast<float>(static_cast<int>(kr_random_Rnd() * 9600));
            raw = static_cast<float>(static_cast<int>(kr_random_Rnd() * 720)) + (300 - 600);
        } while (!(std::fabs(x - 3000) > 1280));
        if (i == 2 || i == 5) continue;  // occupied: candidate drawn, nothing else
        clamped += raw > -80;
        float phase = kr_random_Rnd() * 80, rate = 4 * kr_random_Rnd() + 2;
        EXPECT_EQ(std::vector<float>({Obj(i, kObjX), Obj(i, kObjY), Obj(i, kPhase), Obj(i, kRate)}),
                  std::vector<float>({x, raw > -80 ? -80 : raw, phase, rate})) << i;
    }
    EXPECT_TRUE(clamped > 0 && clamped < 7);
    EXPECT_EQ(Obj(2, kKind) + Obj(5, kKind), 5);
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
        SCOPED_TRACE(world);
        StartGame(2);
        Clear();
        app->m_MapWidth = width;
        for (int col = 0; col <= 499; ++col) app->m_Column[col * 10] = col >= from && col <= to ? 5 : 0;
        Player(kX) = px;
        app->m_Wave = 0;
        app->p_Replenish();
        EXPECT_EQ(app->m_Wave, 1);
        EXPECT_EQ(CountUsed(app->m_Obj, 500), enemies);
        EXPECT_EQ(app->m_People, persons);
    }
}

}  // namespace
