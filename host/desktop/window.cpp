// Opening the game's window and answering the window's close button.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/events.h"
#include "host/glfw2/glfw2.h"
#include "host/desktop/glfw_game.h"

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

// The window the loop opens at start; also the one a failed reopen falls
// back to.
constexpr int kStartWidth = 640, kStartHeight = 480;

// Opens the window as asked, resizable; false when the system refuses it.
bool openWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                int stencil, bool fullscreen) {
    glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, 0);
    int mode = fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW;
    return glfwOpenWindow(width, height, red, green, blue, alpha, depth, stencil, mode) != 0;
}

}  // namespace

// The application sees every key it holds released, since the new window
// will not report their release.
void KrGlfwGame::ReleaseHeldKeys() {
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        if (glfwGetKey(key) != GLFW_PRESS) continue;
        int code = TransKey(key);
        if (code) KeyEvent(kr_event::KeyUp, code);
    }
}

// A window that cannot be opened at start ends the program. One that cannot
// be reopened (a full-screen mode the display refuses, say) gives way to a
// window like the one at start, so that a game under way goes on; only if
// even that fails does the program end.
void KrGlfwGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen) {
    ReleaseHeldKeys();
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    const bool reopening = glfwGraphicsSeq > 0;
    glfwCloseWindow();
    if (!openWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen)) {
        if (!reopening) failToOpenWindow();
        std::string reason = glfwGetLastError();
        width = kStartWidth, height = kStartHeight, fullscreen = false;
        if (!openWindow(width, height, 8, 8, 8, 0, 0, 0, false)) failToOpenWindow();
        std::printf("Could not reopen the game window: %s; opened a %d x %d window instead\n",
                    reason.empty() ? "unknown reason" : reason.c_str(), width, height);
        std::fflush(stdout);
    }
    if (!fullscreen) {
        glfwSetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
        glfwSetWindowTitle("Vornhelm");
    }
    ++glfwGraphicsSeq;
    // Events are delivered only by the loop's own poll.
    glfwEnable(GLFW_KEY_REPEAT);
    glfwDisable(GLFW_AUTO_POLL_EVENTS);
    glfwSetKeyCallback(OnKey);
    glfwSetCharCallback(OnChar);
    glfwSetMouseButtonCallback(OnMouseButton);
    glfwSetMousePosCallback(OnMousePos);
    glfwSetWindowCloseCallback(OnWindowClose);
}

// The close button becomes a press and release of the close key; the
// window stays open and the application decides whether to end.
int KrGlfwGame::OnWindowClose() {
    if (_glfwGame) {
        _glfwGame->KeyEvent(kr_event::KeyDown, kr_key::Close);
        _glfwGame->KeyEvent(kr_event::KeyUp, kr_key::Close);
    }
    return 0;
}
