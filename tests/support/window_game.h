// SPDX-License-Identifier: Zlib
// A game on a real window (Mesa under Xvfb) in a scratch folder, for tests
// that read the rendered pixels back: the desktop host with the clock and
// the state kept in plain fields, as the bare host keeps them.
#pragma once

#include <string>

#include "tests/support/desktop_test_host.h"
#include "tests/support/game_host.h"

class gxtkGraphics;

class WindowGame {
public:
    // Makes a scratch folder and works in it; false when either fails.
    bool EnterScratch();
    // Returns to the folder the test ran in and removes the scratch folder.
    void LeaveScratch();
    // Closes any window, opens one of w x h pixels, and starts the game on it
    // up to p_OnCreate.
    bool OpenGame(int w, int h);
    void CloseGame();
    // One render of the current draw list, left in the back buffer.
    void RenderFrame();

    DesktopTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;
    std::string dir;

private:
    std::string cwd_;
};
