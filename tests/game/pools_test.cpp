// The pools: particles, stars and objects, and the waves that restock
// enemies and waiting persons, with every random draw in its order.
#include <cmath>
#include <limits>
#include <vector>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

// How many draws of the generator lead from one seed to another (-1 if
// none within `limit`).
int DrawsBetween(int before, int after, int limit = 10000) {
    int saved = kr_random_Seed;
    kr_random_Seed = before;
    int n = 0;
    while (kr_random_Seed != after && n <= limit) {
        kr_random_Rnd();
        ++n;
    }
    kr_random_Seed = saved;
    return n > limit ? -1 : n;
}

class Pools : public PlayFixture {};

TEST_F(Pools, TheHighestFreeRecordIsUsedFirst) {
    app->p_ResetParticles(250);
    for (int expected : {250, 249, 248}) {
        EXPECT_EQ(app->p_FreeParticle(), expected * 10);
        app->p_AddParticle(7, 0, 0, 0, 0, 0, 0, 0);
        EXPECT_EQ(Part(expected, 0), 7);
    }
    Part(249, 0) = 0;  // a freed record is the highest free again
    EXPECT_EQ(app->p_FreeParticle(), 2490);
    app->m_PartMax = -1;
    EXPECT_EQ(app->p_FreeParticle(), -1);

    EXPECT_EQ(app->p_ObjFree(), 5000);
    for (int i = 1; i <= 500; ++i) Obj(i, kKind) = 1;
    EXPECT_EQ(app->p_ObjFree(), 0);
    Obj(0, kKind) = 12;
    EXPECT_EQ(app->p_ObjFree(), -1);
    Obj(0, kKind) = -1;  // only exactly 0 is free
    EXPECT_EQ(app->p_ObjFree(), -1);
}

TEST_F(Pools, CountsOutside1To499LeaveTheCount) {
    struct Case {
        int n, count;
    };
    for (Case c : {Case{1, 1}, Case{499, 499}, Case{0, 250}, Case{500, 250}, Case{-3, 250}}) {
        SCOPED_TRACE(c.n);
        app->m_PartMax = 250;
        for (int i = 0; i < 510; ++i) Part(i, 0) = 2;
        app->p_ResetParticles(c.n);
        EXPECT_EQ(app->m_PartMax, c.count);
        EXPECT_EQ(CountUsed(app->m_Part, c.count), 0);
        EXPECT_EQ(Part(c.count + 1, 0), 2);

        app->m_StarMax = 250;
        int seed = kr_random_Seed;
        app->p_ResetStars(c.n);
        EXPECT_EQ(app->m_StarMax, c.count);
        // Colour, x, y and speed for each star.
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), 4 * (c.count + 1));
    }
}

TEST_F(Pools, ResetStarsScattersOverTheScreen) {
    int seed = kr_random_Seed = 99;
    app->p_ResetStars(100);
    kr_random_Seed = seed;
    for (int i = 0; i <= 100; ++i) {
        EXPECT_EQ(app->m_Star[i * 10], std::floor(255.99f * kr_random_Rnd()));
        EXPECT_EQ(app->m_Star[i * 10 + 1], (640 + 16) * kr_random_Rnd() - 8);
        EXPECT_EQ(app->m_Star[i * 10 + 2], (480 + 16) * kr_random_Rnd() - 8);
        EXPECT_EQ(app->m_Star[i * 10 + 3], kr_random_Rnd2(0.2f, 0.8f));
    }
}

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
    struct Case {
        float angle, speed;
        bool full;
        int draws;
    };
    const Case cases[] = {
        {kOmitted, kOmitted, true, 2}, {90, kOmitted, true, 1},    {kOmitted, 5, true, 1},
        {90, 5, true, 0},              {kOmitted, kOmitted, false, 6}, {90, 5, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.draws);
        app->p_ResetParticles(250);
        if (c.full) {
            for (int i = 0; i <= 250; ++i) Part(i, 0) = 1;
        }
        int seed = kr_random_Seed;
        app->p_ThrowParticle(1, 2, 2, 4, c.angle, c.speed);
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), c.draws);
        EXPECT_EQ(CountUsed(app->m_Part, 250), c.full ? 251 : 1);
    }

    app->p_ResetParticles(250);
    kr_random_Seed = 777;
    app->p_ThrowParticle(100, 200, 2, 4);
    kr_random_Seed = 777;
    double angle = 360 * kr_random_Rnd();
    double speed = 5 * kr_random_Rnd() + 3;
    EXPECT_EQ(Part(250, 0), 2);
    EXPECT_EQ(Part(250, 1), 100);
    EXPECT_EQ(Part(250, 2), 200);
    EXPECT_FLOAT_EQ(Part(250, 3), static_cast<float>(std::sin(angle * M_PI / 180) * speed));
    EXPECT_FLOAT_EQ(Part(250, 4), static_cast<float>(-std::cos(angle * M_PI / 180) * speed));
    EXPECT_EQ(Part(250, 5), 360 * kr_random_Rnd());
    EXPECT_EQ(Part(250, 6), 16 * kr_random_Rnd() - 8);
    EXPECT_EQ(Part(250, 7), kr_random_Rnd2(0.7f, 1.3f));
    EXPECT_EQ(Part(250, 8), 4);
    EXPECT_EQ(Part(250, 9), std::floor(255.99f * kr_random_Rnd()));
}

