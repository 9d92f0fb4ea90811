#include "game/game.h"

// Until the game class arrives, the program starts the framework's bare
// application: a window that renders nothing and closes on request.
int krMain() {
    (new c_App)->m_new();
    return 0;
}
