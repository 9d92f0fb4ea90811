// The joystick layout the game expects, built from what GLFW 3 reports.
// Pure functions over plain arrays, so they are usable (and testable)
// without a device.
#pragma once

namespace glfw2 {

constexpr int kPadButtons = 15;
constexpr int kPadAxes = 6;

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

}  // namespace glfw2
