// Joysticks in the classic interface. A device that GLFW 3 recognises as a
// gamepad is presented in the game's layout (host/glfw2/gamepad_layout.h); any
// other device is passed through in its own order, stick y upward.
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include <algorithm>
#include <vector>

#include "host/glfw2/gamepad_layout.h"

namespace {

struct Reading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

bool validPort(int joy) { return joy >= 0 && joy <= classic::JoystickLast; }

bool readGamepad(int joy, Reading* r) {
    GLFWgamepadstate state;
    if (!::glfwJoystickIsGamepad(joy) || !::glfwGetGamepadState(joy, &state)) return false;
    r->axes.resize(glfw2::kPadAxes);
    r->buttons.resize(glfw2::kPadButtons);
    glfw2::GamepadToClassic(state.buttons, state.axes, r->buttons.data(), r->axes.data());
    return true;
}

void readRaw(int joy, Reading* r) {
    int axisCount = 0, buttonCount = 0;
    const float* axes = ::glfwGetJoystickAxes(joy, &axisCount);
    const unsigned char* buttons = ::glfwGetJoystickButtons(joy, &buttonCount);
    r->axes.resize(axes ? axisCount : 0);
    if (axes) glfw2::RawAxesToClassic(axes, axisCount, r->axes.data());
    r->buttons.assign(buttons, buttons ? buttons + buttonCount : buttons);
}

// False when no joystick is connected at the port.
bool readJoystick(int joy, Reading* r) {
    if (!validPort(joy) || !::glfwJoystickPresent(joy)) return false;
    if (!readGamepad(joy, r)) readRaw(joy, r);
    return true;
}

}  // namespace

namespace glfw2 {

int glfwGetJoystickParam(int joy, int param) {
    Reading r;
    if (!readJoystick(joy, &r)) return 0;
    if (param == classic::Present) return 1;
    if (param == classic::Axes) return static_cast<int>(r.axes.size());
    if (param == classic::Buttons) return static_cast<int>(r.buttons.size());
    return 0;
}

int glfwGetJoystickPos(int joy, float* pos, int numaxes) {
    Reading r;
    if (!pos || !readJoystick(joy, &r)) return 0;
    int n = std::min(numaxes, static_cast<int>(r.axes.size()));
    std::copy_n(r.axes.begin(), std::max(n, 0), pos);
    return std::max(n, 0);
}

int glfwGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
    Reading r;
    if (!buttons || !readJoystick(joy, &r)) return 0;
    int n = std::min(numbuttons, static_cast<int>(r.buttons.size()));
    std::copy_n(r.buttons.begin(), std::max(n, 0), buttons);
    return std::max(n, 0);
}

}  // namespace glfw2
