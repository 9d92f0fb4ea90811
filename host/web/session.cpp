// SPDX-License-Identifier: Zlib
// The page's own recording of the session, in memory, for the page to hand
// out (window.vornhelm.replay()): the same replay file a desktop recording
// writes, which `vornhelm --replay FILE` plays to the same end.
#include <emscripten.h>

#include <cstdint>
#include <vector>

#include "host/replay/recorder.h"
#include "host/web/web_game.h"

namespace {

// A session that grows past this is ended there: what is kept still replays,
// to that point. At the game's usual few kilobytes a minute it is hours.
constexpr std::size_t kMaxSessionBytes = 32u << 20;

KrSessionRecorder* recorder = nullptr;
std::vector<std::uint8_t> snapshot;

}  // namespace

void KrRecordPageSession(KrGame* host) {
    recorder = KrSessionRecorder::InMemory(kMaxSessionBytes);
    recorder->Attach(host);
}

extern "C" {

// Takes the recording so far as complete replay file bytes; returns their
// count, which vornhelm_session_bytes() then points at.
EMSCRIPTEN_KEEPALIVE int vornhelm_session_take() {
    snapshot = recorder ? recorder->Snapshot() : std::vector<std::uint8_t>();
    return static_cast<int>(snapshot.size());
}

EMSCRIPTEN_KEEPALIVE const std::uint8_t* vornhelm_session_bytes() { return snapshot.data(); }

}  // extern "C"
