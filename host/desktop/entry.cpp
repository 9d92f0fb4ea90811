// The process entry of the desktop host: window system (unless the host
// opens no window), host object, runtime start-up, then the main loop while
// an application exists.
#include <cstdio>
#include <cstdlib>

#include "host/glfw2/glfw2.h"
#include "host/desktop/glfw_game.h"

int KrTandorGame::Main(int argc, const char** argv, KrTandorGame* host) {
    const bool windows = !host || host->UsesWindowSystem();
    if (windows && !glfw2::glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    KrTandorGame* game = host ? host : new KrTandorGame();
    try {
        kr_std_main(argc, argv);
    } catch (ThrowableObject* ex) {
        if (windows) glfw2::glfwTerminate();
        game->Die(ex);
    }
    if (game->Delegate()) game->Run();
    if (windows) glfw2::glfwTerminate();
    return 0;
}
