// SPDX-License-Identifier: Zlib
// The idle title menu, as a player leaves it on screen: one update (input
// bookkeeping, the shell's work, the menu, its draw list) and one render of
// that list into a real 640 x 480 window, with the game's own data folder.
// Reports microseconds per update, draw-list records per frame and OpenGL
// draw calls per frame as counted at the OpenGL boundary.
//
// Run from the build folder (the game reads ./data), under a display:
//   cd build && xvfb-run -a -s "-screen 0 1024x768x24" bench/bench_menu
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/gl_draw_count.h"
#include "graphics/gl_calls.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/desktop_test_host.h"
#include "tests/support/game_host.h"

namespace {

// One game at a time, started as the delegate starts it, minus the audio
// device (sounds then load as empty slots).
struct MenuGame {
    DesktopTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;

    bool Start(bool window) {
        app = StartBareGame(host);
        if (window) {
            if (!glfw2::glfwInit()) return false;
            host.OpenFixedWindow(640, 480);
            device = new gxtkGraphics;
            kr_graphics_SetGraphicsDevice(device);
            kr_graphics_SetFont(nullptr, 32);
        }
        app->p_OnCreate();
        // Loading, then the slide-in, then a second to settle.
        for (int i = 0; i < 150; ++i) Update();
        return app->m_LoadStep == 0 && app->m_Mode == 1 && (!window || app->m_Img[99] != nullptr);
    }

    void Update() {
        host.clock += 16;
        UpdateOnce(app);
        gc_collect();
    }

    void Render() {
        if (device->BeginRender() != 0) {
            kr_graphics_BeginRender();
            app->p_OnRender();
            kr_graphics_EndRender();
        } else {
            app->p_OnRender();
        }
        device->EndRender();
        gc_collect();
    }

    void Stop() {
        if (device) {
            glfw2::glfwCloseWindow();
            glfw2::glfwTerminate();
        }
    }
};

void BM_MenuUpdate(benchmark::State& state) {
    MenuGame game;
    if (!game.Start(false)) {
        state.SkipWithError("the menu did not come up (run from the build folder)");
        return;
    }
    for (auto _ : state) game.Update();
    state.counters["records/frame"] = game.app->m_DrawN / 15;
}
BENCHMARK(BM_MenuUpdate)->Unit(benchmark::kMicrosecond);

void BM_MenuUpdateAndRender(benchmark::State& state) {
    MenuGame game;
    if (!game.Start(true)) {
        state.SkipWithError("no window or no menu (run under a display, from the build folder)");
        game.Stop();
        return;
    }
    for (auto _ : state) {
        game.Update();
        game.Render();
    }
    const int drawCalls = bench::CountDrawCalls([&] { game.Render(); });
    state.counters["records/frame"] = game.app->m_DrawN / 15;
    state.counters["GL draws/frame"] = drawCalls;
    game.Stop();
}
BENCHMARK(BM_MenuUpdateAndRender)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
