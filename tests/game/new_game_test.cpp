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

int Clamp(int v) { return v < 3 ? 3 : (v > 32 ? 32 : v); }

// The columns as the rules build them from a clock, draw by draw: the seed,
// 33 draws thrown away, the walk mirrored onto both halves, three smoothing
// passes over the columns with ground, the pad at the walk's last height + 4.
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

class NewGame : public PlayFixture {};

// Shores (0..31, 269..300) at 0, the pad at the last height + 4, all else 3..32.
TEST_F(NewGame, TerrainIsTheMirroredWalkSmoothedWithFlatShores) {
    for (int clock : {0, 4242, kClock, -123456, INT_MAX}) {
        SCOPED_TRACE(clock);
        int last = 0;
        std::vector<int> model = ModelTerrain(clock, &last);
        host.clock = clock;
        app->p_LoadGame();
        for (int i = 0; i <= 300; ++i) {
            EXPECT_EQ(Height(i), model[i]) << i;
            int low = i <= 31 || i >= 269 ? 0 : (i >= 149 && i <= 151 ? last + 4 : 3);
            EXPECT_TRUE(Height(i) >= low && Height(i) <= (low == 3 ? 32 : low)) << i;
        }
    }
}

// Leftovers of an earlier game are cleared; the helicopter starts over the
// pad and the camera settles on it.
TEST_F(NewGame, ResetsThePlayAndStartsTheHelicopterOnThePad) {
    app->m_Score = 77, app->m_GameOverT = 3, app->m_Health = -4;
    for (int i = 0; i < 510; ++i) Part(i, 0) = 1;
    Player(kAboard) = 5;
    StartGame();
    int last = 0;
    ModelTerrain(kClock, &last);
    float y = static_cast<float>((-5 - last) * 16);
    EXPECT_EQ(std::vector<int>({app->m_Mode, app->m_Score, app->m_GameOverT, app->m_Health, app->m_Wave}),
              std::vector<int>({10, 0, 0, 99, 1}));
    EXPECT_EQ(CountUsed(app->m_Part, 250) + Player(kAboard), 0);
    EXPECT_EQ(std::vector<float>({Player(kX), Player(kTargetX), Player(kY), Player(kTargetY)}),
              std::vector<float>({4813, 4813, y, y}));
    EXPECT_EQ(std::vector<float>({app->m_CamX, app->m_CamY}), std::vector<float>({4813 - 160, y - 240}));
}

// Enemies in records 0..wave x (4, 8 or 16) as the draws after the terrain's
// give them; persons until more than the mode's limit wait, far from the pad.
TEST_F(NewGame, FirstWaveByMode) {
    for (auto [mode, enemies, persons] : {std::tuple{1, 5, 26}, {2, 9, 19}, {3, 17, 11}}) {
        SCOPED_TRACE(mode);
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
                EXPECT_EQ(Obj(i, e), want[i * 10 + e]) << i;
            }
        }
        int waiting = 0;
        for (int col = 0; col <= 300; ++col) {
            if (app->m_Column[col * 10 + 1] == 0) continue;
            ++waiting;
            EXPECT_TRUE(Height(col) > 0 && std::abs(col - 150) > 28) << col;
        }
        EXPECT_EQ(waiting, persons);
        EXPECT_EQ(app->m_People, persons);
    }
}

TEST_F(NewGame, TheSameClockMakesTheSameWorld) {
    auto world = [&] {
        app->p_LoadGame();
        std::vector<float> w(app->m_Column.Data(), app->m_Column.Data() + 3010);
        w.insert(w.end(), app->m_Obj.Data(), app->m_Obj.Data() + 5010);
        return w;
    };
    std::vector<float> first = world();
    host.clock = 5;  // another game and other draws in between do not matter
    EXPECT_NE(world(), first);
    for (int i = 0; i < 1000; ++i) kr_random_Rnd();
    host.clock = kClock;
    EXPECT_EQ(world(), first);
}

}  // namespace
