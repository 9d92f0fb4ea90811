// SPDX-License-Identifier: Zlib
// The classic single-window interface on GLFW 3: start-up, the one window,
// events, time, keyboard and mouse. GLFW 3 has no current window, so this
// layer keeps it. Sizes and pointer positions are in framebuffer pixels, the
// pixels OpenGL draws into, so a click maps onto what was drawn under it even
// where the window system scales windows. Video modes live in
// host/glfw2/video.cpp; joysticks are each host's own (KrGame::ReadPad).
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include <time.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <string>
#include <vector>

#include "host/game.h"
#include "host/glfw2/pixel_scale.h"

namespace {

struct Layer {
    GLFWwindow* window = nullptr;
    bool resizable = true;  // hint for the next window only
    bool keyRepeat = false;
    bool autoPoll = true;
    bool cursorVisible = true;
    glfw2::GLFWkeyfun onKey = nullptr;
    glfw2::GLFWcharfun onChar = nullptr;
    glfw2::GLFWmousebuttonfun onButton = nullptr;
    glfw2::GLFWmouseposfun onPos = nullptr;
    glfw2::GLFWwindowclosefun onClose = nullptr;
    std::string lastError;
    std::string className;  // empty: GLFW's own
    std::string title;      // of the next window
    std::vector<glfw2::GLFWicon> icons;
    // Keys that were down when the last window closed. A new window does not
    // know they are down, so the keyboard's auto-repeat of such a key would
    // reach it as a fresh press; until the key is let go, its presses are
    // dropped (its release was already reported when the old window closed).
    std::bitset<GLFW_KEY_LAST + 1> heldOver;
    glfw2::bridge::KeyStateReader keyDownNow = [](int) { return -1; };
};

Layer layer;

void recordError(int, const char* description) { layer.lastError = description ? description : ""; }

void applyIcons() {
#ifndef __EMSCRIPTEN__
    if (layer.icons.empty()) return;
    std::vector<GLFWimage> images;
    for (glfw2::GLFWicon& icon : layer.icons) images.push_back({icon.Width, icon.Height, icon.Rgba.data()});
    ::glfwSetWindowIcon(layer.window, static_cast<int>(images.size()), images.data());
#endif
}

// ---- Callbacks from GLFW 3 -------------------------------------------------

void toFramebuffer(double x, double y, int* fx, int* fy) {
    int ww = 0, wh = 0, fw = 0, fh = 0;
    ::glfwGetWindowSize(layer.window, &ww, &wh);
    ::glfwGetFramebufferSize(layer.window, &fw, &fh);
    glfw2::WindowToFramebuffer(x, y, ww, wh, fw, fh, fx, fy);
}

void keyCallback(GLFWwindow*, int key, int, int action, int) {
    if (key >= 0 && key <= GLFW_KEY_LAST && layer.heldOver[key]) {
        if (action == GLFW_RELEASE) layer.heldOver.reset(key);
        return;
    }
    int key2 = glfw2::bridge::ClassicKeyFromGlfw3(key);
    if (!layer.onKey || key2 < 0) return;
    if (action == GLFW_REPEAT) {
        if (!layer.keyRepeat) return;
        action = GLFW_PRESS;  // repeats arrive as presses, as they always did
    }
    layer.onKey(key2, action);
}

void charCallback(GLFWwindow*, unsigned int codepoint) {
    if (layer.onChar) layer.onChar(static_cast<int>(codepoint), GLFW_PRESS);
}

void buttonCallback(GLFWwindow*, int button, int action, int) {
    if (layer.onButton) layer.onButton(button, action);
}

void cursorCallback(GLFWwindow*, double x, double y) {
    if (!layer.onPos) return;
    int fx, fy;
    toFramebuffer(x, y, &fx, &fy);
    layer.onPos(fx, fy);
}

// A close callback that answers false keeps the window open.
void closeCallback(GLFWwindow* window) {
    if (layer.onClose && !layer.onClose()) ::glfwSetWindowShouldClose(window, GLFW_FALSE);
}

void installCallbacks(GLFWwindow* w) {
    ::glfwSetKeyCallback(w, keyCallback);
    ::glfwSetCharCallback(w, charCallback);
    ::glfwSetMouseButtonCallback(w, buttonCallback);
    ::glfwSetCursorPosCallback(w, cursorCallback);
    ::glfwSetWindowCloseCallback(w, closeCallback);
}

// ---- The window and its keys -----------------------------------------------

void applyCursor() {
    if (layer.window)
        ::glfwSetInputMode(layer.window, GLFW_CURSOR,
                           layer.cursorVisible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

void destroyWindow() {
    if (!layer.window) return;
    for (int key = GLFW_KEY_SPACE; key <= GLFW_KEY_LAST; ++key)
        if (::glfwGetKey(layer.window, key) == GLFW_PRESS) layer.heldOver.set(key);
    ::glfwDestroyWindow(layer.window);
    layer.window = nullptr;
}

// A held-over key counts as let go once the keyboard no longer holds it,
// even when the window never saw it released; a press after that is real.
// Where the window system cannot tell, only the key's release clears it.
void forgetReleasedKeys() {
    if (layer.heldOver.none()) return;
    for (int key = 0; key <= GLFW_KEY_LAST; ++key)
        if (layer.heldOver[key] && layer.keyDownNow(key) == 0) layer.heldOver.reset(key);
}

// Window sizes beyond this cannot be addressed by the window system (X
// coordinates are signed 16-bit numbers); asking for one ends the program
// in the window system's own error handling.
constexpr int kMaxWindowSide = 32767;

// Why a window of this size cannot be opened, or "" when it can. A
// full-screen window needs a video mode at least as large.
std::string refusal(int width, int height, bool fullscreen) {
    if (width > kMaxWindowSide || height > kMaxWindowSide)
        return "a window of " + std::to_string(width) + " x " + std::to_string(height) + " is too large to address";
    if (!fullscreen) return "";
    GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
    if (!monitor) return "no monitor to show a full-screen window on";
    int count = 0, largestWidth = 0, largestHeight = 0;
    const ::GLFWvidmode* modes = ::glfwGetVideoModes(monitor, &count);
    for (int i = 0; modes && i < count; ++i) {
        largestWidth = std::max(largestWidth, modes[i].width);
        largestHeight = std::max(largestHeight, modes[i].height);
    }
    if (width <= largestWidth && height <= largestHeight) return "";
    return "the display has no full-screen mode of " + std::to_string(width) + " x " + std::to_string(height) +
           ", the largest is " + std::to_string(largestWidth) + " x " + std::to_string(largestHeight);
}

// A close request the callback accepted closes the window once the events
// are processed, as the classic interface did.
void closeIfRequested() {
    if (layer.window && ::glfwWindowShouldClose(layer.window)) destroyWindow();
}

// Colour bits of 0 leave the choice to the system; alpha, depth and
// stencil bits of 0 mean none.
int colourHint(int bits) { return bits > 0 ? bits : GLFW_DONT_CARE; }

void defaultSize(int* width, int* height) {
    if (*width <= 0 && *height <= 0) {
        *width = kKrStartWindowWidth;
        *height = kKrStartWindowHeight;
    } else if (*width <= 0) {
        *width = *height * 4 / 3;
    } else if (*height <= 0) {
        *height = *width * 3 / 4;
    }
}

void setSwitch(int token, bool on) {
    if (token == classic::MouseCursor) {
        layer.cursorVisible = on;
        applyCursor();
    } else if (token == classic::KeyRepeat) {
        layer.keyRepeat = on;
    } else if (token == classic::AutoPollEvents) {
        layer.autoPoll = on;
    }
}

}  // namespace

namespace glfw2 {

namespace bridge {
GLFWwindow* Window() { return layer.window; }
void SetKeyStateReader(KeyStateReader reader) { layer.keyDownNow = reader; }
}  // namespace bridge

// ---- The classic calls -----------------------------------------------------

int glfwInit() {
    ::glfwSetErrorCallback(recordError);
    return ::glfwInit() == GLFW_TRUE ? 1 : 0;
}

void glfwTerminate() {
    ::glfwTerminate();
    layer.window = nullptr;
}

const char* glfwGetLastError() { return layer.lastError.c_str(); }

void glfwOpenWindowHint(int target, int hint) {
    if (target == classic::WindowNoResize) layer.resizable = !hint;
}

int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode) {
    if (layer.window) return 0;  // one window at a time
    if (mode != classic::Windowed && mode != classic::Fullscreen) return 0;
    defaultSize(&width, &height);
    std::string refused = refusal(width, height, mode == classic::Fullscreen);
    if (!refused.empty()) {
        layer.lastError = refused;
        return 0;
    }
    ::glfwDefaultWindowHints();
    ::glfwWindowHint(GLFW_RED_BITS, colourHint(redbits));
    ::glfwWindowHint(GLFW_GREEN_BITS, colourHint(greenbits));
    ::glfwWindowHint(GLFW_BLUE_BITS, colourHint(bluebits));
    ::glfwWindowHint(GLFW_ALPHA_BITS, alphabits > 0 ? alphabits : 0);
    ::glfwWindowHint(GLFW_DEPTH_BITS, depthbits > 0 ? depthbits : 0);
    ::glfwWindowHint(GLFW_STENCIL_BITS, stencilbits > 0 ? stencilbits : 0);
    ::glfwWindowHint(GLFW_RESIZABLE, layer.resizable ? GLFW_TRUE : GLFW_FALSE);
    // The default context (OpenGL, any version, no core profile) keeps the
    // fixed-function pipeline the renderer draws with.
    ::glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
#ifndef __EMSCRIPTEN__
    if (!layer.className.empty()) {
        ::glfwWindowHintString(GLFW_X11_CLASS_NAME, layer.className.c_str());
        ::glfwWindowHintString(GLFW_X11_INSTANCE_NAME, layer.className.c_str());
    }
#endif
    layer.resizable = true;
    GLFWmonitor* monitor = mode == classic::Fullscreen ? ::glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* w = ::glfwCreateWindow(width, height, layer.title.c_str(), monitor, nullptr);
    if (!w) return 0;
    layer.window = w;
    applyIcons();
    ::glfwMakeContextCurrent(w);
    installCallbacks(w);
    applyCursor();
    return 1;
}

void glfwCloseWindow() { destroyWindow(); }

void glfwSetWindowIdentity(const char* className, std::vector<GLFWicon> icons) {
    layer.className = className;
    layer.icons = std::move(icons);
}

void glfwOpenWindowTitleHint(const char* title) { layer.title = title ? title : ""; }

void glfwSetWindowTitle(const char* title) {
    if (layer.window) ::glfwSetWindowTitle(layer.window, title);
}

void glfwSetWindowPos(int x, int y) {
    if (layer.window) ::glfwSetWindowPos(layer.window, x, y);
}

void glfwGetWindowSize(int* width, int* height) {
    int w = 0, h = 0;
    if (layer.window) ::glfwGetFramebufferSize(layer.window, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

int glfwGetWindowParam(int param) {
    if (!layer.window) return 0;
    if (param == classic::Opened) return 1;
    if (param == classic::Active) return ::glfwGetWindowAttrib(layer.window, GLFW_FOCUSED);
    if (param == classic::Iconified) return ::glfwGetWindowAttrib(layer.window, GLFW_ICONIFIED);
    return 0;
}

void glfwSwapBuffers() {
    if (!layer.window) return;
    ::glfwSwapBuffers(layer.window);
    if (layer.autoPoll) glfw2::glfwPollEvents();
}

// Held-over keys are looked at after the events: a release among them is
// then not reported twice.
void glfwPollEvents() {
    ::glfwPollEvents();
    forgetReleasedKeys();
    closeIfRequested();
}

// Without a window there is nothing that could ever wake the wait.
void glfwWaitEvents() {
    if (!layer.window) return;
    ::glfwWaitEvents();
    forgetReleasedKeys();
    closeIfRequested();
}

double glfwGetTime() { return ::glfwGetTime(); }

void glfwSleep(double seconds) {
    if (!(seconds > 0)) return;
    timespec left;
    left.tv_sec = static_cast<time_t>(seconds);
    left.tv_nsec = static_cast<long>((seconds - left.tv_sec) * 1e9);
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

void glfwEnable(int token) { setSwitch(token, true); }
void glfwDisable(int token) { setSwitch(token, false); }

int glfwGetKey(int key) {
    int key3 = bridge::Glfw3KeyFromClassic(key);
    if (!layer.window || key3 < 0) return 0;
    return ::glfwGetKey(layer.window, key3) == GLFW_PRESS ? 1 : 0;
}

void glfwGetMousePos(int* x, int* y) {
    int fx = 0, fy = 0;
    if (layer.window) {
        double cx, cy;
        ::glfwGetCursorPos(layer.window, &cx, &cy);
        toFramebuffer(cx, cy, &fx, &fy);
    }
    if (x) *x = fx;
    if (y) *y = fy;
}

void glfwSetKeyCallback(GLFWkeyfun fn) { layer.onKey = fn; }
void glfwSetCharCallback(GLFWcharfun fn) { layer.onChar = fn; }
void glfwSetMouseButtonCallback(GLFWmousebuttonfun fn) { layer.onButton = fn; }
void glfwSetMousePosCallback(GLFWmouseposfun fn) { layer.onPos = fn; }
void glfwSetWindowCloseCallback(GLFWwindowclosefun fn) { layer.onClose = fn; }

}  // namespace glfw2
