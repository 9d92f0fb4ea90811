// The window's drawable as it really is, and a request for another size:
// what replays and screenshots need beside the size the game is shown
// (host/glfw2/hooks.h).
#pragma once

// The drawable size of the open window in pixels; 0 x 0 without a window.
void KrFramebufferSize(int* width, int* height);

// The window size, in screen coordinates, whose drawable is width x height
// pixels, for a window now windowWidth x windowHeight with a drawable of
// framebufferWidth x framebufferHeight: their ratio is kept (2 on a screen
// that scales windows by 2). Without a drawable size the ratio is taken as 1.
void KrWindowSizeForFramebuffer(int width, int height, int windowWidth, int windowHeight, int framebufferWidth,
                                int framebufferHeight, int* outWidth, int* outHeight);

// Asks the window system to make the window's drawable width x height. The
// window system may take its time or refuse; nothing waits for it.
void KrRequestFramebufferSize(int width, int height);
