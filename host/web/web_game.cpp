// SPDX-License-Identifier: Zlib
#include "host/web/web_game.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "host/events.h"
#include "host/glfw2/game_input.h"
#include "host/glfw2/glfw2.h"
#include "host/web/page_events.h"

using namespace glfw2;

namespace {

// --- Callbacks and canvas helpers ---

void RunFrame(void* host) { static_cast<KrWebGame*>(host)->Frame(); }

// The element the page shows the game in, by CSS selector.
const char* const kCanvas = "#canvas";

void CanvasCssSize(double* width, double* height) {
    *width = *height = 0;
    emscripten_get_element_css_size(kCanvas, width, height);
}

// GLFW's script turns touches into mouse events; here they are touches.
void StopGlfwTouches() {
    EM_ASM({
        var canvas = Module["canvas"];
        canvas.removeEventListener("touchmove", GLFW.onMousemove, true);
        canvas.removeEventListener("touchstart", GLFW.onMouseButtonDown, true);
        canvas.removeEventListener("touchcancel", GLFW.onMouseButtonUp, true);
        canvas.removeEventListener("touchend", GLFW.onMouseButtonUp, true);
    });
}

// A lost context is only given back when its loss is claimed (the event's
// default prevented); until then frames draw nothing.
EM_BOOL OnContextLost(int, const void*, void*) { return true; }

EM_BOOL OnContextRestored(int, const void*, void* host) {
    static_cast<KrWebGame*>(host)->ContextRestored();
    return true;
}

}  // namespace

// --- The frame loop and restored contexts ---

KrWebGame::KrWebGame() {}

