// SPDX-License-Identifier: Zlib
// The desktop host with the clock and the state kept in plain fields, as
// the bare host keeps them: for tests and benchmarks that need what only a
// real host has (a window and its OpenGL context, the data folder's paths)
// and still drive the game update by update.
#pragma once

#include "host/desktop/glfw_game.h"

class DesktopTestHost : public KrGlfwGame {
public:
    int clock = 0;
    String state;

    // A window of w x h pixels that keeps its size.
    void OpenFixedWindow(int w, int h) {
        KrWindowRequest request;
        request.width = w, request.height = h, request.resizable = false;
        OpenWindow(request);
    }

protected:
    int ReadClock() override { return clock; }
    int WriteState(String s) override { return state = s, 0; }
    String ReadState() override { return state; }
};
