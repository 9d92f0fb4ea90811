// The game: its configuration globals, its application class and its music
// player.
#pragma once

#include "game/globals.h"
#include "game/shell/music_player.h"
#include "game/app.h"
