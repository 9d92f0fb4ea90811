// SPDX-License-Identifier: Zlib
// The same two frames every run, for comparing the pixels that two builds of
// the renderer draw: the menu of mode 1 once loaded and slid in (after 200
// updates of a clock that moves 16 ms an update), and a mode-3 game at wave
// 10 after 300 updates of play, both rendered into a W x H window and read
// back. Prints the OpenGL draw calls of each frame (each with the window
// pixels it covers and whether it blends) and, given OUT, writes
// OUT-menu.ppm and OUT-play.ppm (binary PPM, rows from the top). The window
// is 1024 x 768 unless given.
//
// Run from the build folder (the game reads ./data), under a display with a
// screen of at least W x H:
//   xvfb-run -a -s "-screen 0 1920x1080x24" bench/frame_shots [W H [OUT]]
// for example bench/frame_shots 1920 1080 /tmp/after
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/gl_draw_list.h"
#include "graphics/gl.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/desktop_test_host.h"
#include "tests/support/game_host.h"

namespace {

struct ShotGame {
    DesktopTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;
    int w = 0, h = 0;

    bool Open(int width, int height) {
        w = width, h = height;
        if (!glfw2::glfwInit()) return false;
        host.OpenFixedWindow(w, h);
        app = StartBareGame(host);
        KrGame::_game = &host;
        kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        kr_graphics_SetFont(nullptr, 32);
        app->p_OnCreate();
        return true;
    }

    // Renders after every update, as the loop does: the size change that a
    // first render finds reloads the assets at the window's tier.
    void Run(int updates) {
        for (int i = 0; i < updates; ++i) {
            Render();
            host.clock += 16;
            UpdateOnce(app);
            gc_collect();
        }
    }

    void Render() {
        device->BeginRender();
        kr_graphics_BeginRender();
        app->p_OnRender();
        kr_graphics_EndRender();
        device->Flush();
    }

    // Renders the frame, counting its draw calls, and saves it unless the
    // path is empty.
    bool Save(const char* what, const std::string& path) {
        const auto draws = bench::ListDrawCalls(device, [this] { Render(); });
        std::printf("%s %dx%d: %zu draw calls\n", what, w, h, draws.size());
        double blended = 0, opaque = 0;
        for (const auto& d : draws) {
            std::printf("  %9.0f pixels, %s, %s, %d shapes, %d translucent (%.0f pixels)\n", d.pixels,
                        d.blended ? "blended" : "opaque ", d.textured ? "textured" : "coloured", d.shapes,
                        d.translucent, d.translucentPixels);
            (d.blended ? blended : opaque) += d.pixels;
        }
        std::printf("  %.2f windows blended, %.2f opaque\n", blended / w / h, opaque / w / h);
        if (path.empty()) return true;
        std::vector<unsigned char> rgba(static_cast<size_t>(4) * w * h);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        std::fprintf(f, "P6\n%d %d\n255\n", w, h);
        for (int y = h - 1; y >= 0; --y)
            for (int x = 0; x < w; ++x) std::fwrite(&rgba[4 * (static_cast<size_t>(y) * w + x)], 1, 3, f);
        return std::fclose(f) == 0;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int w = argc > 2 ? std::atoi(argv[1]) : 1024, h = argc > 2 ? std::atoi(argv[2]) : 768;
    if (argc == 2 || argc > 4 || w <= 0 || h <= 0) {
        std::printf("usage: frame_shots [WIDTH HEIGHT [OUT_PREFIX]]\n");
        return 2;
    }
    ShotGame game;
    if (!game.Open(w, h)) {
        std::printf("no window (run under a display)\n");
        return 1;
    }
    const std::string out = argc > 3 ? argv[3] : "";
    auto file = [&out](const char* what) { return out.empty() ? out : out + "-" + what + ".ppm"; };
    game.Run(200);
    if (game.app->m_LoadStep != 0 || game.app->m_Mode != 1 || !game.Save("menu", file("menu"))) {
        std::printf("the menu did not come up (run from the build folder)\n");
        return 1;
    }
    game.host.clock = 12345;
    game.app->m_GameMode = 3;
    game.app->p_LoadGame();
    game.app->m_Wave = 9;
    game.app->p_Replenish();
    game.Run(300);
    if (game.app->m_Mode != 10 || !game.Save("play", file("play"))) {
        std::printf("the game did not start\n");
        return 1;
    }
    if (!out.empty()) std::printf("%s-menu.ppm, %s-play.ppm\n", out.c_str(), out.c_str());
    return 0;
}