TEST_F(Pools, AFullPoolStillPaysTheScore) {
    app->p_ResetParticles(250);
    for (int i = 0; i <= 250; ++i) Part(i, 0) = 3;
    int seed = kr_random_Seed;
    app->p_Gimme(500, 0, 0);
    app->p_Gimme2(2500, 0, 0);
    EXPECT_EQ(app->m_Score, 3000);
    EXPECT_EQ(kr_random_Seed, seed);  // no record, no draws

    app->p_ResetParticles(250);
    app->p_Gimme(25, 5, 6);
    app->p_Gimme2(100, 7, 8);
    EXPECT_EQ(app->m_Score, 3125);
    std::vector<float> number = {99, 5, 6, 0, -0.25f, 25, 3, 1};
    std::vector<float> big = {98, 7, 8, 0, -0.5f, 100, 9, 1};
    auto pick = [&](int r) {
        return std::vector<float>{Part(r, 0), Part(r, 1), Part(r, 2), Part(r, 3),
                                  Part(r, 4), Part(r, 9), Part(r, 8), Part(r, 7)};
    };
    EXPECT_EQ(pick(250), number);
    EXPECT_EQ(pick(249), big);
}

TEST_F(Pools, ParticlesMoveAgeAndExpire) {
    app->m_MapWidth = 300;
    app->p_ResetParticles(250);
    // Kind 50 is not drawn but lives like any other; life 0 lasts a hundred
    // updates or so.
    app->p_AddParticle(50, 0, 0, 1, 0.5f, 0, 0, 0);
    // Debris falls: drag on x, gravity on y, after the move.
    app->p_AddParticle(2, 0, 0, 2, -1, 0, 0, 5);
    app->p_DoParticles();
    EXPECT_EQ(Part(250, 1), 1);
    EXPECT_EQ(Part(250, 2), 0.5f);
    EXPECT_EQ(Part(249, 1), 2);
    EXPECT_EQ(Part(249, 2), -1);
    EXPECT_EQ(Part(249, 3), 2 * 0.95f);
    EXPECT_EQ(Part(249, 4), -1 + 0.2f);
    EXPECT_EQ(Part(250, 7), 1 - 0.01f);
    int updates = 1;
    while (Part(250, 0) != 0 && updates < 200) {
        app->p_DoParticles();
        ++updates;
    }
    EXPECT_GE(updates, 100);
    EXPECT_LE(updates, 102);
    EXPECT_EQ(Part(250, 1), static_cast<float>(updates));
}

