// SPDX-License-Identifier: Zlib
// Start-up values of every module global, framework and game, and the
// collector's roots.
#include "game/game.h"

int kr_Vex_DebugMode;
int kr_Vex_HasMusic;
int kr_Vex_HasMusicStream;
int kr_Vex_OnScreenControls;
int kr_Vex_iCadeControls;
int kr_Vex_AccelerometerControls;
int kr_Vex_isOuya;
float kr_Vex_rawscrw;
float kr_Vex_rawscrh;
float kr_Vex_jscrw;
float kr_Vex_jscrh;
float kr_Vex_overscan;
Array<String> kr_Vex_CreditText;


int krInit() {
    gc_assign(kr_app__app, static_cast<c_App*>(nullptr));
    kr_app__delegate = nullptr;
    kr_app__game = KrGame::_game;
    kr_graphics_device = nullptr;
    gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
    kr_audio_device = nullptr;
    kr_input_device = nullptr;
    kr_graphics_renderDevice = nullptr;
    kr_Vex_DebugMode = 0;
    kr_Vex_HasMusic = 0;
    kr_app__updateRate = 0;
    kr_Vex_HasMusicStream = 1;
    kr_asyncevent__current = nullptr;
    gc_assign(kr_asyncevent__sources, (new c_Stack)->m_new());
    c_Stack::m_NIL = nullptr;
    kr_random_Seed = 1234;
    gc_assign(kr_Vex_CreditText, kr_Vex_CreditLines());
    kr_Vex_OnScreenControls = 0;
    kr_Vex_iCadeControls = 0;
    kr_Vex_AccelerometerControls = 0;
    kr_Vex_isOuya = 0;
    kr_Vex_rawscrw = 640;
    kr_Vex_rawscrh = 480;
    kr_Vex_jscrw = 640;
    kr_Vex_jscrh = 480;
    kr_Vex_overscan = 0;
    return 0;
}

// Queues the global roots, in a fixed order, at the start of each cycle.
void gc_mark() {
    gc_mark_q(kr_app__app);
    gc_mark_q(kr_app__delegate);
    gc_mark_q(kr_graphics_device);
    gc_mark_q(kr_graphics_context);
    gc_mark_q(kr_audio_device);
    gc_mark_q(kr_input_device);
    gc_mark_q(kr_graphics_renderDevice);
    gc_mark_q(kr_asyncevent__current);
    gc_mark_q(kr_asyncevent__sources);
    gc_mark_q(c_Stack::m_NIL);
    gc_mark_q(kr_Vex_CreditText);
}
