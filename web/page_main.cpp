// SPDX-License-Identifier: Zlib
// The page's program: the game on the browser host, its session recorded
// in memory for the page to hand out, and the game's state described as a
// replay's last line describes it.
#include <emscripten.h>

#include <string>

#include "game/state_digest.h"
#include "host/web/web_game.h"

void KrRecordPageSession(KrGame* host);

extern "C" {

// The state part of the line a replay of the session so far ends with.
EMSCRIPTEN_KEEPALIVE const char* vornhelm_describe_state() {
    static std::string text;
    text = KrDescribeGameState();
    return text.c_str();
}

}  // extern "C"

int main(int argc, char** argv) {
    auto* host = new KrWebGame;
    KrRecordPageSession(host);
    return KrGame::Main(argc, const_cast<const char**>(argv), host);
}
