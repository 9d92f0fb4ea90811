// SPDX-License-Identifier: Zlib
// The process entry every host shares: its window system, runtime start-up,
// then the host's loop (or a replay's) while an application exists.
#include <cstdio>
#include <cstdlib>

#include "host/game.h"

int KrGame::Main(int argc, const char** argv, KrGame* host, void (*run)()) {
    if (!host->StartWindowSystem()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    try {
        kr_std_main(argc, argv);
    } catch (ThrowableObject* ex) {
        // Die does not return: the window system ends first.
        host->EndWindowSystem();
        host->Die(ex);
    }
    if (host->Delegate()) {
        if (run) run();
        else host->Run();
    }
    host->EndWindowSystem();
    return 0;
}
