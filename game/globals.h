// SPDX-License-Identifier: Zlib
// The game module's configuration globals and the credit lines.
#pragma once

#include "runtime/runtime.h"

extern int kr_Vex_DebugMode;
extern int kr_Vex_HasMusic;
extern int kr_Vex_HasMusicStream;
extern int kr_Vex_OnScreenControls;
extern int kr_Vex_iCadeControls;
extern int kr_Vex_AccelerometerControls;
extern int kr_Vex_isOuya;
extern float kr_Vex_rawscrw;
extern float kr_Vex_rawscrh;
extern float kr_Vex_jscrw;
extern float kr_Vex_jscrh;
extern float kr_Vex_overscan;
extern Array<String> kr_Vex_CreditText;

// The 49 credit lines: 48 shown, then the end marker.
Array<String> kr_Vex_CreditLines();
