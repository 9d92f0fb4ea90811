// SPDX-License-Identifier: Zlib
#include "host/web/page_events.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "host/events.h"
#include "host/glfw2/glfw2.h"
#include "host/web/touch_fingers.h"
#include "host/web/web_game.h"

namespace {

KrWebGame* host = nullptr;
KrTouchFingers fingers;

const char* const kCanvas = "#canvas";

// DOM key codes whose default action the page must not take.
bool KeptFromBrowser(unsigned long keyCode) {
    switch (keyCode) {
        case 112:  // F1: the browser's help
        case 122:  // F11: the browser's own full screen, not the game's
        case 37: case 38: case 39: case 40:  // arrows: scrolling
            return true;
        default:
            return false;
    }
}

// Browsers start a page's audio only from a user's input. The first one
// that reaches the game (the loading screen's "Click to Start", a key, a
// tap) starts the Web Audio context that OpenAL plays into.
void ResumeAudio() {
    EM_ASM({
        if (typeof AL !== "undefined" && AL.currentCtx && AL.currentCtx.audioCtx.state === "suspended")
            AL.currentCtx.audioCtx.resume();
    });
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    host->Wake();
    ResumeAudio();
    return type == EMSCRIPTEN_EVENT_KEYDOWN && KeptFromBrowser(e->keyCode);
}

// Mouse events go to GLFW as well; here they only wake the loop (and give
// a deferred full-screen request the user's gesture it needs).
EM_BOOL OnMouse(int type, const EmscriptenMouseEvent*, void*) {
    host->Wake();
    if (type != EMSCRIPTEN_EVENT_MOUSEMOVE) ResumeAudio();
    return false;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    host->PageHidden(e->hidden);
    return false;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void*) {
    host->PageFocused(type == EMSCRIPTEN_EVENT_FOCUS);
    return false;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void*) {
    host->FollowCanvasSize();
    return false;
}

EM_BOOL OnFullscreen(int, const EmscriptenFullscreenChangeEvent* e, void*) {
    host->FullscreenChanged(e->isFullscreen);
    return false;
}

EM_BOOL OnGamepad(int, const EmscriptenGamepadEvent*, void*) {
    host->Wake();
    return false;
}

// Touch positions arrive in CSS pixels of the canvas; the game takes the
// drawable's pixels, as it does for the mouse.
void ToCanvasPixels(const EmscriptenTouchPoint& t, float* x, float* y) {
    double cssWidth = 0, cssHeight = 0;
    int width = 0, height = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    glfw2::glfwGetWindowSize(&width, &height);
    *x = static_cast<float>(cssWidth > 0 ? t.targetX * width / cssWidth : t.targetX);
    *y = static_cast<float>(cssHeight > 0 ? t.targetY * height / cssHeight : t.targetY);
}

// Each changed touch becomes a touch event of its finger. Returning true
// keeps the browser from scrolling, zooming and making mouse events of it.
EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void*) {
    host->Wake();
    if (type == EMSCRIPTEN_EVENT_TOUCHEND) ResumeAudio();
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& t = e->touches[i];
        if (!t.isChanged) continue;
        float x, y;
        ToCanvasPixels(t, &x, &y);
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
            int finger = fingers.Press(t.identifier);
            if (finger >= 0) host->TouchEvent(kr_event::TouchDown, finger, x, y);
        } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
            int finger = fingers.Find(t.identifier);
            if (finger >= 0) host->TouchEvent(kr_event::TouchMove, finger, x, y);
        } else {
            int finger = fingers.Release(t.identifier);
            if (finger >= 0) host->TouchEvent(kr_event::TouchUp, finger, x, y);
        }
    }
    return true;
}

}  // namespace

// The embedding page's pause (1) and resume (0), through window.vornhelm.
extern "C" EMSCRIPTEN_KEEPALIVE void vornhelm_page_pause(int paused) {
    if (host) host->PausedByPage(paused != 0);
}

void KrListenToPage(KrWebGame* game) {
    host = game;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, true, OnKey);
    emscripten_set_keyup_callback(window, nullptr, true, OnKey);
    emscripten_set_mousedown_callback(kCanvas, nullptr, true, OnMouse);
    emscripten_set_mouseup_callback(kCanvas, nullptr, true, OnMouse);
    emscripten_set_mousemove_callback(kCanvas, nullptr, true, OnMouse);
    emscripten_set_visibilitychange_callback(nullptr, true, OnVisibility);
    emscripten_set_focus_callback(window, nullptr, true, OnFocus);
    emscripten_set_blur_callback(window, nullptr, true, OnFocus);
    emscripten_set_resize_callback(window, nullptr, true, OnResize);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, true, OnFullscreen);
    emscripten_set_gamepadconnected_callback(nullptr, true, OnGamepad);
    emscripten_set_touchstart_callback(kCanvas, nullptr, true, OnTouch);
    emscripten_set_touchmove_callback(kCanvas, nullptr, true, OnTouch);
    emscripten_set_touchend_callback(kCanvas, nullptr, true, OnTouch);
    emscripten_set_touchcancel_callback(kCanvas, nullptr, true, OnTouch);
}
