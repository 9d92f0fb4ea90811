// SPDX-License-Identifier: Zlib
// Construction and marking of the application object, and the program's
// entry into the game.
#include "game/game.h"

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    m_Mode = kModeMenu;
    gc_assign(m_Music, (new c_LxPlayer)->m_new());
    m_ClsA = 1;
    m_HdLevel = 1;
    m_ImgScale = 1;
    gc_assign(m_Img, Array<c_Image*>(100));
    gc_assign(m_ImgInfo, Array<int>(300));
    m_GameMode = 2;
    m_MenuIntro = -32;
    m_PauseDir = -1;
    m_PauseY = -64;
    gc_assign(m_BadgeQueue, Array<int>(15));
    gc_assign(m_BadgeQueue2, Array<int>(15));
    gc_assign(m_BadgeOwned, Array<bool>(256));
    gc_assign(m_Ctl, Array<int>(20));
    gc_assign(m_Opt, Array<int>(25));
    gc_assign(m_Hi, Array<int>(150));
    gc_assign(m_ChanMap, Array<int>(33));
    for (int i = 0; i <= 32; ++i) m_ChanMap[i] = i;
    gc_assign(m_Draw, Array<float>(37500));
    gc_assign(m_TouchDown, Array<int>(10));
    gc_assign(m_TouchX, Array<int>(10));
    gc_assign(m_TouchY, Array<int>(10));
    gc_assign(m_Snd, Array<c_Sound*>(100));
    gc_assign(m_Player, Array<float>(512));
    m_StarMax = 100;
    gc_assign(m_Star, Array<float>(5100));
    m_PartMax = 250;
    gc_assign(m_Part, Array<float>(5100));
    gc_assign(m_Obj, Array<float>(5120));
    gc_assign(m_Column, Array<int>(5000));
    return this;
}

void c_MyApp::mark() {
    c_App::mark();
    gc_mark_q(m_Music);
    gc_mark_q(m_Img);
    gc_mark_q(m_ImgInfo);
    gc_mark_q(m_BadgeQueue);
    gc_mark_q(m_BadgeQueue2);
    gc_mark_q(m_BadgeOwned);
    gc_mark_q(m_Ctl);
    gc_mark_q(m_Opt);
    gc_mark_q(m_Hi);
    gc_mark_q(m_ChanMap);
    gc_mark_q(m_Draw);
    gc_mark_q(m_TouchDown);
    gc_mark_q(m_TouchX);
    gc_mark_q(m_TouchY);
    gc_mark_q(m_Snd);
    gc_mark_q(m_Player);
    gc_mark_q(m_Star);
    gc_mark_q(m_Part);
    gc_mark_q(m_Obj);
    gc_mark_q(m_Column);
}

int krMain() {
    (new c_MyApp)->m_new();
    return 0;
}
