// SPDX-License-Identifier: Zlib
// The desktop host's small operations: the clock, data paths, the mouse
// cursor, opening a URL, video modes, starting and ending GLFW, and the
// window-system hooks the shared loop uses.
#include "host/desktop/glfw_game.h"

#include <cstdlib>
#include <string>

#include "host/desktop/stop_signals.h"
#include "host/desktop/window_identity.h"
#include "host/glfw2/bridge.h"
#include "host/glfw2/game_input.h"

using namespace glfw2;

KrGlfwGame* KrGlfwGame::_glfwGame = nullptr;

KrGlfwGame::KrGlfwGame() {
    _glfwGame = this;
    bridge::SetKeyStateReader(KrX11KeyDownNow);
}

KrGlfwGame::~KrGlfwGame() {
    if (_glfwGame == this) _glfwGame = nullptr;
}

String KrGlfwGame::PathToFilePath(String path) { return KrMapDataPath(path); }

// The URL goes to the desktop's opener as one argument, never through a shell.
void KrGlfwGame::OpenUrl(String url) {
    if (url.Length() == 0) return;
    kr_open_url(kr_utf16_to_utf8(url.Data(), url.Length()));
}

void KrGlfwGame::SetMouseVisible(bool visible) {
    if (visible) glfwEnable(GLFW_MOUSE_CURSOR);
    else glfwDisable(GLFW_MOUSE_CURSOR);
}

Array<KrGlfwVideoMode*> KrGlfwGame::GetGlfwVideoModes() { return kr_window::VideoModes(); }
KrGlfwVideoMode* KrGlfwGame::GetGlfwDesktopMode() { return kr_window::DesktopMode(); }

bool KrGlfwGame::StartWindowSystem() {
    if (!glfwInit()) return false;
    KrSetWindowIdentity();
    return true;
}

void KrGlfwGame::EndWindowSystem() { glfwTerminate(); }

double KrGlfwGame::Now() { return glfwGetTime(); }
void KrGlfwGame::Sleep(double seconds) { glfwSleep(seconds); }

void KrGlfwGame::PollEvents() {
    StopIfAsked();
    glfwPollEvents();
}

void KrGlfwGame::WaitEvents() {
    glfwWaitEvents();
    StopIfAsked();
}

bool KrGlfwGame::WindowOpen() { return glfwGetWindowParam(GLFW_OPENED) != 0; }
bool KrGlfwGame::WindowIconified() { return glfwGetWindowParam(GLFW_ICONIFIED) != 0; }
bool KrGlfwGame::WindowActive() { return glfwGetWindowParam(GLFW_ACTIVE) != 0; }
void KrGlfwGame::SwapBuffers() { glfwSwapBuffers(); }

// Ends from the main loop, between two calls into the game.
void KrGlfwGame::StopIfAsked() {
    if (!_stopOnSignals) return;
    if (int sig = KrStopSignal()) std::exit(128 + sig);
}
