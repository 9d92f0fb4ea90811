// The game host, as the layers above it see it: the host object and its
// delegate (host/game.h), the event numbers and key codes (host/events.h),
// the desktop host with its window and main loop (host/desktop/glfw_game.h)
// and the few operating-system calls (host/platform.h).
//
// Inside host/: glfw2/ is the classic window interface on GLFW 3, desktop/
// runs the game in a window, replay/ records and replays sessions, decode/
// reads images and sounds.
#pragma once

#include "host/events.h"
#include "host/game.h"
#include "host/desktop/glfw_game.h"
#include "host/platform.h"
