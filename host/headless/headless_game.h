// SPDX-License-Identifier: Zlib
// The headless host: a host with nothing to show, for fast replays. It opens
// no window and has no OpenGL context, so the graphics device, told so by
// the host (GraphicsContext() stays 0), makes no OpenGL call; its clock is
// the process's own; files are read from the working folder.
#pragma once

#include "host/game.h"

class KrHeadlessGame : public KrGame {
public:
    KrHeadlessGame();

    String PathToFilePath(String path) override;
    double Now() override;
    void Sleep(double seconds) override;
};
