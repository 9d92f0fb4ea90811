// SPDX-License-Identifier: Zlib
// The title menu: slide-in, leaving, backdrop and logo, the studio logo that
// opens the credits, the keys and dragging. The score panel and the mode
// strip live in score_panel.cpp and menu_strip.cpp.
#include "game/game.h"
#include "host/events.h"
#include "game/screens/menu_parts.h"

bool MenuPanelRequested(const c_MyApp& app) {
    return app.m_ShowCredits != 0 || app.m_ShowBadges != 0 || app.m_ShowOptions != 0;
}

bool BackOnAnyDevice(c_MyApp& app) {
    for (int device = 0; device <= 3; ++device) {
        if (app.p_PlayKey(kActionBack, 1, device) != 0) return true;
    }
    return false;
}

// Back ends the program at once where the host lets it (a page does not);
// on OUYA it asks first on the quit screen, and the Escape key asks too.
static void MenuLeave(c_MyApp& app) {
    if (app.m_KeyLock != 0 || app.m_ClickLock != 0) return;
    bool back = app.p_PlayKeyAll(kActionBack, 1) != 0;
    if (kr_Vex_isOuya != 1) {
        if (back && app.p_CanQuit()) krError(String());
        return;
    }
    if (back || kr_input_KeyDown(kr_key::Escape) != 0) {
        app.m_Mode = kModeQuit;
        app.m_KeyLock = 1;
        app.m_ClickLock = 1;
    }
}

// The island picture, the game logo and the helicopter beside it, all
// sliding down into place with the intro counter.
static void MenuBackdrop(c_MyApp& app) {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    float intro = static_cast<float>(app.m_MenuIntro);
    app.p_SetSize(3);
    app.p_DrawImg(kImgMenu, w / 2, h / 2 + 16 * intro, 0);
    app.p_SetSize(2);
    float logoY = 0.2f * h + 12 * intro;
    app.p_DrawImg(kImgLogo, 0.4f * w, logoY, 0);
    app.m_MenuTick = (app.m_MenuTick + 2) % 60;
    app.p_DrawImg(kImgSprites, 0.4f * w - 116, logoY + 8, static_cast<float>((app.m_MenuTick / 6) % 10));
}

// The studio logo button; it and the right shoulder open the credits. In
// the same update both act and both set their lock, so neither press goes
// on to close the credits again. The logo keeps the score panel's alpha.
static void MenuStudioLogo(c_MyApp& app) {
    app.p_SetSize(0.35f);
    app.p_SetCol(255, 255, 255);
    int pressed = app.p_Button(kImgStudioLogo, kr_Vex_jscrw - 70, 32 + 4 * static_cast<float>(app.m_MenuIntro), 0);
    if (MenuPanelRequested(app)) return;
    if (pressed != 0 && app.m_ClickLock == 0) {
        app.m_ClickLock = 1;
        app.p_PlaySFX(kSfxSelect);
        app.m_ShowCredits = 1;
    }
    if (app.m_KeyLock == 0 && app.p_PlayKeyAll(kActionButton6, 1) != 0) {
        app.m_KeyLock = 1;
        app.p_PlaySFX(kSfxSelect);
        app.m_ShowCredits = 1;
    }
}

// Actions that activate the selected item besides button 1.
static constexpr int kMenuActivateActions[] = {kActionButton2, kActionButton3, kActionButton4, kActionButton7,
                                               kActionButton8};

static void MenuKeys(c_MyApp& app) {
    if (app.m_KeyLock != 0 || MenuPanelRequested(app)) return;
    bool previous = app.p_PlayKeyAll(kActionUp, 1) != 0 || app.p_PlayKeyAll(kActionLeft, 1) != 0;
    bool next = app.p_PlayKeyAll(kActionDown, 1) != 0 || app.p_PlayKeyAll(kActionRight, 1) != 0;
    int item = 0;
    if (previous && app.m_MenuSel > 1) {
        item = app.m_MenuSel - 1;
    } else if (next && app.m_MenuSel <= 3) {
        item = app.m_MenuSel + 1;
    }
    if (item != 0) {
        MenuSelect(app, item);
        app.m_KeyLock = 1;
        app.p_PlaySFX(kSfxSelect);
    }
    bool activate = app.p_PlayKeyAll(kActionButton1, 1) != 0;
    for (int action : kMenuActivateActions) activate = activate || app.p_PlayKeyAll(action, 1) != 0;
    if (activate) MenuActivate(app);
}

// Pointer movement along the strip flings it; a drag is not a tap, so the
// click lock takes the value 2 until the pointer is released.
static void MenuDrag(c_MyApp& app) {
    if (app.m_ShowOptions != 0 || app.m_ShowBadges != 0) return;
    if (app.m_MouseDown == 0) {
        app.m_MenuDrag = 0;
        return;
    }
    float moved = app.m_MenuH == 0
        ? static_cast<float>(app.m_MouseX) - static_cast<float>(app.m_MouseOldX)
        : static_cast<float>(app.m_MouseY) - static_cast<float>(app.m_MouseOldY);
    app.m_MenuDrag = 1.5f * moved;
    if (app.m_MenuDrag > 2 || app.m_MenuDrag < -2) {
        app.m_MenuSpeed += app.m_MenuDrag;
        app.m_ClickLock = 2;
    }
}

int c_MyApp::p_Menu() {
    p_CLS2D(0, 0, 80, 1);
    if (m_MenuIntro < 0) ++m_MenuIntro;
    MenuLeave(*this);
    MenuBackdrop(*this);
    MenuScorePanel(*this);
    MenuStudioLogo(*this);
    MenuStrip(*this);
    MenuKeys(*this);
    MenuDrag(*this);
    return 0;
}
