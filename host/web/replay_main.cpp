// The browser build's replay player, for the tests and the benchmark, in a
// page or under node: plays one recorded game as fast as it goes, drawing
// nothing and sounding nothing, prints the line a replay ends with, then how
// long the replay took from the game's start.
//
//   vornhelm-replay FILE
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/state_digest.h"
#include "host/replay/replay_host.h"

namespace {

double started = 0;

// Runs after the replay's own last line, also when the game ends the
// program itself (as the committed games do, quitting from the menu).
void PrintTime() {
    std::printf("Replay took %.0f ms\n", emscripten_get_now() - started);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vornhelm-replay FILE\n");
        return 1;
    }
    KrReplayOptions options;
    options.path = argv[1];
    options.fast = true;
    std::string error;
    KrReplayHost* host = KrReplayHost::Create(options, KrDescribeGameState, &error);
    if (!host) {
        std::fprintf(stderr, "vornhelm: cannot replay %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    // A replay run here is heard by nobody, as an unpaced replay on the
    // desktop: without Web Audio the game's audio device opens no context
    // and stays silent, as wherever no sound system exists, and the sounds
    // the game starts cost nothing (Web Audio would still schedule each).
    // Node has no Web Audio anyway.
    EM_ASM({
        globalThis.AudioContext = undefined;
        globalThis.webkitAudioContext = undefined;
    });
    started = emscripten_get_now();
    std::atexit(PrintTime);
    return KrTandorGame::Main(argc, const_cast<const char**>(argv), host);
}
