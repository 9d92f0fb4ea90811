// SPDX-License-Identifier: Zlib
// The desktop's joysticks, from GLFW 3. A device that GLFW 3 recognises as a
// gamepad is presented in the game's layout (host/input/pad_layout.h); any
// other device is passed through in its own order, stick y upward.
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "host/desktop/glfw_game.h"
#include "host/input/pad_layout.h"

namespace {

namespace g3 = kr_pad::gamepad3;
static_assert(g3::kA == GLFW_GAMEPAD_BUTTON_A && g3::kB == GLFW_GAMEPAD_BUTTON_B && g3::kX == GLFW_GAMEPAD_BUTTON_X &&
              g3::kY == GLFW_GAMEPAD_BUTTON_Y && g3::kLeftBumper == GLFW_GAMEPAD_BUTTON_LEFT_BUMPER &&
              g3::kRightBumper == GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER && g3::kBack == GLFW_GAMEPAD_BUTTON_BACK &&
              g3::kStart == GLFW_GAMEPAD_BUTTON_START && g3::kGuide == GLFW_GAMEPAD_BUTTON_GUIDE &&
              g3::kLeftThumb == GLFW_GAMEPAD_BUTTON_LEFT_THUMB && g3::kRightThumb == GLFW_GAMEPAD_BUTTON_RIGHT_THUMB &&
              g3::kDpadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP && g3::kDpadRight == GLFW_GAMEPAD_BUTTON_DPAD_RIGHT &&
              g3::kDpadDown == GLFW_GAMEPAD_BUTTON_DPAD_DOWN && g3::kDpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
              "the gamepad's buttons by GLFW's numbers");
static_assert(g3::kLeftX == GLFW_GAMEPAD_AXIS_LEFT_X && g3::kLeftY == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              g3::kRightX == GLFW_GAMEPAD_AXIS_RIGHT_X && g3::kRightY == GLFW_GAMEPAD_AXIS_RIGHT_Y &&
              g3::kLeftTrigger == GLFW_GAMEPAD_AXIS_LEFT_TRIGGER && g3::kRightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER,
              "the gamepad's axes by GLFW's numbers");

struct Reading {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
};

bool validPort(int joy) { return joy >= 0 && joy <= GLFW_JOYSTICK_LAST; }

bool readGamepad(int joy, Reading* r) {
    GLFWgamepadstate state;
    if (!::glfwJoystickIsGamepad(joy) || !::glfwGetGamepadState(joy, &state)) return false;
    r->axes.resize(kr_pad::kPadAxes);
    r->buttons.resize(kr_pad::kPadButtons);
    kr_pad::GamepadToClassic(state.buttons, state.axes, r->buttons.data(), r->axes.data());
    return true;
}

void readRaw(int joy, Reading* r) {
    int axisCount = 0, buttonCount = 0;
    const float* axes = ::glfwGetJoystickAxes(joy, &axisCount);
    const unsigned char* buttons = ::glfwGetJoystickButtons(joy, &buttonCount);
    r->axes.resize(axes ? axisCount : 0);
    if (axes) kr_pad::RawAxesToClassic(axes, axisCount, r->axes.data());
    r->buttons.assign(buttons, buttons ? buttons + buttonCount : buttons);
}

// False when no joystick is connected at the port.
bool readJoystick(int joy, Reading* r) {
    if (!validPort(joy) || !::glfwJoystickPresent(joy)) return false;
    if (!readGamepad(joy, r)) readRaw(joy, r);
    return true;
}

}  // namespace

// False when no joystick is connected at the port.
bool KrGlfwGame::ReadPad(int port, KrPadReading* pad) {
    Reading r;
    if (!readJoystick(port, &r)) return false;
    pad->axes = std::move(r.axes);
    pad->buttons = std::move(r.buttons);
    return true;
}
