// SPDX-License-Identifier: Zlib
// The joystick layout the game expects, the same for every host: what GLFW 3
// reports on the desktop and what the browser's Gamepad API reports, each
// turned into it. Pure functions over plain arrays, so they are usable (and
// testable) without a device.
#pragma once

namespace kr_pad {

constexpr int kPadButtons = 15;
constexpr int kPadAxes = 6;

// GLFW 3's standard gamepad state, by index: its buttons and axes.
namespace gamepad3 {
constexpr int kA = 0, kB = 1, kX = 2, kY = 3, kLeftBumper = 4, kRightBumper = 5, kBack = 6, kStart = 7,
              kGuide = 8, kLeftThumb = 9, kRightThumb = 10, kDpadUp = 11, kDpadRight = 12, kDpadDown = 13,
              kDpadLeft = 14;
constexpr int kLeftX = 0, kLeftY = 1, kRightX = 2, kRightY = 3, kLeftTrigger = 4, kRightTrigger = 5;
}  // namespace gamepad3

// A recognised gamepad (GLFW 3's standard gamepad state: 15 buttons, 6 axes)
// in the game's layout. Buttons: 0..3 the face buttons bottom, right, left,
// top; 4, 5 the shoulders; 6 back; 7 start; 8..11 the d-pad left, up, right,
// down; 12, 13 the stick presses; 14 guide. Axes: left x, left y, left
// trigger, right x, right y, right trigger, sticks with y positive upward.
void GamepadToClassic(const unsigned char buttons3[kPadButtons], const float axes3[kPadAxes],
                      unsigned char buttons[kPadButtons], float axes[kPadAxes]);

// Axes of a device GLFW 3 does not know, in its own order. By the usual
// convention odd axes are the y of a stick pair, reported downward positive;
// they are negated so that up is positive.
void RawAxesToClassic(const float* axes3, int count, float* axes);

// A browser pad with the Gamepad API's "standard" mapping: buttons 0..3 the
// face buttons bottom, right, left, top; 4, 5 the shoulders; 6, 7 the
// triggers (pressure 0 to 1); 8 back; 9 start; 10, 11 the stick presses;
// 12..15 the d-pad up, down, left, right; 16 guide. Axes: left x, left y,
// right x, right y, y downward positive. Missing buttons and axes count as
// at rest.
void StandardPadToClassic(const double* axes, int axisCount, const double* pressure, const bool* pressed,
                          int buttonCount, unsigned char buttons[kPadButtons], float classicAxes[kPadAxes]);

// A browser pad without a mapping: its axes in its own order, odd ones (the
// y of each stick pair) turned to upward positive, as on the desktop.
void RawPadAxesToClassic(const double* axes, int count, float* classicAxes);

// The stick axes in the order the game reads them: with exactly 4 axes the
// third moves to the fifth place, with exactly 5 the fourth and fifth swap.
// `axes` holds 6 values.
void ArrangeAxes(int count, float* axes);

}  // namespace kr_pad
