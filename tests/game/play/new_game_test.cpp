// A new game: the clock-seeded terrain, the first wave's draws, and the same
// world for the same clock.
#include <climits>

#include "tests/game/play_support.h"

namespace {

using namespace playtest;
using namespace play;

int Clamp(int v) { return std::clamp(v, 3, 32); }

// The columns drawn from a clock: 33 draws thrown away, the walk mirrored onto
// both halves, three smoothing passes over ground, the pad at the last height + 4.
std::vector<int> ModelTerrain(int clock, int* last) {
    std::vector<int> column(301);
    kr_random_Seed = clock;
    for (int i = 0; i < 33; ++i) kr_random_Rnd();
    int h = 0;
    for (int i = 0; i <= 150; ++i) {
        if (i < 32) h = 0;
        column[i] = column[300 - i] = h;
        if (kr_random_Rnd() < 0.5f) h = static_cast<int>(h + 3.9f * kr_random_Rnd() - 1);
        h = Clamp(h);
    }
    for (int pass = 0; pass < 3; ++pass) {
        for (int& c : column) c = c > 0 ? Clamp(static_cast<int>(c + 2.9f * kr_random_Rnd() - 1)) : 0;
    }
    for (int i = 149; i <= 151; ++i) column[i] = h + 4;
    *last = h;
    return column;
}

using NewGame = PlayFixture;

TEST_F(NewGame, TerrainIsTheMirroredWalkSmoothedWithFlatShores) {
    for (int clock : {0, kClock, -123456, INT_MAX}) {
        int last = 0;
        std::vector<int> model = ModelTerrain(clock, &last);
        host.clock = clock, app->p_LoadGame();
        for (int i = 0; i <= 300; ++i) {
            EXPECT_EQ(Height(i), model[i]) << clock << " column " << i;
            int low = i <= 31 || i >= 269 ? 0 : (i >= 149 && i <= 151 ? last + 4 : 3);
            EXPECT_TRUE(Height(i) >= low && Height(i) <= (low == 3 ? 32 : low)) << i;
        }
    }
}

// Enemies in records 0..wave x (4, 8 or 16) from the draws after the terrain's;
// persons until more than the mode's limit wait.
TEST_F(NewGame, FirstWaveByMode) {
    for (auto [mode, enemies, persons] : {std::tuple{1, 5, 26}, {2, 9, 19}, {3, 17, 11}}) {
        int last = 0;
        ModelTerrain(kClock, &last);
        float py = static_cast<float>((-5 - last) * 16);
        std::vector<float> want(5010, 0);
        for (int i = 0; i < enemies; ++i) {
            float x, y;
            do {
                x = static_cast<float>(static_cast<int>(kr_random_Rnd() * 9600));
                y = std::min(static_cast<float>(static_cast<int>(kr_random_Rnd() * 720)) + (py - 600), -80.0f);
            } while (!(std::fabs(x - 4813) > 1280));
            float* r = &want[i * 10];
            r[kKind] = 1, r[kObjX] = x, r[kObjY] = y, r[kVelX] = -2, r[kHealth] = 8;
            r[kPhase] = kr_random_Rnd() * 80;
            r[kRate] = kr_random_Rnd2(2, 6);
        }
        StartGame(mode);
        for (int i = 0; i <= 500; ++i) {
            for (int e : {kKind, kObjX, kObjY, kVelX, kVelY, kPhase, kRate, kHealth}) {
                EXPECT_EQ(Obj(i, e), want[i * 10 + e]) << mode << " record " << i;
            }
        }
        EXPECT_EQ(app->m_People, persons);
        // The same clock makes the same world, whatever was drawn in between.
        std::vector<float> world(app->m_Column.Data(), app->m_Column.Data() + 3010);
        for (int i = 0; i < 1000; ++i) kr_random_Rnd();
        StartGame(mode);
        EXPECT_EQ(std::vector<float>(app->m_Column.Data(), app->m_Column.Data() + 3010), world);
    }
}

}  // namespace
