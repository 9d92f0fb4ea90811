// SPDX-License-Identifier: Zlib
// Whether a key is down on the keyboard at this moment, asked of the X
// server itself rather than read from a window's event history: a window
// opened while a key is held never saw it go down.
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include "host/desktop/glfw_game.h"

int KrX11KeyDownNow(int key3) {
    Display* display = ::glfwGetX11Display();
    int keycode = ::glfwGetKeyScancode(key3);
    if (!display || keycode <= 0 || keycode > 255) return -1;
    char keys[32];
    XQueryKeymap(display, keys);
    return (keys[keycode / 8] >> (keycode % 8)) & 1;
}
