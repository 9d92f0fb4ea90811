// SPDX-License-Identifier: Zlib
// The layouts of the pads the hosts read, turned into the game's. Neither
// depends on a library: the desktop's gamepad state is given by index
// (host/input/pad_layout.h), which host/desktop/pads.cpp holds against GLFW.
#include "host/input/pad_layout.h"

#include <utility>

namespace kr_pad {
namespace {

using namespace gamepad3;

// For each button of the game's layout, the gamepad button it comes from.
constexpr int kButtonSource[kPadButtons] = {
    kA,         kB,          kX,         kY,
    kLeftBumper, kRightBumper, kBack,     kStart,
    kDpadLeft,  kDpadUp,     kDpadRight, kDpadDown,
    kLeftThumb, kRightThumb, kGuide,
};

// For each axis of the game's layout, its source and sign: GLFW 3 reports
// stick y downward positive.
struct AxisSource {
    int axis;
    float sign;
};
constexpr AxisSource kAxisSource[kPadAxes] = {
    {kLeftX, 1},       {kLeftY, -1},  {kLeftTrigger, 1},
    {kRightX, 1},      {kRightY, -1}, {kRightTrigger, 1},
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

void ArrangeAxes(int count, float* axes) {
    if (count == 4) {
        axes[4] = axes[2];
        axes[2] = 0;
    } else if (count == 5) {
        std::swap(axes[3], axes[4]);
    }
}

}  // namespace kr_pad
