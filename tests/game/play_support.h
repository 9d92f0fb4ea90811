// SPDX-License-Identifier: Zlib
// Shared set-up for the game tests: a bare game at a fixed clock, a sound log,
// scene helpers for play, and a 640 x 480 screen with pointer, key and
// draw-list helpers for the menu and panel tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "game/play/records.h"
#include "host/events.h"
#include "tests/support/game_host.h"

namespace playtest {

constexpr int kClock = 271828;  // seeds every staged game

// An audio device that writes down each effect as (sound slot, rate, volume,
// channel), and the channels stopped.
class SoundLog : public gxtkAudio {
public:
    std::vector<std::vector<float>> effects;
    std::vector<int> stopped;
    std::map<gxtkSample*, int> slots;
    int PlaySample(gxtkSample* s, int channel, int) override {
        effects.push_back({slots.count(s) ? static_cast<float>(slots[s]) : -1, 1, 1, static_cast<float>(channel)});
        return 0;
    }
    int SetRate(int, float rate) override { return effects.empty() ? 0 : (effects.back()[1] = rate, 0); }
    int SetVolume(int, float volume) override { return effects.empty() ? 0 : (effects.back()[2] = volume, 0); }
    int StopChannel(int channel) override { return stopped.push_back(channel), 0; }
    int SetPan(int, float) override { return 0; }
};

// How many draws of the generator lead from one seed to another (-1: none within 10000).
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
    void SetUp() override { app = StartBareGame(host), host.clock = kClock; }
    void TearDown() override { kr_audio_device = sounds ? nullptr : kr_audio_device; }
    // Effects on, through a device that writes them down; slot n plays sample n.
    void ListenToSounds() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        kr_audio_SetAudioDevice(sounds = new SoundLog), app->m_Opt[5] = 1;
        for (int n = 0; n < 100; ++n) {
            auto* sample = new gxtkSample;
            sounds->slots[sample] = n;
            gc_assign(app->m_Snd[n], (new c_Sound)->m_new(sample));
        }
    }
    void StartGame(int mode = 2) { app->m_GameMode = mode, app->p_LoadGame(); }
    // A scene holding only what a test puts there.
    void Clear() {
        for (int i = 0; i < 5120; ++i) app->m_Obj[i] = 0;
        for (int c = 0; c <= 300; ++c) app->m_Column[c * 10 + 1] = 0;
    }
    // Hovering still at (x, y) with the camera settled and the rope hanging empty.
    void Hover(float x, float y) {
        using namespace play;
        float* p = &app->m_Player[0];
        p[kX] = p[kTargetX] = x, p[kY] = p[kTargetY] = y, p[kSpeed] = p[kTilt] = 0;
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

// A 640 x 480 landscape screen at scale 1 with the frame sizes the screens
// hit-test, effects on (so sounds can be counted) and input helpers.
class MenuTest : public playtest::PlayFixture {
protected:
    void SetUp() override {
        PlayFixture::SetUp();
        Screen(640, 480);
        app->m_Opt[5] = 1, app->m_Font = kImgFont;
        const int frames[][4] = {{kImgSprites, 32, 32, 1},     {kImgFont, 7, 10, 128},   {kImgTestCard, 256, 256, 1},
                                 {kImgStudioLogo, 256, 256, 1}, {kImgButtons, 64, 64, 16}, {kImgIcons, 32, 32, 16},
                                 {kImgLogo, 256, 128, 1},      {kImgMenu, 256, 256, 1}};
        for (const auto& f : frames) std::copy(f + 1, f + 4, &app->m_ImgInfo[3 * f[0]]);
    }
    void Screen(float w, float h) {
        kr_Vex_jscrw = w, kr_Vex_jscrh = h, app->m_Landscape = h <= w, app->m_ScaleX = app->m_ScaleY = 1;
    }
    // The pointer (mouse and touch 0) held at (x, y), as the shell leaves it.
    void PointerDown(int x, int y) {
        app->m_MouseOldX = app->m_MouseDown ? app->m_MouseX : x;
        app->m_MouseOldY = app->m_MouseDown ? app->m_MouseY : y;
        app->m_MouseX = app->m_TouchX[0] = x, app->m_MouseY = app->m_TouchY[0] = y;
        app->m_MouseDown = app->m_MouseWasDown = app->m_TouchDown[0] = 1;
    }
    void PointerUp() {
        app->m_MouseDown = app->m_MouseWasDown = app->m_TouchDown[0] = 0, app->m_TouchX[0] = app->m_TouchY[0] = kOmitted;
    }
    static void KeyDown(int key) { kr_input_device->p_KeyEvent(kr_event::KeyDown, key); }
    static void KeyUp(int key) { kr_input_device->p_KeyEvent(kr_event::KeyUp, key); }

    // Whole updates through the shell, the clock moving on 16 ms each.
    void Update(int n = 1) { for (int i = 0; i < n; ++i) host.clock += 16, UpdateOnce(app); }

    // Lines of text as (x, glyphs): the font's records in a row on one baseline.
    std::vector<std::pair<float, std::string>> Texts() const {
        std::vector<std::pair<float, std::string>> out;
        float lineY = NAN;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            bool glyph = static_cast<int>(r[0]) == app->m_Font;
            if (glyph && r[2] != lineY) out.push_back({r[1], ""});
            if (glyph) out.back().second += static_cast<char>(static_cast<int>(r[6]) + 32);
            lineY = glyph ? r[2] : NAN;
        }
        return out;
    }
    // Rectangle records as (x, y, w, h) in list order.
    std::vector<std::vector<float>> Rects() const {
        std::vector<std::vector<float>> out;
        for (int i = 0; i + 15 <= app->m_DrawN; i += 15) {
            const float* r = &app->m_Draw[i];
            if (r[0] == kOmitted) out.push_back({r[1], r[2], r[4], r[5]});
        }
        return out;
    }
};