void KrWebGame::Run() {
    KrListenToPage(this);
    double cssWidth, cssHeight;
    CanvasCssSize(&cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    SetGlfwWindow(std::max(1, static_cast<int>(std::lround(cssWidth * ratio))),
                  std::max(1, static_cast<int>(std::lround(cssHeight * ratio))), 8, 8, 8, 0, 0, 0, false);
    StopGlfwTouches();
    emscripten_set_webglcontextlost_callback(kCanvas, this, true, OnContextLost);
    emscripten_set_webglcontextrestored_callback(kCanvas, this, true, OnContextRestored);
    StartGame();
    RenderGame();
    // 0 frames per second: the browser's animation frames drive the loop.
    emscripten_set_main_loop_arg(RunFrame, this, 0, 1);
}

// The desktop's loop blocks in its wait until an event arrives; a frame
// with nothing new is skipped the same way.
void KrWebGame::Frame() {
    if (restored_) ReopenWindow();
    if (waiting_ && !woken_) return;
    waiting_ = woken_ = false;
    RunPass();
}

// The restored context is as new: the window is opened again on it, as the
// desktop opens a new window, so the renderer sets itself up afresh and
// every image makes its texture again from the pixels it keeps.
void KrWebGame::ReopenWindow() {
    restored_ = false;
    int width = 0, height = 0;
    glfwGetWindowSize(&width, &height);
    // Closing the old window is no player's request to leave.
    glfwSetWindowCloseCallback(nullptr);
    glfwCloseWindow();
    EM_ASM({ Module.ctx = null; });
    glfwOpenWindow(std::max(1, width), std::max(1, height), 8, 8, 8, 0, 0, 0, GLFW_WINDOW);
    NewGraphicsContext();
    kr_window::ListenForGame(this);
    StopGlfwTouches();
    FollowCanvasSize();
}

// --- Traits, events and the page's state ---

bool KrWebGame::HasTrait(KrHostTrait trait) {
    switch (trait) {
        case kKrTraitSoundNeedsGesture:
        case kKrTraitNoExit: return true;
        case kKrTraitTouchFirst:
            return EM_ASM_INT({ return window.matchMedia && matchMedia("(pointer: coarse)").matches ? 1 : 0; }) != 0;
        default: return false;
    }
}

void KrWebGame::PausedByPage(bool paused) {
    pausedByPage_ = paused;
    Wake();
    FollowWindowState();
}

// Gamepads are read once per pass, as the browser wants them sampled.
void KrWebGame::PollEvents() { emscripten_sample_gamepad_data(); }

// A hidden page gets no animation frames, so the game is suspended at once
// (and saves its state) rather than at the next frame.
void KrWebGame::PageHidden(bool hidden) {
    hidden_ = hidden;
    Wake();
    FollowWindowState();
}

void KrWebGame::PageFocused(bool focused) {
    focused_ = focused;
    Wake();
    FollowWindowState();
}

void KrWebGame::FollowCanvasSize() {
    double cssWidth, cssHeight;
    CanvasCssSize(&cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int width = std::max(1, static_cast<int>(std::lround(cssWidth * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(cssHeight * ratio)));
    // The drawable and GLFW's record of the window's size change together;
    // GLFW's own resizing would leave full screen.
    EM_ASM({
        var canvas = Module["canvas"];
        if (canvas.width != $0) canvas.width = $0;
        if (canvas.height != $1) canvas.height = $1;
        if (GLFW.active) { GLFW.active.width = $0; GLFW.active.height = $1; }
    }, width, height);
    Wake();
}

// --- The window and full screen ---

// Browsers let a page enter full screen only while handling a user's
// input; the request waits for the next key or button release, which
// follows the press the game acted on.
void KrWebGame::OpenWindow(const KrWindowRequest& request) {
    if (GraphicsContext() == 0) {
        glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, request.resizable ? 0 : 1);
        glfwOpenWindow(request.width, request.height, request.red, request.green, request.blue, request.alpha,
                       request.depth, request.stencil, GLFW_WINDOW);
        NewGraphicsContext();
        if (request.input == KrWindowRequest::Game) kr_window::ListenForGame(this);
        else kr_window::ListenForLeave(&leaveAsked_);
        FollowCanvasSize();
        return;
    }
    fullscreen_ = request.fullscreen;
    if (request.fullscreen) emscripten_request_fullscreen(kCanvas, 1);
    else emscripten_exit_fullscreen();
}

// The page can leave full screen without the game asking: the player's Esc
// or the browser's own controls. The game would still hold itself full
// screen, and its next F11 would only leave it again; so it is told as the
// player tells it, by F11, and its switch (which then finds the page
// already windowed) sets its flag and the options' display row back.
void KrWebGame::FullscreenChanged(bool fullscreen) {
    FollowCanvasSize();
    if (fullscreen || !fullscreen_) return;
    fullscreen_ = false;
    KeyEvent(kr_event::KeyDown, kr_key::F11);
    KeyEvent(kr_event::KeyUp, kr_key::F11);
}

// --- Links and the game-over event ---

void KrWebGame::OpenUrl(String url) {
    if (url.Length() == 0) return;
    std::string text = kr_utf16_to_utf8(url.Data(), url.Length());
    EM_ASM({ window.open(UTF8ToString($0), "_blank", "noopener"); }, text.c_str());
}

void KrWebGame::GameOver(int gameMode, int score) {
    EM_ASM({
        window.dispatchEvent(new CustomEvent("vornhelm:gameover", {detail: {mode: $0, score: $1}}));
    }, gameMode, score);
}

// --- Small host services ---

void KrWebGame::FramebufferSize(int* width, int* height) { glfwGetWindowSize(width, height); }
void KrWebGame::SwapBuffers() { glfwSwapBuffers(); }
double KrWebGame::Now() { return glfwGetTime(); }
String KrWebGame::PathToFilePath(String path) { return KrMapDataPath(path); }
Array<KrGlfwVideoMode*> KrWebGame::GetGlfwVideoModes() { return kr_window::VideoModes(); }
KrGlfwVideoMode* KrWebGame::GetGlfwDesktopMode() { return kr_window::DesktopMode(); }

void KrWebGame::SetMouseVisible(bool visible) {
    if (visible) glfwEnable(GLFW_MOUSE_CURSOR);
    else glfwDisable(GLFW_MOUSE_CURSOR);
}

bool KrWebGame::StartWindowSystem() { return glfwInit() != 0; }
