// SPDX-License-Identifier: Zlib
// The game's window on the classic interface, shared by the hosts that have
// one (the desktop's GLFW window, and the page's canvas through the
// browser's GLFW): input translated into calls on the host, the held keys
// released, and the video modes as the application sees them.
#pragma once

#include "host/game.h"

namespace kr_window {

// Keyboard, mouse and the close button go to `host` as the program's
// events (the close button as a press and release of the close key; the
// window stays open and the application decides whether to end).
void ListenForGame(KrGame* host);

// Only F4 and the close button reach the window: each sets *leave.
void ListenForLeave(bool* leave);

// The application sees every key it holds released, since a new window will
// not report their release.
void ReleaseHeldKeys(KrGame* host);

Array<KrGlfwVideoMode*> VideoModes();
KrGlfwVideoMode* DesktopMode();

}  // namespace kr_window
