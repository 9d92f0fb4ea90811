#include "host/glfw_game.h"

int main(int argc, char** argv) {
    KrTandorGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
