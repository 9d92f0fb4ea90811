// Shared set-up for the play, pool and new-game tests: a bare game started
// at a fixed clock, and small helpers to stage a scene in the world.
#pragma once

#include <gtest/gtest.h>

#include "game/play_records.h"
#include "tests/support/game_host.h"

namespace playtest {

// The clock that seeds every staged game.
constexpr int kClock = 271828;

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        app = StartBareGame(host);
        host.clock = kClock;
    }

    // A new game at the fixed clock.
    void StartGame(int mode = 2) {
        app->m_GameMode = mode;
        app->p_LoadGame();
    }

    // Removes every object, so a scene holds only what a test puts there.
    void ClearObjects() {
        for (int i = 0; i < 5120; ++i) app->m_Obj[i] = 0;
    }

    void ClearPersons() {
        for (int c = 0; c <= 300; ++c) app->m_Column[c * 10 + 1] = 0;
    }

    // The helicopter hovering at (x, y): target on it, no speed or tilt,
    // the camera settled on it, the rope hanging straight down with
    // nobody on it.
    void Hover(float x, float y) {
        using namespace play;
        float* p = &app->m_Player[0];
        p[kX] = p[kTargetX] = x;
        p[kY] = p[kTargetY] = y;
        p[kSpeed] = p[kTilt] = 0;
        app->m_CamX = app->m_CamTargetX = x - kr_Vex_jscrw / 4;
        app->m_CamY = app->m_CamTargetY = y - kr_Vex_jscrh / 2;
        for (int s = 0; s <= kRopeLast; ++s) {
            p[RopeX(s)] = x + 4;
            p[RopeY(s)] = y + 8 + 6 * s;
            p[RopeSeat(s)] = 0;
        }
        app->m_StickX = app->m_StickY = 0;
    }

    int Height(int column) const { return app->m_Column[column * 10]; }
    float& Player(int element) { return app->m_Player[element]; }
    float& Obj(int record, int element) { return app->m_Obj[record * 10 + element]; }
    float& Part(int record, int element) { return app->m_Part[record * 10 + element]; }

    GameTestHost host;
    c_MyApp* app = nullptr;
};

// Counts records 0..last of a pool whose kind (element 0) is not 0.
inline int CountUsed(const Array<float>& pool, int last) {
    int n = 0;
    for (int i = 0; i <= last; ++i) n += pool[i * 10] != 0;
    return n;
}

}  // namespace playtest
