// SPDX-License-Identifier: Zlib
// The busiest gameplay update on the bare host: mode 3 on wave 30 (an enemy
// in every record 0..400), the particle pool full, shots of both sides in
// flight on screen, the helicopter hovering among them.
//
//   BM_BusiestUpdate: p_Game + p_InGame per update. Each iteration starts
//     from the same scene (restored outside the timing), so every update is
//     the busiest one. Counters: the collector's bytes allocated per update
//     and the draw-list records of the frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "game/play/records.h"
#include "tests/support/game_host.h"

namespace {

using namespace play;

struct Scene {
    std::vector<float> obj, part, player, star;
    float camX, camY, camTargetX, camTargetY;
    int seed, score, health, frame, tick, rotor;
};

Scene Save(c_MyApp* app) {
    auto copy = [](const Array<float>& a) { return std::vector<float>(a.Data(), a.Data() + a.Length()); };
    return {copy(app->m_Obj), copy(app->m_Part), copy(app->m_Player), copy(app->m_Star), app->m_CamX,
            app->m_CamY, app->m_CamTargetX, app->m_CamTargetY, kr_random_Seed, app->m_Score, app->m_Health,
            app->m_Frame, app->m_Tick, app->m_Rotor};
}

void Restore(c_MyApp* app, const Scene& s) {
    auto put = [](Array<float>& a, const std::vector<float>& v) {
        for (int i = 0; i < a.Length(); ++i) a[i] = v[i];
    };
    put(app->m_Obj, s.obj);
    put(app->m_Part, s.part);
    put(app->m_Player, s.player);
    put(app->m_Star, s.star);
    app->m_CamX = s.camX, app->m_CamY = s.camY, app->m_CamTargetX = s.camTargetX, app->m_CamTargetY = s.camTargetY;
    kr_random_Seed = s.seed, app->m_Score = s.score, app->m_Health = s.health;
    app->m_Frame = s.frame, app->m_Tick = s.tick, app->m_Rotor = s.rotor;
}

// Builds the scene: a new game in mode 3, wave 30's enemies, every particle
// record alive for long, and 40 shots of each side over the screen.
c_MyApp* BuildScene(GameTestHost& host) {
    c_MyApp* app = StartBareGame(host);
    host.clock = 12345;
    app->m_Opt[5] = 1;
    app->m_GameMode = 3;
    app->p_LoadGame();
    for (int i = 0; i < 5120; ++i) app->m_Obj[i] = 0;
    app->m_Wave = 29;
    app->p_Replenish();
    float x = app->m_Player[kX] + 6000, y = -1000;
    app->m_Player[kX] = app->m_Player[kTargetX] = x;
    app->m_Player[kY] = app->m_Player[kTargetY] = y;
    app->m_CamX = app->m_CamTargetX = x - 160;
    app->m_CamY = app->m_CamTargetY = y - 240;
    // Enemies gathered around the helicopter, so they are drawn and steer.
    for (int i = 0; i <= 400; ++i) {
        app->m_Obj[i * 10 + kObjX] = app->m_CamX - 100 + static_cast<float>((i * 37) % 840);
        app->m_Obj[i * 10 + kObjY] = y - 300 + static_cast<float>((i * 53) % 600);
        app->m_Obj[i * 10 + kObjX] = std::fmod(app->m_Obj[i * 10 + kObjX], 9600.0f);
    }
    for (int k = 0; k < 40; ++k) {
        app->p_AddBull(app->p_ObjFree(), app->m_CamX + 16 * k, y - 100 + 5 * k, 3, 0);
        app->p_AddBull(app->p_ObjFree(), app->m_CamX + 600 - 16 * k, y + 100 - 5 * k, 2, 0);
    }
    for (int i = 0; i <= app->m_PartMax; ++i) {
        app->p_AddParticle(1 + i % 3, app->m_CamX + i, y + i % 200, 0.1f, 0, i, i % 10, 1000);
    }
    for (int i = 0; i <= 30; ++i) app->m_Part[i * 10] = 99;
    return app;
}

void BM_BusiestUpdate(benchmark::State& state) {
    GameTestHost host;
    c_MyApp* app = BuildScene(host);
    Scene scene = Save(app);
    long long gcBytes = 0, records = 0, updates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Restore(app, scene);
        int before = gc_new_bytes;
        state.ResumeTiming();
        app->p_Game();
        app->p_InGame();
        state.PauseTiming();
        gcBytes += gc_new_bytes - before;
        records += app->m_DrawN / 15;
        ++updates;
        state.ResumeTiming();
    }
    state.counters["gc_bytes_per_update"] = static_cast<double>(gcBytes) / static_cast<double>(updates);
    state.counters["draw_records"] = static_cast<double>(records) / static_cast<double>(updates);
}
BENCHMARK(BM_BusiestUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
