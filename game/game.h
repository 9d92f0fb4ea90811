// The game: its application class and its music player.
#pragma once

#include "framework/framework.h"
