// Placeholders for controls and persistence until they land.
#include "game/game.h"
int c_MyApp::p_PlayKey(int, int, int) { return 0; }
int c_MyApp::p_PlayKeyAll(int, int) { return 0; }
float c_MyApp::p_StickX(int, int) { return 0; }
float c_MyApp::p_StickY(int, int) { return 0; }
int c_MyApp::p_Button(int, float, float, int) { return 0; }
int c_MyApp::p_Button95(float, float, int) { return 0; }
int c_MyApp::p_Button97(float, float, int) { return 0; }
int c_MyApp::p_Button0(int, float, float, int) { return 0; }
int c_MyApp::p_Touch(float, float, float, float) { return 0; }
int c_MyApp::p_Touch24(float, float) { return 0; }
int c_MyApp::p_MouseIn_Centered(float, float, float, float) { return 0; }
int c_MyApp::p_AnalogueControl() { return 0; }
int c_MyApp::p_ReadPointer() { return 0; }
int c_MyApp::p_ReadICade() { return 0; }
int c_MyApp::p_OnScreenPad() { return 0; }
int c_MyApp::p_ReadTilt() { return 0; }
int c_MyApp::p_Save() { return 0; }
int c_MyApp::p_Load() { return 0; }