// A star that leaves the field (the screen widened by overscan + 16) comes
// back across it and takes three draws: its place across the travel, its
// speed and its colour.
TEST_F(Pools, StarsWrapWithThreeDraws) {
    struct Case {
        float x, y, dx, dy;
        float wrappedX, wrappedY;  // NaN: drawn anew
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {-10, 100, -20, 0, -20 + 672, nan},   // past the left edge, 2 x 0 + 32 + 640
        {650, 100, 20, 0, 660 - 672, nan},    // past the right edge
        {100, -10, 0, -20, nan, -20 + 512},   // past the top, 32 + 480
        {100, 490, 0, 20, nan, 500 - 512},    // past the bottom
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        app->m_StarMax = 0;
        float* s = &app->m_Star[0];
        s[0] = 7, s[1] = c.x, s[2] = c.y, s[3] = 0.5f;
        int seed = kr_random_Seed;
        app->p_DoStars(c.dx, c.dy);
        kr_random_Seed = seed;
        float across = std::isnan(c.wrappedX) ? 656 * kr_random_Rnd() - 8 : 496 * kr_random_Rnd() - 8;
        float speed = kr_random_Rnd2(0.2f, 0.8f);
        float colour = std::floor(255.99f * kr_random_Rnd());
        EXPECT_EQ(s[1], std::isnan(c.wrappedX) ? across : c.wrappedX);
        EXPECT_EQ(s[2], std::isnan(c.wrappedY) ? across : c.wrappedY);
        EXPECT_EQ(s[3], speed);
        EXPECT_EQ(s[0], colour);
        EXPECT_EQ(DrawsBetween(seed, kr_random_Seed), 3);
    }

    // Overscan widens the field: -20 is still inside with overscan 8.
    kr_Vex_overscan = 8;
    float* s = &app->m_Star[0];
    s[1] = -20, s[2] = 100, s[3] = 0.5f;
    int seed = kr_random_Seed;
    app->p_DoStars(0, 0);
    EXPECT_EQ(s[1], -20);
    EXPECT_EQ(kr_random_Seed, seed);
    kr_Vex_overscan = 0;
}

