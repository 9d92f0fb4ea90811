// SPDX-License-Identifier: Zlib
// The game's drawing layer and its update.
//
//   BM_ReplayAgainstDirect/images: a full draw list (2499 image records from
//     one 256 x 256 atlas, each with its own position, rotation, scale,
//     colour and alpha) replayed by the game's render, against the same
//     drawing made directly through the graphics module. Both frames run in
//     turn inside every iteration, in a 640 x 480 window, each ending with
//     the batch flushed and OpenGL finished (no buffer swap). Counters:
//     replay_us and direct_us per frame, ratio = replay / direct, and the
//     OpenGL draw calls of one frame of each (gl_calls_replay,
//     gl_calls_direct), counted at the OpenGL boundary.
//   BM_ReplayAgainstDirect/mixed: the same with a mixed list: runs of 30
//     images, 15 rectangles and 5 ovals, 2499 records in all.
//   BM_UpdateLoading: one p_OnUpdate of the loading screen on the bare host
//     (no devices, so the loader's step loads nothing): time per call and
//     collector bytes allocated per update (gc_bytes_per_update).
//   BM_UpdateIdleMenu: one idle update in mode 1 after loading, no input.
//
// Needs an X display: run it under xvfb-run -a (make bench does).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graphics/gl.h"
#include "bench/gl_draw_count.h"
#include "graphics/gl_calls.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/desktop_test_host.h"
#include "tests/support/game_host.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kAtlas = 256, kCell = 32, kFrames = (kAtlas / kCell) * (kAtlas / kCell);
constexpr int kRecords = 2499;
constexpr int kSlot = 1;

float Random(unsigned& seed, float lo, float hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + (hi - lo) * static_cast<float>(seed >> 8) / 16777216.0f;
}

// One drawing of the scene, as the game records it.
struct Item {
    int kind;  // 0 image, 1 rectangle, 2 oval
    float x, y, rot, sx, sy, r, g, b, a;
    int frame;
};

std::vector<Item> MakeScene(bool mixed) {
    std::vector<Item> items;
    unsigned seed = 2024;
    for (int i = 0; i < kRecords; ++i) {
        int kind = !mixed ? 0 : i % 50 < 30 ? 0 : i % 50 < 45 ? 1 : 2;
        Item it{kind,
                Random(seed, 0, kWidth),
                Random(seed, 0, kHeight),
                Random(seed, 0, 360),
                Random(seed, 0.5f, 1.5f),
                0,
                Random(seed, 64, 255),
                Random(seed, 64, 255),
                Random(seed, 64, 255),
                Random(seed, 0.5f, 1),
                static_cast<int>(Random(seed, 0, kFrames)) % kFrames};
        it.sy = kind == 0 ? it.sx : kind == 1 ? 12 : 8;
        if (kind == 1) it.sx = 20;
        if (kind == 2) it.sx = 10;
        items.push_back(it);
    }
    return items;
}

// Each 32 x 32 cell holds a soft disc of its own colour.
std::vector<unsigned> MakeAtlas() {
    std::vector<unsigned> argb(kAtlas * kAtlas);
    for (int y = 0; y < kAtlas; ++y) {
        for (int x = 0; x < kAtlas; ++x) {
            int cell = (y / kCell) * (kAtlas / kCell) + x / kCell;
            float dx = x % kCell - 15.5f, dy = y % kCell - 15.5f;
            float d = std::sqrt(dx * dx + dy * dy);
            unsigned a = d < 12 ? 255 : d < 16 ? static_cast<unsigned>(255 * (16 - d) / 4) : 0;
            argb[y * kAtlas + x] = a << 24 | (80u + cell * 2) << 16 | (255u - cell * 3) << 8 | 128u;
        }
    }
    return argb;
}

// The window, its device and a game whose image slot 1 is the atlas.
struct Stage {
    DesktopTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;

    bool Open() {
        if (!glfw2::glfwInit()) return false;
        host.OpenFixedWindow(kWidth, kHeight);
        app = StartBareGame(host);
        kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        app->p_OnCreate();
        std::vector<unsigned> argb = MakeAtlas();
        gxtkSurface* atlas = device->CreateSurface(kAtlas, kAtlas);
        atlas->SetSubData(0, 0, kAtlas, kAtlas, argb.data(), kAtlas);
        c_Image* whole = (new c_Image)->m_new()->p_Init(atlas, 1, 0);
        gc_assign(app->m_Img[kSlot],
                  whole->p_GrabImage(0, 0, kCell, kCell, kFrames, c_Image::kCentreHandle));
        app->m_ImgScale = 1;
        return true;
    }

    // The game's list for the scene, in the order the game would draw it.
    void Record(const std::vector<Item>& items) {
        app->p_CLS2D(20, 30, 40, 1);
        for (const Item& it : items) {
            app->p_SetCol(it.r, it.g, it.b, it.a);
            if (it.kind == 0) {
                app->p_SetRot(-it.rot);
                app->p_SetSize(it.sx, it.sy);
                app->p_DrawImg(kSlot, it.x, it.y, static_cast<float>(it.frame));
            } else if (it.kind == 1) {
                app->p_Rect(it.x, it.y, it.sx, it.sy);
            } else {
                app->p_Oval(it.x, it.y, it.sx, it.sy);
            }
        }
    }

