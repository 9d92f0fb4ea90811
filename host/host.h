// SPDX-License-Identifier: Zlib
// The game host, as the layers above it see it: the host object and its
// delegate (host/game.h), and the event numbers and key codes
// (host/events.h). The layers above ask a host only through KrGame, never
// a particular host.
//
// Inside host/: desktop/, web/ and headless/ are the hosts; input/ (key
// translation, the joystick layout), glfw2/ (the classic window interface
// on GLFW 3, for the hosts with a GLFW window), decode/ (images and sounds)
// and replay/ (recording and replaying sessions) are what they share.
#pragma once

#include "host/events.h"
#include "host/game.h"
