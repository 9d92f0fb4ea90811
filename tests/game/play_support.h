// Shared set-up for the play, pool and new-game tests: a bare game started
// at a fixed clock, and small helpers to stage a scene in the world.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "game/play_records.h"
#include "tests/support/game_host.h"

namespace playtest {

// The clock that seeds every staged game.
constexpr int kClock = 271828;

// One drawing command of the draw list.
struct Drawn {
    float kind, x, y, rotation, w, h, frame, alpha, r, g, b;
};

// One sound effect as the audio device saw it.
struct Effect {
    int sound;
    float rate, volume;
};

// An audio device that only writes down the effects played: which sound
// slot, at what rate and volume. Sound slot n holds a sample of its own so
// that the device can tell the sounds apart.
class SoundLog : public gxtkAudio {
public:
    std::vector<Effect> effects;
    std::map<gxtkSample*, int> slots;

    int PlaySample(gxtkSample* sample, int, int) override {
        effects.push_back({slots.count(sample) ? slots[sample] : -1, 1, 1});
        return 0;
    }
    int StopChannel(int) override { return 0; }
    int SetRate(int, float rate) override {
        if (!effects.empty()) effects.back().rate = rate;
        return 0;
    }
    int SetVolume(int, float volume) override {
        if (!effects.empty()) effects.back().volume = volume;
        return 0;
    }
    int SetPan(int, float) override { return 0; }

    // The numbers of the sounds played, in order.
    std::vector<int> Sounds() const {
        std::vector<int> n;
        for (const Effect& e : effects) n.push_back(e.sound);
        return n;
    }
};

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

    // The records of the draw list.
    std::vector<Drawn> Records() const {
        std::vector<Drawn> list;
        for (int i = 0; i + 14 < app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            list.push_back({r[0], r[1], r[2], -r[3], r[4], r[5], r[6], r[7], r[10], r[11], r[12]});
        }
        return list;
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
    SoundLog* sounds = nullptr;
};

// Counts records 0..last of a pool whose kind (element 0) is not 0.
inline int CountUsed(const Array<float>& pool, int last) {
    int n = 0;
    for (int i = 0; i <= last; ++i) n += pool[i * 10] != 0;
    return n;
}

}  // namespace playtest
