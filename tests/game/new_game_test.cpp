// A new game: the clock-seeded terrain walk and its smoothing, the pad, the
// helicopter's start, the first wave by mode, and the same world for the
// same clock.
#include <climits>
#include <cmath>
#include <vector>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

// The world as the new-game rules build it from a clock: the seed, 33 draws
// thrown away, the walk mirrored onto both halves, three smoothing passes
// over the columns with ground, then the pad at the walk's last height + 4.
struct TerrainModel {
    std::vector<int> walk = std::vector<int>(301);
    std::vector<int> column = std::vector<int>(301);
    int last = 0;
};

int Clamp(int v) { return v < 3 ? 3 : (v > 32 ? 32 : v); }

TerrainModel ModelTerrain(int clock) {
    TerrainModel m;
    kr_random_Seed = clock;
    for (int i = 0; i < 33; ++i) kr_random_Rnd();
    int h = 0;
    for (int i = 0; i <= 150; ++i) {
        if (i < 32) h = 0;
        m.walk[i] = m.walk[300 - i] = h;
        if (kr_random_Rnd() < 0.5f) h = static_cast<int>(h + 3.9f * kr_random_Rnd() - 1);
        h = Clamp(h);
    }
    m.last = h;
    m.column = m.walk;
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i <= 300; ++i) {
            if (m.column[i] > 0) m.column[i] = Clamp(static_cast<int>(m.column[i] + 2.9f * kr_random_Rnd() - 1));
        }
    }
    for (int i = 149; i <= 151; ++i) m.column[i] = h + 4;
    return m;
}

bool Shore(int i) { return i <= 31 || i >= 269; }
bool Pad(int i) { return i >= 149 && i <= 151; }

class NewGame : public PlayFixture {};

TEST_F(NewGame, TerrainIsTheMirroredWalkSmoothedWithFlatShores) {
    for (int clock : {0, 1, 4242, kClock, 99999999, -123456, INT_MAX}) {
        SCOPED_TRACE(clock);
        TerrainModel m = ModelTerrain(clock);
        for (int i = 0; i <= 300; ++i) {
            EXPECT_EQ(m.walk[i], m.walk[300 - i]) << i;
            if (Shore(i)) EXPECT_EQ(m.walk[i], 0) << i;
            else EXPECT_TRUE(m.walk[i] >= 3 && m.walk[i] <= 32) << i;
        }
        EXPECT_EQ(m.walk[32], 3);

        host.clock = clock;
        app->p_LoadGame();
        EXPECT_EQ(app->m_MapWidth, 300);
        for (int i = 0; i <= 300; ++i) {
            EXPECT_EQ(Height(i), m.column[i]) << i;
            if (Shore(i)) EXPECT_EQ(Height(i), 0) << i;
            else if (Pad(i)) EXPECT_EQ(Height(i), m.last + 4) << i;
            else EXPECT_TRUE(Height(i) >= 3 && Height(i) <= 32) << i;
        }
    }
}

TEST_F(NewGame, ResetsThePlayAndStartsTheHelicopterOnThePad) {
    // Leftovers of an earlier game.
    app->m_Score = 77;
    app->m_Paused = 1;
    app->m_GameOverT = 3;
    app->m_GameOverAnim = 40;
    app->m_Rotor = 90;
    app->m_Wave = 12;
    app->m_Health = -4;
    app->m_PartMax = 400;
    for (int i = 0; i < 510; ++i) Part(i, 0) = 1;
    for (int i = 0; i < 512; ++i) Obj(i, kKind) = 3;
    Player(kAboard) = 5;
    Player(RopeSeat(3)) = 1;

    StartGame();
    TerrainModel m = ModelTerrain(kClock);
    float y = static_cast<float>((-5 - m.last) * 16);
    EXPECT_EQ(app->m_Mode, 10);
    EXPECT_EQ(app->m_Score, 0);
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(app->m_GameOverT, 0);
    EXPECT_EQ(app->m_GameOverAnim, 0);
    EXPECT_EQ(app->m_Rotor, 0);
    EXPECT_EQ(app->m_Health, 99);
    EXPECT_EQ(app->m_Wave, 1);
    EXPECT_EQ(app->m_PartMax, 250);
    EXPECT_EQ(app->m_StarMax, 100);
    EXPECT_EQ(CountUsed(app->m_Part, 250), 0);
    EXPECT_EQ(Part(251, 0), 1);  // beyond the pool's count: left alone
    EXPECT_EQ(Obj(501, kKind), 3);
    EXPECT_EQ(Player(kAboard), 0);
    EXPECT_EQ(Player(RopeSeat(3)), 0);
    EXPECT_EQ(Player(kX), 4813);
    EXPECT_EQ(Player(kTargetX), 4813);
    EXPECT_EQ(Player(kY), y);
    EXPECT_EQ(Player(kTargetY), y);
    EXPECT_EQ(app->m_CamX, 4813 - 160);
    EXPECT_EQ(app->m_CamTargetX, 4813 - 160);
    EXPECT_EQ(app->m_CamY, y - 240);
    EXPECT_EQ(app->m_CamTargetY, y - 240);
}

