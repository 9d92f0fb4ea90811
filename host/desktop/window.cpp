// SPDX-License-Identifier: Zlib
// Opening the desktop's window: the one path for the game's windows, a
// replay's and a test's.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/desktop/glfw_game.h"
#include "host/glfw2/game_input.h"
#include "host/glfw2/glfw2.h"

using namespace glfw2;

namespace {

// Without a window there is no game: say why on one line and end.
[[noreturn]] void failToOpenWindow() {
    const char* reason = glfwGetLastError();
    std::printf("Could not open the game window: %s\n", *reason ? reason : "unknown reason");
    std::fflush(stdout);
    glfwTerminate();
    std::exit(-1);
}

// Titled from the moment it is made, full screen too, so that no task
// switcher ever lists a nameless window.
bool openWindow(const KrWindowRequest& r) {
    glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, r.resizable ? 0 : 1);
    glfwOpenWindowTitleHint(r.title);
    int mode = r.fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW;
    return glfwOpenWindow(r.width, r.height, r.red, r.green, r.blue, r.alpha, r.depth, r.stencil, mode) != 0;
}

}  // namespace

// A window that cannot be opened at start ends the program. One of the
// game's that cannot be reopened (a full-screen mode the display refuses,
// say) gives way to a window like the one at start, so that a game under
// way goes on; only if even that fails does the program end.
void KrGlfwGame::OpenWindow(const KrWindowRequest& asked) {
    KrWindowRequest request = asked;
    const bool game = request.input == KrWindowRequest::Game;
    if (game) kr_window::ReleaseHeldKeys(this);
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    const bool reopening = game && GraphicsContext() > 0;
    glfwCloseWindow();
    if (!openWindow(request)) {
        if (!reopening) failToOpenWindow();
        std::string reason = glfwGetLastError();
        KrWindowRequest fallback;
        request = fallback;
        if (!openWindow(request)) failToOpenWindow();
        std::printf("Could not reopen the game window: %s; opened a %d x %d window instead\n",
                    reason.empty() ? "unknown reason" : reason.c_str(), request.width, request.height);
        std::fflush(stdout);
    }
    if (!request.fullscreen) glfwSetWindowPos((desktop.Width - request.width) / 2, (desktop.Height - request.height) / 2);
    NewGraphicsContext();
    if (game) kr_window::ListenForGame(this);
    else kr_window::ListenForLeave(&_leaveAsked);
}
