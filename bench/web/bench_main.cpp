// SPDX-License-Identifier: Zlib
// The browser benchmark's program (bench/web/bench_web.py): the game on the
// browser host as the page runs it, with the game's own update measures read
// out, and a jump of the game under way to a later wave, as
// bench/bench_play.cpp builds its scene.
#include <emscripten.h>

#include "game/game.h"
#include "host/web/web_game.h"

namespace {

c_MyApp* App() { return dynamic_cast<c_MyApp*>(kr_app__app); }

c_MyApp* Playing() {
    c_MyApp* app = App();
    return app && app->m_Mode == 10 ? app : nullptr;
}

// The browser host counting the frames it draws: the frames the player is
// shown, where the page's animation frames may outnumber them (a frame with
// no update due draws nothing).
class CountingWebGame : public KrWebGame {
public:
    void RenderGame() override {
        KrWebGame::RenderGame();
        ++framesDrawn;
    }
    int framesDrawn = 0;
};

CountingWebGame* host = nullptr;

}  // namespace

extern "C" {

// The frames the game has drawn since it started.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_frames_drawn() { return host ? host->framesDrawn : -1; }

// The game's update-rate measure: updates per second from the time since the
// previous update, as of the last update, and its smoothed form (which the
// credits' dial shows). -1 before the game exists.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_update_rate() { return App() ? App()->m_UpdateFps : -1; }
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_update_rate_smoothed() { return App() ? App()->m_UpdateFpsAvg : -1; }

// The render rate the debug line (F1) shows, smoothed.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_render_rate_smoothed() { return App() ? App()->m_RenderFpsAvg : -1; }

// The game's count of play updates (one per update of a game under way,
// paused or not); -1 when no game is under way.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_play_updates() { return Playing() ? Playing()->m_Tick : -1; }

// The menu's animation counter: 2 more (modulo 60) each update of the menu.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_menu_tick() { return App() ? App()->m_MenuTick : -1; }

// The game under way brings wave `wave`'s enemies at once; 0 when no game is.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_wave(int wave) {
    c_MyApp* app = Playing();
    if (!app) return 0;
    app->m_Wave = wave - 1;
    app->p_Replenish();
    return 1;
}

// Full health again, so that a measured game does not end.
EMSCRIPTEN_KEEPALIVE int vornhelm_bench_heal() {
    c_MyApp* app = Playing();
    if (!app) return 0;
    app->m_Health = 99;
    return app->m_Wave;
}

}  // extern "C"

int main(int argc, char** argv) {
    host = new CountingWebGame;
    return KrGame::Main(argc, const_cast<const char**>(argv), host);
}
