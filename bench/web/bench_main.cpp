// The browser benchmark's program (bench/web/bench_web.py): the game on the
// browser host, with the count of updates run so far, and a jump of the game
// under way to a later wave, as bench/bench_play.cpp builds its scene.
#include <emscripten.h>

#include "game/game.h"
#include "host/web/web_game.h"

namespace {

double updates = 0;

class KrBenchHost : public KrWebGame {
public:
    void UpdateGame() override {
        ++updates;
        KrWebGame::UpdateGame();
    }
};

c_MyApp* Playing() {
    auto* app = dynamic_cast<c_MyApp*>(kr_app__app);
    return app && app->m_Mode == 10 ? app : nullptr;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE double vornhelm_bench_updates() { return updates; }

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
    return KrTandorGame::Main(argc, const_cast<const char**>(argv), new KrBenchHost);
}
