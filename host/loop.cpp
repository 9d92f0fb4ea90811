// SPDX-License-Identifier: Zlib
// The main loop every host with a window shares: follows the window's state
// into suspend and resume, runs timed updates at the application's rate with
// a bounded catch-up, renders once after them, and blocks on window events
// whenever there is nothing timed to do, so an idle or suspended game costs
// no processor time. The browser runs one pass per animation frame.
#include "host/game.h"

namespace {

// At most this many updates precede a render; a longer backlog is dropped.
constexpr int kMaxUpdatesPerRender = 4;

}  // namespace

void KrGame::Run() {
    SetGlfwWindow(kKrStartWindowWidth, kKrStartWindowHeight, 8, 8, 8, 0, 0, 0, false);
    StartGame();
    RenderGame();
    while (RunPass()) {
    }
}

bool KrGame::RunPass() {
    PollEvents();
    if (!WindowOpen()) return false;
    FollowWindowState();
    if (!TimedUpdatesOn() || _suspended) {
        // A minimised window shows nothing, so it is not drawn either.
        if (!_minimised) RenderGame();
        WaitEvents();
        return true;
    }
    double delay = _updateDue - Now();
    if (delay > 0) {
        Sleep(delay);  // nothing is due yet, and nothing is rendered
        return true;
    }
    RunDueUpdates();
    return true;
}

// Iconifying suspends and marks the game minimised; losing focus suspends
// it but keeps it rendering; getting focus back resumes it on a fresh
// schedule. An iconified window never resumes, even if it reports focus.
void KrGame::FollowWindowState() {
    if (WindowIconified()) {
        if (!_suspended) {
            _minimised = true;
            SuspendGame();
        }
    } else if (WindowActive()) {
        if (_suspended) {
            _minimised = false;
            ResumeGame();
            _updateDue = Now();
        }
    } else if (!_suspended) {
        SuspendGame();
    }
}

bool KrGame::TimedUpdatesOn() const { return _updateRate > 0; }

// Runs the updates that are due, up to the bound, then renders once. An
// update may switch timed updates off; the render then follows at once.
void KrGame::RunDueUpdates() {
    for (int i = 0; i < kMaxUpdatesPerRender; ++i) {
        _updateDue += _updateInterval;
        UpdateGame();
        if (!TimedUpdatesOn() || _updateDue - Now() > 0) {
            RenderGame();
            return;
        }
    }
    RenderGame();
    if (TimedUpdatesOn()) _updateDue = Now();
}