// The first wave: enemies in records 0..wave x (4, 8 or 16), persons until
// more than the mode's limit wait.
TEST_F(NewGame, FirstWaveByMode) {
    struct Case {
        int mode, enemies, persons;
    };
    for (Case c : {Case{1, 5, 26}, Case{2, 9, 19}, Case{3, 17, 11}, Case{7, 5, 26}}) {
        SCOPED_TRACE(c.mode);
        StartGame(c.mode);
        float px = Player(kX), py = Player(kY);
        for (int i = 0; i <= 500; ++i) {
            if (i >= c.enemies) {
                EXPECT_EQ(Obj(i, kKind), 0) << i;
                continue;
            }
            EXPECT_EQ(Obj(i, kKind), 1) << i;
            float x = Obj(i, kObjX), y = Obj(i, kObjY);
            EXPECT_GT(std::fabs(x - px), 1280) << i;
            EXPECT_TRUE(x >= 0 && x < 9600 && x == std::floor(x)) << i;
            EXPECT_TRUE(y <= -80 && y >= py - 600 && y < py + 120 && y == std::floor(y)) << i;
            EXPECT_EQ(Obj(i, kVelX), -2);
            EXPECT_EQ(Obj(i, kVelY), 0);
            EXPECT_TRUE(Obj(i, kPhase) >= 0 && Obj(i, kPhase) < 80);
            EXPECT_TRUE(Obj(i, kRate) >= 2 && Obj(i, kRate) < 6);
            EXPECT_EQ(Obj(i, kHealth), 8);
        }
        int persons = 0;
        for (int col = 0; col <= 300; ++col) {
            if (app->m_Column[col * 10 + 1] == 0) continue;
            ++persons;
            EXPECT_GT(Height(col), 0) << col;
            EXPECT_GT(std::abs(col - 150), 28) << col;
        }
        EXPECT_EQ(persons, c.persons);
        EXPECT_EQ(app->m_People, c.persons);
    }
}

// Nothing is drawn between the terrain and the wave: enemy 0 is the first
// candidate farther than 1280 from the helicopter after the terrain's draws.
TEST_F(NewGame, FirstEnemyFollowsTheTerrainDraws) {
    StartGame();
    TerrainModel m = ModelTerrain(kClock);
    float px = 4813, py = static_cast<float>((-5 - m.last) * 16);
    float x, y;
    do {
        x = static_cast<float>(static_cast<int>(kr_random_Rnd() * 9600));
        y = static_cast<float>(static_cast<int>(kr_random_Rnd() * 720)) + (py - 600);
        if (y > -80) y = -80;
    } while (!(std::fabs(x - px) > 1280));
    EXPECT_EQ(Obj(0, kObjX), x);
    EXPECT_EQ(Obj(0, kObjY), y);
    EXPECT_EQ(Obj(0, kPhase), kr_random_Rnd() * 80);
    EXPECT_EQ(Obj(0, kRate), kr_random_Rnd2(2, 6));
}

TEST_F(NewGame, TheSameClockMakesTheSameWorld) {
    StartGame();
    std::vector<int> columns(app->m_Column.Data(), app->m_Column.Data() + 3010);
    std::vector<float> objects(app->m_Obj.Data(), app->m_Obj.Data() + 5010);
    int seed = kr_random_Seed;

    // Another game and other draws in between do not matter.
    host.clock = 5;
    app->p_LoadGame();
    for (int i = 0; i < 1000; ++i) kr_random_Rnd();
    EXPECT_NE(std::vector<int>(app->m_Column.Data(), app->m_Column.Data() + 3010), columns);

    host.clock = kClock;
    app->p_LoadGame();
    EXPECT_EQ(std::vector<int>(app->m_Column.Data(), app->m_Column.Data() + 3010), columns);
    EXPECT_EQ(std::vector<float>(app->m_Obj.Data(), app->m_Obj.Data() + 5010), objects);
    EXPECT_EQ(kr_random_Seed, seed);
}

}  // namespace
