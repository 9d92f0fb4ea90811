// A browser gamepad in the game's joystick layout (host/glfw2/gamepad_layout.h),
// the same layout the desktop gives a pad it recognises. Pure functions over
// plain arrays, so they are testable without a browser.
#pragma once

#include "host/glfw2/gamepad_layout.h"

namespace glfw2 {

// A pad with the Gamepad API's "standard" mapping: buttons 0..3 the face
// buttons bottom, right, left, top; 4, 5 the shoulders; 6, 7 the triggers
// (pressure 0 to 1); 8 back; 9 start; 10, 11 the stick presses; 12..15 the
// d-pad up, down, left, right; 16 guide. Axes: left x, left y, right x,
// right y, y downward positive. Missing buttons and axes count as at rest.
void StandardPadToClassic(const double* axes, int axisCount, const double* pressure, const bool* pressed,
                          int buttonCount, unsigned char buttons[kPadButtons], float classicAxes[kPadAxes]);

// A pad the browser has no mapping for: its axes in its own order, odd ones
// (the y of each stick pair) turned to upward positive, as on the desktop.
void RawPadAxesToClassic(const double* axes, int count, float* classicAxes);

}  // namespace glfw2
