// SPDX-License-Identifier: Zlib
// A browser gamepad in the game's layout (host/input/pad_layout.h).
#include "host/input/pad_layout.h"

namespace kr_pad {
namespace {

// For each button of the game's layout, the standard button it comes from.
constexpr int kStandardButton[kPadButtons] = {
    0, 1, 2, 3,       // face buttons
    4, 5,             // shoulders
    8, 9,             // back, start
    14, 12, 15, 13,   // d-pad left, up, right, down
    10, 11,           // stick presses
    16,               // guide
};

constexpr int kLeftTrigger = 6, kRightTrigger = 7;

double Axis(const double* axes, int count, int i) { return i < count ? axes[i] : 0.0; }

}  // namespace

void StandardPadToClassic(const double* axes, int axisCount, const double* pressure, const bool* pressed,
                          int buttonCount, unsigned char buttons[kPadButtons], float classicAxes[kPadAxes]) {
    for (int i = 0; i < kPadButtons; ++i) {
        const int from = kStandardButton[i];
        buttons[i] = from < buttonCount && pressed[from] ? 1 : 0;
    }
    // Triggers run from -1 at rest to 1 fully pressed, as GLFW gives them.
    auto trigger = [&](int b) { return static_cast<float>(b < buttonCount ? 2 * pressure[b] - 1 : -1); };
    classicAxes[0] = static_cast<float>(Axis(axes, axisCount, 0));
    classicAxes[1] = static_cast<float>(-Axis(axes, axisCount, 1));
    classicAxes[2] = trigger(kLeftTrigger);
    classicAxes[3] = static_cast<float>(Axis(axes, axisCount, 2));
    classicAxes[4] = static_cast<float>(-Axis(axes, axisCount, 3));
    classicAxes[5] = trigger(kRightTrigger);
}

void RawPadAxesToClassic(const double* axes, int count, float* classicAxes) {
    for (int i = 0; i < count; ++i) classicAxes[i] = static_cast<float>(i % 2 == 1 ? -axes[i] : axes[i]);
}

}  // namespace kr_pad
