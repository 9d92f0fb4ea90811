// The game host: window, main loop, input translation, files, media decoding.
#pragma once

#include "host/game.h"
#include "host/glfw_game.h"
#include "host/platform.h"
