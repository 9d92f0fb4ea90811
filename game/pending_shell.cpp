// Placeholders for the shell, drawing, text, loader and music player until
// they land.
#include "game/game.h"
int c_MyApp::p_OnCreate() { return 0; }
int c_MyApp::p_OnSuspend() { return 0; }
int c_MyApp::p_OnResume() { return 0; }
int c_MyApp::p_OnUpdate() { return 0; }
int c_MyApp::p_OnRender() { return 0; }
int c_MyApp::p_iCade(int) { return 0; }
int c_MyApp::p_SetSize(float, float) { return 0; }
int c_MyApp::p_SetRot(float) { return 0; }
int c_MyApp::p_SetCol(float, float, float, float) { return 0; }
int c_MyApp::p_Alpha(float) { return 0; }
int c_MyApp::p_ResetDraw() { return 0; }
int c_MyApp::p_CLS2D(float, float, float, float) { return 0; }
int c_MyApp::p_DrawImg(int, float, float, float) { return 0; }
int c_MyApp::p_Rect(float, float, float, float) { return 0; }
int c_MyApp::p_Oval(float, float, float, float) { return 0; }
int c_MyApp::p_FullscreenFlip() { return 0; }
int c_MyApp::p_Text(float, float, String, float, float) { return 0; }
String c_MyApp::p_rstr(int, int, String) { return String(); }
String c_MyApp::p_rstr(int, String) { return String(); }
int c_MyApp::p_LoadImg(int, String, int, int, int, int) { return 0; }
int c_MyApp::p_LoadFont(int, String, int, int) { return 0; }
int c_MyApp::p_LoadSFX(int) { return 0; }
int c_MyApp::p_PlaySFX(int, float, float, float) { return 0; }
int c_MyApp::p_PlayTune(String, int) { return 0; }
int c_MyApp::p_StopTune() { return 0; }
int c_MyApp::p_Reload() { return 0; }
int c_MyApp::p_Loader() { return 0; }
int c_MyApp::p_WaitStart(int) { return 0; }
c_LxPlayer* c_LxPlayer::m_new() { return this; }
void c_LxPlayer::mark() {}
int c_LxPlayer::p_Lx_Init(int, int, int, int, int) { return 0; }
int c_LxPlayer::p_Lx_Stop(int) { return 0; }
int c_LxPlayer::p_Lx_Alive_U(int, int) { return 0; }
int c_LxPlayer::p_Lx_Alive_R() { return 0; }
