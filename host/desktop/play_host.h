// SPDX-License-Identifier: Zlib
// The host of a game played at the desk: the desktop host, plus a
// screenshot of the next frame whenever F12 goes down.
#pragma once

#include "host/desktop/glfw_game.h"

class KrPlayHost : public KrTandorGame {
public:
    KrPlayHost() {}
    void KeyEvent(int event, int data) override;
    void RenderGame() override;

private:
    bool f12Down_ = false;  // key repeat must not take a screenshot per repeat
    bool shotWanted_ = false;
};
