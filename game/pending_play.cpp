// Placeholders for play, its pools and the new game until they land.
#include "game/game.h"
int c_MyApp::p_LoadGame() { return 0; }
int c_MyApp::p_Game() { return 0; }
int c_MyApp::p_InGame() { return 0; }
int c_MyApp::p_ResetPlayers() { return 0; }
int c_MyApp::p_Rand(float, float) { return 0; }
int c_MyApp::p_ResetParticles(int) { return 0; }
int c_MyApp::p_FreeParticle() { return -1; }
int c_MyApp::p_AddParticle(int, float, float, float, float, int, int, int) { return 0; }
int c_MyApp::p_ThrowParticle(float, float, int, int, float, float) { return 0; }
int c_MyApp::p_Gimme(int, float, float) { return 0; }
int c_MyApp::p_Gimme2(int, float, float) { return 0; }
int c_MyApp::p_DoParticles() { return 0; }
int c_MyApp::p_Ink(int, int) { return 0; }
int c_MyApp::p_ResetStars(int) { return 0; }
int c_MyApp::p_DoStars(float, float) { return 0; }
int c_MyApp::p_ObjFree() { return -1; }
int c_MyApp::p_AddBull(int, float, float, int, float) { return 0; }
int c_MyApp::p_Replenish() { return 0; }
