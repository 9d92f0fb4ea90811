// Placeholders for the pause panel, game over and score filing until they
// land.
#include "game/game.h"
int c_MyApp::p_LoadMenu() { return 0; }
int c_MyApp::p_PauseMenu() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
String c_MyApp::p_MyNth() { return String(); }
