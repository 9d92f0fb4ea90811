// The desktop host's small operations: the clock, data paths, the mouse
// cursor, opening a URL, and the window-system hooks the main loop uses.
#include "host/desktop/glfw_game.h"

#include <string>

#include "host/glfw2/glfw2.h"
#include "host/platform.h"

using namespace glfw2;

KrGlfwGame* KrGlfwGame::_glfwGame = nullptr;

KrGlfwGame::KrGlfwGame() { _glfwGame = this; }

KrGlfwGame::~KrGlfwGame() {
    if (_glfwGame == this) _glfwGame = nullptr;
}

// Rates of 0 or below switch timed updates off.
void KrGlfwGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
    if (hertz <= 0) return;
    _updateInterval = 1.0 / hertz;
    _updateDue = Now() + _updateInterval;
}

int KrGlfwGame::Millisecs() { return static_cast<int>(Now() * 1000); }

namespace {

struct PathRoot {
    const char* scheme;
    const char* folder;
};

constexpr PathRoot kPathRoots[] = {
    {"tandor://data/", "./data/"},
    {"tandor://internal/", "./internal/"},
    {"tandor://external/", "./external/"},
};

}  // namespace

// Any other "tandor:" path names no file: the empty result fails to open.
String KrGlfwGame::PathToFilePath(String path) {
    for (const PathRoot& root : kPathRoots) {
        String scheme(root.scheme);
        if (path.StartsWith(scheme)) return String(root.folder) + path.Slice(scheme.Length());
    }
    if (path.StartsWith(String("tandor:"))) return String();
    return path;
}

// The URL goes to the desktop's opener as one argument, never through a shell.
void KrGlfwGame::OpenUrl(String url) {
    if (url.Length() == 0) return;
    kr_open_url(kr_utf16_to_utf8(url.Data(), url.Length()));
}

void KrGlfwGame::SetMouseVisible(bool visible) {
    if (visible) glfwEnable(GLFW_MOUSE_CURSOR);
    else glfwDisable(GLFW_MOUSE_CURSOR);
}

double KrGlfwGame::Now() { return glfwGetTime(); }
void KrGlfwGame::Sleep(double seconds) { glfwSleep(seconds); }
void KrGlfwGame::PollEvents() { glfwPollEvents(); }
void KrGlfwGame::WaitEvents() { glfwWaitEvents(); }
bool KrGlfwGame::WindowOpen() { return glfwGetWindowParam(GLFW_OPENED) != 0; }
bool KrGlfwGame::WindowIconified() { return glfwGetWindowParam(GLFW_ICONIFIED) != 0; }
bool KrGlfwGame::WindowActive() { return glfwGetWindowParam(GLFW_ACTIVE) != 0; }
