#include "host/glfw2/gamepad_layout.h"

#include <GLFW/glfw3.h>

namespace glfw2 {
namespace {

// For each button of the game's layout, the gamepad button it comes from.
constexpr int kButtonSource[kPadButtons] = {
    GLFW_GAMEPAD_BUTTON_A,          GLFW_GAMEPAD_BUTTON_B,
    GLFW_GAMEPAD_BUTTON_X,          GLFW_GAMEPAD_BUTTON_Y,
    GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
    GLFW_GAMEPAD_BUTTON_BACK,       GLFW_GAMEPAD_BUTTON_START,
    GLFW_GAMEPAD_BUTTON_DPAD_LEFT,  GLFW_GAMEPAD_BUTTON_DPAD_UP,
    GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
    GLFW_GAMEPAD_BUTTON_LEFT_THUMB, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB,
    GLFW_GAMEPAD_BUTTON_GUIDE,
};

// For each axis of the game's layout, its source and sign: GLFW 3 reports
// stick y downward positive.
struct AxisSource {
    int axis;
    float sign;
};
constexpr AxisSource kAxisSource[kPadAxes] = {
    {GLFW_GAMEPAD_AXIS_LEFT_X, 1},       {GLFW_GAMEPAD_AXIS_LEFT_Y, -1},
    {GLFW_GAMEPAD_AXIS_LEFT_TRIGGER, 1}, {GLFW_GAMEPAD_AXIS_RIGHT_X, 1},
    {GLFW_GAMEPAD_AXIS_RIGHT_Y, -1},     {GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER, 1},
};

}  // namespace

void GamepadToClassic(const unsigned char buttons3[kPadButtons], const float axes3[kPadAxes],
                      unsigned char buttons[kPadButtons], float axes[kPadAxes]) {
    for (int i = 0; i < kPadButtons; ++i) buttons[i] = buttons3[kButtonSource[i]];
    for (int i = 0; i < kPadAxes; ++i) axes[i] = kAxisSource[i].sign * axes3[kAxisSource[i].axis];
}

void RawAxesToClassic(const float* axes3, int count, float* axes) {
    for (int i = 0; i < count; ++i) axes[i] = (i % 2 == 1) ? -axes3[i] : axes3[i];
}

}  // namespace glfw2