    void Begin() {
        device->BeginRender();
        kr_graphics_BeginRender();
    }
    void End() {
        kr_graphics_EndRender();
        device->Flush();
        glFinish();
    }
    // The game's render: clear, fit, replay.
    void ReplayFrame() {
        Begin();
        app->p_OnRender();
        End();
    }
    // The same pixels through the graphics module directly: the clear
    // rectangle, then every item with its colour and alpha.
    void DirectFrame(const std::vector<Item>& items) {
        Begin();
        c_Image* img = app->m_Img[kSlot];
        kr_graphics_SetColor(20, 30, 40);
        kr_graphics_SetAlpha(1);
        kr_graphics_DrawRect(-1, -1, kWidth + 2, kHeight + 2);
        for (const Item& it : items) {
            kr_graphics_SetAlpha(it.a);
            kr_graphics_SetColor(it.r, it.g, it.b);
            if (it.kind == 0) {
                kr_graphics_DrawImage2(img, it.x, it.y, it.rot, it.sx, it.sy, it.frame);
            } else if (it.kind == 1) {
                kr_graphics_DrawRect(it.x, it.y, it.sx, it.sy);
            } else {
                kr_graphics_DrawEllipse(it.x, it.y, it.sx, it.sy);
            }
        }
        End();
    }
};

Stage* stage = nullptr;

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_ReplayAgainstDirect(benchmark::State& state, bool mixed) {
    const std::vector<Item> items = MakeScene(mixed);
    stage->Record(items);
    if (stage->app->m_DrawN != kRecords * 15) state.SkipWithError("the list is not full");
    stage->ReplayFrame();  // fits the screen once: 640 x 480 at scale 1
    const int replayCalls = bench::CountDrawCalls([&] { stage->ReplayFrame(); });
    const int directCalls = bench::CountDrawCalls([&] { stage->DirectFrame(items); });
    double replay = 0, direct = 0;
    bool replayFirst = true;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        if (replayFirst)
            stage->ReplayFrame();
        else
            stage->DirectFrame(items);
        auto t1 = std::chrono::steady_clock::now();
        if (replayFirst)
            stage->DirectFrame(items);
        else
            stage->ReplayFrame();
        auto t2 = std::chrono::steady_clock::now();
        (replayFirst ? replay : direct) += Seconds(t0, t1);
        (replayFirst ? direct : replay) += Seconds(t1, t2);
        replayFirst = !replayFirst;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["replay_us"] = replay / n * 1e6;
    state.counters["direct_us"] = direct / n * 1e6;
    state.counters["ratio"] = direct > 0 ? replay / direct : 0;
    state.counters["gl_calls_replay"] = replayCalls;
    state.counters["gl_calls_direct"] = directCalls;
}

// Updates on the bare host, as the delegate runs them, with the collector's
// allocation counted around each.
void RunUpdates(benchmark::State& state, c_MyApp* app, int loadStep) {
    long long bytes = 0;
    int sinceCollect = 0;
    for (auto _ : state) {
        if (loadStep) app->m_LoadStep = loadStep;
        const int before = gc_alloced_bytes;
        UpdateOnce(app);
        bytes += gc_alloced_bytes - before;
        if (++sinceCollect == 1024) {
            gc_collect();
            sinceCollect = 0;
        }
    }
    state.counters["gc_bytes_per_update"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations());
}

// Step 20 loads sound 5, which the bare host has no device for.
void BM_UpdateLoading(benchmark::State& state) {
    static GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->p_OnCreate();
    RunUpdates(state, app, 20);
}

void BM_UpdateIdleMenu(benchmark::State& state) {
    static GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    app->p_OnCreate();
    for (int i = 0; i < 28; ++i) UpdateOnce(app);
    if (app->m_LoadStep != 0 || app->m_Mode != 1) state.SkipWithError("not in the menu");
    RunUpdates(state, app, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::printf("bench_game_draw needs an X display (run it under xvfb-run -a)\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    stage = new Stage;
    if (!stage->Open()) {
        std::printf("cannot open the window\n");
        return 1;
    }
    for (bool mixed : {false, true}) {
        benchmark::RegisterBenchmark(
            mixed ? "BM_ReplayAgainstDirect/mixed" : "BM_ReplayAgainstDirect/images",
            BM_ReplayAgainstDirect, mixed)
            ->MinTime(2)
            ->Unit(benchmark::kMicrosecond);
    }
    // The update benchmarks start games of their own on the bare host.
    benchmark::RegisterBenchmark("BM_UpdateLoading", [](benchmark::State& s) {
        kr_graphics_SetGraphicsDevice(nullptr);
        BM_UpdateLoading(s);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_UpdateIdleMenu", [](benchmark::State& s) {
        kr_graphics_SetGraphicsDevice(nullptr);
        BM_UpdateIdleMenu(s);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
