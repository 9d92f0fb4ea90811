// The page's program: the game on the browser host.
#include "host/web/web_game.h"

int main(int argc, char** argv) {
    return KrTandorGame::Main(argc, const_cast<const char**>(argv), new KrWebGame);
}
