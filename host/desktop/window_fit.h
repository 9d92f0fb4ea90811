// The window's drawable as it really is, and a request for another size:
// what replays and screenshots need beside the size the game is shown
// (host/glfw2/hooks.h).
#pragma once

// The drawable size of the open window in pixels; 0 x 0 without a window.
void KrFramebufferSize(int* width, int* height);

// Asks the window system to make the window's drawable width x height. The
// window system may take its time or refuse; nothing waits for it.
void KrRequestFramebufferSize(int width, int height);
