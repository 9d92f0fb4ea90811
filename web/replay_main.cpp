// SPDX-License-Identifier: Zlib
// The browser build's replay player, for the tests and the benchmark, in a
// page or under node. It plays one recorded game as fast as it goes,
// sounding nothing, and prints the line a replay ends with, then how long
// the replay took from the game's start. Without --screenshot-at it draws
// nothing either; with it, it draws every frame up to the one after update
// N in a canvas of the recorded size (WebGL, in a page only), saves that
// frame as a PNG in the program's file system and ends, as the desktop's
// `vornhelm --replay FILE --screenshot-at N OUT.png` does.
//
//   vornhelm-replay FILE [--screenshot-at N OUT.png]
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/state_digest.h"
#include "host/headless/headless_game.h"
#include "host/replay/player.h"
#include "host/web/web_game.h"

namespace {

double started = 0;
KrReplayPlayer* player = nullptr;

void RunPlayer() { player->Run(); }

// Runs after the replay's own last line, also when the game ends the
// program itself (as the committed games do, quitting from the menu).
void PrintTime() {
    std::printf("Replay took %.0f ms\n", emscripten_get_now() - started);
    std::fflush(stdout);
}

// False when the command line is not one of the two forms above.
bool ReadOptions(int argc, char** argv, KrReplayOptions* options) {
    if (argc != 2 && !(argc == 5 && std::strcmp(argv[2], "--screenshot-at") == 0)) return false;
    options->path = argv[1];
    if (argc == 2) {
        options->fast = true;
        return true;
    }
    char* end = nullptr;
    const long long update = std::strtoll(argv[3], &end, 10);
    if (end == argv[3] || *end || update < 0) return false;
    options->screenshotAt = update;
    options->screenshotPath = argv[4];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    KrReplayOptions options;
    if (!ReadOptions(argc, argv, &options)) {
        std::fprintf(stderr, "usage: vornhelm-replay FILE [--screenshot-at N OUT.png]\n");
        return 1;
    }
    std::string error;
    player = KrReplayPlayer::Create(options, KrDescribeGameState, &error);
    if (!player) {
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
    // Without a screenshot nothing is drawn: the headless host, which has
    // no canvas and makes no WebGL call; with one, the browser host's canvas.
    KrGame* host = options.Headless() ? static_cast<KrGame*>(new KrHeadlessGame) : new KrWebGame;
    player->Attach(host);
    started = emscripten_get_now();
    std::atexit(PrintTime);
    return KrGame::Main(argc, const_cast<const char**>(argv), host, RunPlayer);
}
