// SPDX-License-Identifier: Zlib
// The game: its configuration globals, the names of its numbers, its
// application class and its music player.
#pragma once

#include "game/globals.h"
#include "game/names.h"
#include "game/shell/music_player.h"
#include "game/app.h"
