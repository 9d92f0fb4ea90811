// SPDX-License-Identifier: Zlib
// The process entry of the desktop program: the window system (unless the
// host is one that never opens a window), the host object, runtime start-up,
// then the host's loop (or the replay's) while an application exists.
#include <cstdio>
#include <cstdlib>

#include "host/desktop/glfw_game.h"
#include "host/desktop/window_identity.h"
#include "host/glfw2/glfw2.h"

int KrTandorGame::Main(int argc, const char** argv, KrGame* host, void (*run)()) {
    KrGame* game = host ? host : new KrTandorGame();
    const bool windows = dynamic_cast<KrGlfwGame*>(game) != nullptr;
    if (windows && !glfw2::glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    if (windows) KrSetWindowIdentity();
    try {
        kr_std_main(argc, argv);
    } catch (ThrowableObject* ex) {
        if (windows) glfw2::glfwTerminate();
        game->Die(ex);
    }
    if (game->Delegate()) {
        if (run) run();
        else game->Run();
    }
    if (windows) glfw2::glfwTerminate();
    return 0;
}
