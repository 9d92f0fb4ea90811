// The browser build's replay player, for the tests and the benchmark: plays
// one recorded game as fast as it goes, drawing nothing, prints the line a
// replay ends with, then how long the updates took.
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
    started = emscripten_get_now();
    std::atexit(PrintTime);
    return KrTandorGame::Main(argc, const_cast<const char**>(argv), host);
}
