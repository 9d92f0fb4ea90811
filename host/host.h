// The game host: window, main loop, input translation, files, media decoding.
#pragma once

#include "host/game.h"
