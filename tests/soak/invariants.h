// SPDX-License-Identifier: Zlib
// What must hold after every update of the game, whatever the input: pools
// within their bounds and holding valid kinds, a score that never falls and a
// health that never rises within one game, high-score tables in order, and a
// draw list of well-formed records.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"

class InvariantChecker {
public:
    // Checks `app` after an update; a new game (the update ran the new-game
    // step) restarts the score and health history. Returns the violations
    // found, each a short description; empty when all is well.
    std::vector<std::string> Check(const c_MyApp& app, bool newGame);

private:
    int lastScore_ = 0;
    int lastHealth_ = 0;
    bool inGame_ = false;
};
