// SPDX-License-Identifier: Zlib
// The sample-based music player: a block of five audio channels above the
// sound effects' channels. Idle unless the music switch is on.
#pragma once

#include "runtime/runtime.h"

class c_LxPlayer : public Object {
public:
    int m_BaseChannel = 0;
    int m_ChunkStep = 0;
    int m_NextTick = 0;
    int m_State = 0;
    int m_ChanCount = 5;
    Array<int> m_Chan;
    Array<int> m_ChanOn;
    // The four further values of p_Lx_Init, kept for the sequencer.
    int m_InitA = 0, m_InitB = 0, m_InitC = 0, m_InitD = 0;

    c_LxPlayer() {}
    c_LxPlayer* m_new();
    void mark() override;

    int p_Lx_Init(int base, int a, int b, int c, int d);
    int p_Lx_Stop(int all);
    int p_Lx_Alive_U(int paused, int musicOn);
    int p_Lx_Alive_R();
};
