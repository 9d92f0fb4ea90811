// SPDX-License-Identifier: Zlib
// Play: what follows every gameplay update: opening the pause panel by the
// back action or the pause button, and running it while paused.
#include "game/game.h"

namespace {

// Back on the keyboard or any joystick; on OUYA its button 4 as well.
bool PauseHeld(c_MyApp& app) {
    for (int d = 0; d <= 3; ++d) {
        if (app.p_PlayKey(kActionBack, 1, d) != 0) return true;
        if (kr_Vex_isOuya == 1 && app.p_PlayKey(kActionButton4, 1, d) != 0) return true;
    }
    return false;
}

void OpenPause(c_MyApp& app) {
    app.m_Paused = 1;
    app.m_PauseDir = 1;
    app.m_PauseSel = 0;
    app.p_PlaySFX(kSfxClick, 1, 0.5f);
}

}  // namespace

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_MenuIntro = -32;
    if (m_Paused == 0 && m_KeyLock == 0 && PauseHeld(*this)) {
        m_KeyLock = 1;
        OpenPause(*this);
    }
    if (p_Button97(16, 16, 0) != 0 && m_Paused == 0) {
        m_ClickLock = 1;
        OpenPause(*this);
    }
    if (m_Paused == 1) p_PauseMenu();
    return 0;
}
