// Shared set-up for the play, pool and new-game tests: a bare game started
// at a fixed clock, a sound log, and helpers to stage a scene in the world.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "game/play_records.h"
#include "tests/support/game_host.h"

namespace playtest {

constexpr int kClock = 271828;  // seeds every staged game

// An audio device that writes down each effect as (sound slot, rate, volume);
// sound slot n holds a sample of its own so that the device can tell them apart.
class SoundLog : public gxtkAudio {
public:
    std::vector<std::vector<float>> effects;
    std::map<gxtkSample*, int> slots;
    int PlaySample(gxtkSample* s, int, int) override {
        effects.push_back({slots.count(s) ? static_cast<float>(slots[s]) : -1, 1, 1});
        return 0;
    }
    int StopChannel(int) override { return 0; }
    int SetRate(int, float rate) override { return effects.empty() ? 0 : (effects.back()[1] = rate, 0); }
    int SetVolume(int, float volume) override { return effects.empty() ? 0 : (effects.back()[2] = volume, 0); }
    int SetPan(int, float) override { return 0; }
};

// How many draws of the generator lead from one seed to another (-1: none
// within 10000).
inline int DrawsBetween(int before, int after) {
    int saved = kr_random_Seed, n = 0;
    for (kr_random_Seed = before; kr_random_Seed != after && n <= 10000; ++n) kr_random_Rnd();
    kr_random_Seed = saved;
    return n > 10000 ? -1 : n;
}

// Counts records 0..last of a pool whose kind (element 0) is not 0.
inline int CountUsed(const Array<float>& pool, int last) {
    int n = 0;
    for (int i = 0; i <= last; ++i) n += pool[i * 10] != 0;
    return n;
}

class PlayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        app = StartBareGame(host);
        host.clock = kClock;
    }
    void TearDown() override {
        if (sounds) kr_audio_device = nullptr;
    }

    // Effects on, through a device that writes them down.
    void ListenToSounds() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        sounds = new SoundLog;
        kr_audio_SetAudioDevice(sounds);
        app->m_Opt[5] = 1;
        for (int n = 0; n < 100; ++n) {
            auto* sample = new gxtkSample;
            sounds->slots[sample] = n;
            gc_assign(app->m_Snd[n], (new c_Sound)->m_new(sample));
        }
    }

    // Draw record i: kind, x, y, rotation, w, h, frame, alpha, ..., r, g, b.
    const float* Record(int i) const { return &app->m_Draw[15 * i]; }

    void StartGame(int mode = 2) {
        app->m_GameMode = mode;
        app->p_LoadGame();
    }
    // A scene holding only what a test puts there.
    void Clear() {
        for (int i = 0; i < 5120; ++i) app->m_Obj[i] = 0;
        for (int c = 0; c <= 300; ++c) app->m_Column[c * 10 + 1] = 0;
    }

    // The helicopter hovering at (x, y): target on it, no speed or tilt, the
    // camera settled, the rope hanging straight down with nobody on it.
    void Hover(float x, float y) {
        using namespace play;
        float* p = &app->m_Player[0];
        p[kX] = p[kTargetX] = x;
        p[kY] = p[kTargetY] = y;
        p[kSpeed] = p[kTilt] = 0;
        app->m_CamX = app->m_CamTargetX = x - kr_Vex_jscrw / 4;
        app->m_CamY = app->m_CamTargetY = y - kr_Vex_jscrh / 2;
        for (int s = 0; s <= kRopeLast; ++s) p[RopeX(s)] = x + 4, p[RopeY(s)] = y + 8 + 6 * s, p[RopeSeat(s)] = 0;
        app->m_StickX = app->m_StickY = 0;
    }

    int Height(int column) const { return app->m_Column[column * 10]; }
    float& Player(int element) { return app->m_Player[element]; }
    float& Obj(int record, int element) { return app->m_Obj[record * 10 + element]; }
    float& Part(int record, int element) { return app->m_Part[record * 10 + element]; }

    GameTestHost host;
    c_MyApp* app = nullptr;
    SoundLog* sounds = nullptr;
};

}  // namespace playtest
