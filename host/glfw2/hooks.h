// Two places where a host may stand between the game and its window, used by
// replays and screenshots: the device size the game is shown, and a look at
// every finished frame before it is presented. Both are off until set.
#pragma once

namespace glfw2::hooks {

// While width and height are both above 0, glfwGetWindowSize reports this
// size instead of the window's: a replay shows the game the device size it
// was recorded with, whatever size the window system gave its window.
// (0, 0) switches it off.
void SetReportedSize(int width, int height);
// Replaces *width and *height by the reported size when one is set; false
// when none is.
bool ApplyReportedSize(int* width, int* height);

// Runs inside glfwSwapBuffers with the finished frame still in the back
// buffer. When it returns false the frame is not presented.
using BeforeSwap = bool (*)();
void SetBeforeSwap(BeforeSwap hook);
BeforeSwap CurrentBeforeSwap();
// True when the frame is to be presented: no hook, or the hook says so.
bool RunBeforeSwap();

}  // namespace glfw2::hooks