TEST_F(Pools, StillStarsStayWithoutDraws) {
    app->p_ResetStars(100);
    std::vector<float> before(app->m_Star.Data(), app->m_Star.Data() + 1010);
    int seed = kr_random_Seed;
    app->p_DoStars(0, 0);
    EXPECT_EQ(std::vector<float>(app->m_Star.Data(), app->m_Star.Data() + 1010), before);
    EXPECT_EQ(kr_random_Seed, seed);
    // A camera step that is not a number leaves them too.
    app->p_DoStars(std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(std::vector<float>(app->m_Star.Data(), app->m_Star.Data() + 1010), before);
}

TEST_F(Pools, StillStarsAreDrawnWhereTheyStand) {
    app->p_ResetStars(100);
    app->m_DrawN = 0;
    app->p_DoStars(0, 0);
    std::vector<Drawn> drawn = Records();
    ASSERT_EQ(drawn.size(), 101u);
    for (int i = 0; i <= 100; ++i) {
        const float* s = &app->m_Star[i * 10];
        const Drawn& d = drawn[i];
        EXPECT_EQ(d.kind, 96);
        EXPECT_EQ(d.x, s[1]);
        EXPECT_EQ(d.y, s[2]);
        EXPECT_EQ(d.frame, s[0]);
        EXPECT_EQ(d.alpha, s[3]);  // faster stars are brighter
        EXPECT_EQ(d.w, 1);
        EXPECT_EQ(d.rotation, 0);
        EXPECT_EQ(d.r + d.g + d.b, 3 * 255);
    }
    EXPECT_EQ(app->m_DrawA, 1);
}

TEST_F(Pools, InkSetsThePaletteColourTimesBrightness) {
    struct Case {
        int colour, brightness;
        float r, g, b;
    };
    const Case cases[] = {
        {1, 1, 255, 25.5f, 25.5f},   {2, 1, 255, 127.5f, 25.5f}, {3, 1, 255, 255, 25.5f},
        {4, 1, 25.5f, 255, 25.5f},   {5, 1, 25.5f, 255, 255},    {6, 1, 25.5f, 25.5f, 255},
        {7, 1, 127.5f, 25.5f, 255},  {8, 1, 255, 25.5f, 127.5f}, {9, 1, 255, 255, 255},
        {0, 1, 76.5f, 76.5f, 76.5f}, {10, 1, 76.5f, 76.5f, 76.5f}, {-4, 1, 76.5f, 76.5f, 76.5f},
        {2, 2, 255, 255, 51},        {7, 0, 0, 0, 0},            {4, -1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colour * 10 + c.brightness);
        app->p_Alpha(0.25f);
        app->p_Ink(c.colour, c.brightness);
        EXPECT_EQ(app->m_DrawR, c.r);
        EXPECT_EQ(app->m_DrawG, c.g);
        EXPECT_EQ(app->m_DrawB, c.b);
        EXPECT_EQ(app->m_DrawA, 0.25f);
    }
}

// What each kind draws, where (the world wraps; a particle just left of the
// camera stays at a small negative x), with which alpha.
TEST_F(Pools, ParticlesDrawByKind) {
    struct Case {
        const char* what;
        int kind;
        float dx, life;  // x relative to the camera, life when drawn
        int records;
        float slot, x, frame, size, alpha;
    };
    const Case cases[] = {
        {"spark", 1, 100, 2, 1, 96, 100, 37, 1, 1},
        {"debris fading", 2, 100, 0.5f, 1, 96, 100, 37, 1, 0.5f},
        {"just left of the camera", 1, -1, 2, 1, 96, -1, 37, 1, 1},
        {"at -128", 1, -128, 2, 1, 96, -128, 37, 1, 1},
        {"200 left of the camera", 1, -200, 2, 1, 96, 9600 - 200, 37, 1, 1},
        {"puff, first half", 3, 50, 0.7f, 1, 2, 50, 12, 3, 1},
        {"puff, second half", 3, 50, 0.3f, 1, 2, 50, 12, 3, 0.6f},
        {"number", 99, 50, 1, 2, 0, -1, -1, 1, 1},
        {"big number", 98, 50, 1, 2, 0, -1, -1, 4, 1},
        {"undrawn kind", 50, 50, 1, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app->m_MapWidth = 300;
        app->m_CamX = 1000;
        app->m_CamY = -500;
        app->p_ResetParticles(250);
        float* p = &Part(250, 0);
        for (int e = 0; e < 10; ++e) p[e] = 0;
        p[0] = static_cast<float>(c.kind), p[1] = 1000 + c.dx, p[2] = -400, p[5] = 30, p[7] = c.life;
        p[8] = 9, p[9] = 37;
        if (c.kind >= 98) p[9] = 25;  // "25": two glyphs
        app->m_DrawN = 0;
        app->p_DoParticles();
        std::vector<Drawn> drawn = Records();
        ASSERT_EQ(drawn.size(), static_cast<size_t>(c.records));
        if (c.records == 0) continue;
        const Drawn& d = drawn[0];
        EXPECT_EQ(d.w, c.size);
        EXPECT_FLOAT_EQ(d.alpha, c.alpha);
        if (c.frame < 0) continue;  // glyphs
        EXPECT_EQ(d.kind, c.slot);
        EXPECT_EQ(d.x, c.x);
        EXPECT_EQ(d.y, 100);
        EXPECT_EQ(d.frame, c.frame);
        if (c.kind == 3) EXPECT_FLOAT_EQ(d.rotation, static_cast<float>(16 * std::sin(30 * M_PI / 180)));
        if (c.kind != 3) EXPECT_EQ(d.r + d.g + d.b, 3 * 255);  // palette 9
    }
}

// A particle of an undrawn kind lives out its hundred-odd updates unseen.
TEST_F(Pools, AnUndrawnKindIsNeverDrawn) {
    app->m_MapWidth = 300;
    app->p_ResetParticles(250);
    app->p_AddParticle(50, 0, 0, 1, 0, 0, 0, 0);
    for (int k = 0; k < 120; ++k) {
        app->m_DrawN = 0;
        app->p_DoParticles();
        EXPECT_EQ(app->m_DrawN, 0);
    }
    EXPECT_EQ(Part(250, 0), 0);
}

TEST_F(Pools, AddBullMakesShotsByKind) {
    app->m_MapWidth = 300;
    struct Case {
        int kind;
        float x, angle;
        float wantX, vx, vy;
    };
    const Case cases[] = {
        {2, 100, 45, 100, -6, 0},
        {3, -10, 0, 9590, 12, 0},
        {3, 9610, 90, 10, static_cast<float>(12 * std::cos(M_PI / 2)), 12},
        {3, 50, 30, 50, static_cast<float>(12 * std::cos(M_PI / 6)), static_cast<float>(12 * std::sin(M_PI / 6))},
        {7, 20, 30, 20, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        for (int e = 0; e < 10; ++e) Obj(3, e) = 9;
        app->p_AddBull(30, c.x, -5, c.kind, c.angle);
        EXPECT_EQ(Obj(3, kKind), c.kind);
        EXPECT_FLOAT_EQ(Obj(3, kObjX), c.wantX);
        EXPECT_EQ(Obj(3, kObjY), -5);
        EXPECT_NEAR(Obj(3, kVelX), c.vx, 1e-5);
        EXPECT_NEAR(Obj(3, kVelY), c.vy, 1e-5);
        for (int e = 5; e <= 9; ++e) EXPECT_EQ(Obj(3, e), 0);
    }
}

// Mode 3 on wave 30 asks for 480 enemies; the cap of 400 is the last record,
// so every free record of 0..400 gets one and the occupied ones stay.
TEST_F(Pools, ReplenishFillsEveryFreeRecordUpTo400) {
    StartGame(3);
    ClearObjects();
    Obj(7, kKind) = 3;
    Obj(450, kKind) = 1;
    app->m_Wave = 29;
    app->p_Replenish();
    EXPECT_EQ(app->m_Wave, 30);
    EXPECT_EQ(Obj(7, kKind), 3);
    for (int i = 0; i <= 400; ++i) {
        if (i != 7) EXPECT_EQ(Obj(i, kKind), 1) << i;
    }
    EXPECT_EQ(CountUsed(app->m_Obj, 500), 402);
}

// Every record of 0..N draws candidates, occupied or not; a spawn above -80
// comes down to -80.
TEST_F(Pools, ReplenishDrawsForOccupiedRecordsAndClampsTheHeight) {
    StartGame(2);
    ClearObjects();
    Obj(2, kKind) = 2;
    Obj(5, kKind) = 3;
    Player(kX) = 3000;
    Player(kY) = 300;  // spawn heights -300 .. 419 before the clamp
    app->m_Wave = 0;
    int seed = kr_random_Seed;
    app->p_Replenish();  // wave 1: records 0..8

    kr_random_Seed = seed;
    int clamped = 0, kept = 0;
    for (int i = 0; i <= 8; ++i) {
        float x, raw;
        do {
            x = static_cast<float>(static_cast<int>(kr_random_Rnd() * 9600));
            raw = static_cast<float>(static_cast<int>(kr_random_Rnd() * 720)) + (300 - 600);
        } while (!(std::fabs(x - 3000) > 1280));
        if (i == 2 || i == 5) continue;  // occupied: candidate drawn, nothing else
        float y = raw > -80 ? -80 : raw;
        (raw > -80 ? clamped : kept) += 1;
        EXPECT_EQ(Obj(i, kObjX), x) << i;
        EXPECT_EQ(Obj(i, kObjY), y) << i;
        EXPECT_EQ(Obj(i, kPhase), kr_random_Rnd() * 80) << i;
        EXPECT_EQ(Obj(i, kRate), 4 * kr_random_Rnd() + 2) << i;
    }
    EXPECT_GT(clamped, 0);
    EXPECT_GT(kept, 0);
    EXPECT_EQ(Obj(2, kKind), 2);
    EXPECT_EQ(Obj(5, kKind), 3);
}

// Worlds where a search cannot succeed end it instead of hanging; a world
// where it can, however unlikely a candidate, still gets its wave.
TEST_F(Pools, ReplenishEndsSearchesThatCannotSucceed) {
    struct Case {
        const char* world;
        int mapWidth;
        float px;
        int groundFrom, groundTo;  // columns with ground
        int enemies, persons;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"no ground", 300, 4813, 0, -1, 9, 0},
        {"ground only near the player", 300, 4813, 130, 170, 9, 0},
        {"one eligible column", 300, 4813, 100, 100, 9, 1},
        {"a strip 1280 wide", 40, 640, 0, 40, 0, 0},
        {"a strip 1312 wide, player at its left end", 41, 0, 0, 41, 9, 12},
        {"a player who is not a number", 300, nan, 0, 300, 0, 19},
        {"a narrow strip with rare places", 81, 1296, 0, 81, 9, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.world);
        StartGame(2);
        ClearObjects();
        ClearPersons();
        app->m_MapWidth = c.mapWidth;
        for (int col = 0; col <= 499; ++col) app->m_Column[col * 10] = col >= c.groundFrom && col <= c.groundTo ? 5 : 0;
        Player(kX) = c.px;
        app->m_Wave = 0;
        app->p_Replenish();
        EXPECT_EQ(app->m_Wave, 1);
        EXPECT_EQ(CountUsed(app->m_Obj, 500), c.enemies);
        EXPECT_EQ(app->m_People, c.persons);
    }
}

}  // namespace
