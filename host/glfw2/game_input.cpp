// SPDX-License-Identifier: Zlib
// Input from the classic window interface to the host's dispatchers, in the
// program's key codes and events, and the video modes as collected objects.
#include "host/glfw2/game_input.h"

#include <vector>

#include "host/events.h"
#include "host/glfw2/glfw2.h"
#include "host/input/key_table.h"

using namespace glfw2;

namespace {

KrGame* listener = nullptr;
bool* leaveFlag = nullptr;

void OnKey(int glfwKey, int action) {
    int key = kr_input::TransKey(glfwKey);
    if (!key || !listener) return;
    if (action == GLFW_RELEASE) {
        listener->KeyEvent(kr_event::KeyUp, key);
    } else if (action == GLFW_PRESS) {
        listener->KeyEvent(kr_event::KeyDown, key);
        int chr = kr_input::KeyToChar(key);
        if (chr) listener->KeyEvent(kr_event::KeyChar, chr);
    }
}

void OnChar(int chr, int action) {
    if (action == GLFW_PRESS && listener) listener->KeyEvent(kr_event::KeyChar, chr);
}

void OnMouseButton(int button, int action) {
    if (button < GLFW_MOUSE_BUTTON_LEFT || button > GLFW_MOUSE_BUTTON_MIDDLE || !listener) return;
    int x = 0, y = 0;
    glfwGetMousePos(&x, &y);
    if (action == GLFW_RELEASE)
        listener->MouseEvent(kr_event::MouseUp, button, static_cast<float>(x), static_cast<float>(y));
    else if (action == GLFW_PRESS)
        listener->MouseEvent(kr_event::MouseDown, button, static_cast<float>(x), static_cast<float>(y));
}

void OnMousePos(int x, int y) {
    if (listener) listener->MouseEvent(kr_event::MouseMove, -1, static_cast<float>(x), static_cast<float>(y));
}

int OnWindowClose() {
    if (listener) {
        listener->KeyEvent(kr_event::KeyDown, kr_key::Close);
        listener->KeyEvent(kr_event::KeyUp, kr_key::Close);
    }
    return 0;
}

void OnLeaveKey(int key, int action) {
    if (key == GLFW_KEY_F4 && action == GLFW_PRESS && leaveFlag) *leaveFlag = true;
}

int OnLeaveClose() {
    if (leaveFlag) *leaveFlag = true;
    return 0;
}

constexpr int kMaxModes = 1024;

KrGlfwVideoMode* newMode(const GLFWvidmode& m) {
    auto* mode = new KrGlfwVideoMode;
    mode->Width = m.Width;
    mode->Height = m.Height;
    mode->RedBits = m.RedBits;
    mode->GreenBits = m.GreenBits;
    mode->BlueBits = m.BlueBits;
    return mode;
}

}  // namespace

namespace kr_window {

// Events are delivered only by the loop's own poll.
void ListenForGame(KrGame* host) {
    listener = host;
    glfwEnable(GLFW_KEY_REPEAT);
    glfwDisable(GLFW_AUTO_POLL_EVENTS);
    glfwSetKeyCallback(OnKey);
    glfwSetCharCallback(OnChar);
    glfwSetMouseButtonCallback(OnMouseButton);
    glfwSetMousePosCallback(OnMousePos);
    glfwSetWindowCloseCallback(OnWindowClose);
}

void ListenForLeave(bool* leave) {
    leaveFlag = leave;
    glfwDisable(GLFW_AUTO_POLL_EVENTS);
    glfwSetKeyCallback(OnLeaveKey);
    glfwSetCharCallback(nullptr);
    glfwSetMouseButtonCallback(nullptr);
    glfwSetMousePosCallback(nullptr);
    glfwSetWindowCloseCallback(OnLeaveClose);
}

void ReleaseHeldKeys(KrGame* host) {
    for (int key = 0; key <= GLFW_KEY_LAST; ++key) {
        if (glfwGetKey(key) != GLFW_PRESS) continue;
        int code = kr_input::TransKey(key);
        if (code) host->KeyEvent(kr_event::KeyUp, code);
    }
}

Array<KrGlfwVideoMode*> VideoModes() {
    std::vector<GLFWvidmode> modes(kMaxModes);
    int count = glfwGetVideoModes(modes.data(), kMaxModes);
    Array<KrGlfwVideoMode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], newMode(modes[i]));
    return result;
}

KrGlfwVideoMode* DesktopMode() {
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    return newMode(desktop);
}

}  // namespace kr_window
