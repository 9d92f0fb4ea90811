// SPDX-License-Identifier: Zlib
// The pause panel over a running game: it slides down to mid-screen, offers
// resume, give up and the options gear by pointer, keys or pad, and slides
// back up before the game runs on.
#include <cmath>

#include "game/game.h"

namespace {

constexpr int kSlideStep = 24;
constexpr int kGiveUp = -1, kResume = 0, kOptions = 1;  // m_PauseSel

// Where the panel's buttons stand, by selection.
void ButtonAt(const c_MyApp& app, int sel, float& x, float& y) {
    float p = static_cast<float>(app.m_PauseY);
    float side = app.m_Landscape == 1 ? 140 : 96;
    float up = app.m_Landscape == 1 ? 64 : 96;
    x = kr_Vex_jscrw / 2 + sel * side;
    y = sel == kResume ? p : p - up;
}

void Resume(c_MyApp& app, float rate, float volume) {
    app.m_PauseDir = -1;
    app.p_PlaySFX(kSfxClick, rate, volume, 0);
}

// The game ends through the game-over overlay; the panel is gone at once.
void GiveUp(c_MyApp& app, float rate, float volume) {
    app.m_Paused = 0;
    app.m_PauseDir = -1;
    app.m_PauseY = -64;
    if (app.m_GameOverT <= 0 && kr_app__game) kr_app__game->GameOver(app.m_GameMode, app.m_Score);
    app.m_GameOverT = 1;
    app.p_PlaySFX(kSfxClick, rate, volume, 0);
}

void OpenOptions(c_MyApp& app, int sound, float rate) {
    app.m_ShowOptions = 1;
    app.p_PlaySFX(sound, rate);
}

void Select(c_MyApp& app, int sel, float rate) {
    app.m_KeyLock = 1;
    app.m_PauseSel = sel;
    app.p_PlaySFX(kSfxClick, rate);
}

// --- The panel and its slide ---

void DimAndSlide(c_MyApp& app) {
    float h = kr_Vex_jscrh;
    app.p_SetCol(0, 0, 0, std::fabs(static_cast<float>(app.m_PauseY)) / (0.8f * h));
    app.p_Rect(0, 0, kr_Vex_jscrw, h);
    if (app.m_PauseDir == 1 && app.m_PauseY < h / 2) app.m_PauseY += kSlideStep;
    if (app.m_PauseDir == -1) {
        if (app.m_PauseY >= -63) {
            app.m_PauseY -= kSlideStep;
            if (app.m_PauseY < -32) app.m_Paused = 0;
        } else {
            app.m_Paused = 0;
        }
    }
}

// A yellow strip, the orange panel and a blue strip, by orientation.
void Panel(c_MyApp& app) {
    struct Box { float r, g, b, a, dx, dy, w, h; };
    static const Box kLandscape[3] = {{255, 255, 10, 0.6f, -128, -64, 256, 8},
                                      {255, 150, 10, 0.7f, -140, -52, 280, 104},
                                      {10, 150, 255, 0.6f, -128, 56, 256, 8}};
    static const Box kPortrait[3] = {{255, 255, 10, 0.6f, -96, -92, 192, 8},
                                     {255, 150, 10, 0.7f, -128, -80, 256, 160},
                                     {10, 150, 255, 0.6f, -96, 84, 192, 8}};
    const Box* boxes = app.m_Landscape == 1 ? kLandscape : kPortrait;
    for (int i = 0; i < 3; ++i) {
        const Box& b = boxes[i];
        app.p_SetCol(b.r, b.g, b.b, b.a);
        app.p_Rect(kr_Vex_jscrw / 2 + b.dx, app.m_PauseY + b.dy, b.w, b.h);
    }
}

// The console's overscan slider above the panel: a click jumps between the
// extremes, the shoulder buttons step by 16.
void Overscan(c_MyApp& app) {
    float cx = kr_Vex_jscrw / 2;
    float p = static_cast<float>(app.m_PauseY);
    app.p_SetSize(2);
    app.p_SetCol(255, 255, 255);
    app.p_Text(cx, p - 150, String("L1 <      Overscan      > R1"), 1, 1);
    app.p_SetCol(0, 128, 255, 0.5f);
    app.p_Rect(cx - 128, p - 154, 256, 9);
    app.p_SetCol(255, 255, 0, 0.75f);
    app.p_Rect(cx - 132 + 2.67f * app.m_Opt[14], p - 158, 8, 16);
    if (app.m_ClickLock == 0 && app.p_MouseIn_Centered(cx, p - 158, 256, 16) != 0) {
        app.m_ClickLock = 1;
        app.p_PlaySFX(kSfxClick);
        app.m_Opt[14] = kr_Vex_overscan >= 32 ? 1 : 96;
    }
    if (app.m_KeyLock == 0 && app.p_PlayKeyAll(kActionButton5, 1) != 0) {
        app.m_Opt[14] -= 16;
        app.m_KeyLock = 1;
    }
    if (app.m_KeyLock == 0 && app.p_PlayKeyAll(kActionButton6, 1) != 0) {
        app.m_Opt[14] += 16;
        app.m_KeyLock = 1;
    }
    if (app.m_Opt[14] < 1) app.m_Opt[14] = 1;
    if (app.m_Opt[14] > 96) app.m_Opt[14] = 96;
    kr_Vex_overscan = static_cast<float>(app.m_Opt[14]);
}

// --- Buttons, keys and back ---

// Resume, give up and the options gear under the pointer.
void Buttons(c_MyApp& app) {
    float x, y;
    app.p_SetSize(2);
    app.p_SetCol(50, 50, 250);
    ButtonAt(app, kResume, x, y);
    if (app.p_Button97(x, y, 3) != 0 && app.m_ClickLock == 0) {
        app.m_ClickLock = 1;
        Resume(app, 1, 0.5f);
    }

    app.p_SetSize(2);
    app.p_SetCol(255, 50, 50);
    ButtonAt(app, kGiveUp, x, y);
    if (app.p_Button97(x, y, 1) != 0 && app.m_ClickLock == 0) {
        app.m_ClickLock = 1;
        GiveUp(app, 0.5f, 0.5f);
    }

    app.p_SetCol(255, 255, 255);
    app.p_SetSize(1);
    ButtonAt(app, kOptions, x, y);
    if (app.m_ShowOptions == 0) app.m_GearAngle += 0.2f;
    app.p_SetRot(-0.66f * app.m_GearAngle);
    app.p_DrawImg(kImgButtons, x, y, 8);
    app.p_SetRot(0.33f * app.m_GearAngle);
    app.p_DrawImg(kImgButtons, x, y, 9);
    app.p_SetRot(app.m_GearAngle);
    int gear = app.p_Button95(x, y, 10);
    app.p_SetRot(0);
    if (gear != 0 && app.m_ClickLock == 0) {
        app.m_ClickLock = 1;
        OpenOptions(app, kSfxSelect, 1);
    }
}

// The ring on the selected button; keys or pad move it and press its button.
void Keys(c_MyApp& app) {
    float x, y;
    ButtonAt(app, app.m_PauseSel, x, y);
    app.p_SetSize(2.5f);
    app.p_SetCol(255, 255, 100);
    app.p_DrawImg(kImgIcons, x, y, 6);
    if (app.m_KeyLock != 0) return;

    bool left = app.p_PlayKeyAll(kActionLeft, 1) != 0, right = app.p_PlayKeyAll(kActionRight, 1) != 0;
    bool up = app.p_PlayKeyAll(kActionUp, 1) != 0, down = app.p_PlayKeyAll(kActionDown, 1) != 0;
    int sel = app.m_PauseSel;
    if (app.p_PlayKeyAll(kActionButton1, 1) != 0) {
        app.m_KeyLock = 1;
        if (sel == kResume) Resume(app, 1, 1);
        if (sel == kGiveUp) GiveUp(app, 0.5f, 1);
        if (sel == kOptions) OpenOptions(app, kSfxClick, 1);
    } else if (sel == kResume && (left || up)) {
        Select(app, kGiveUp, 0.8f);
    } else if (sel == kResume && right) {
        Select(app, kOptions, 1.2f);
    } else if (sel == kGiveUp && (right || down)) {
        Select(app, kResume, 0.8f);
    } else if (sel == kOptions && (left || down)) {
        Select(app, kResume, 0.8f);
    }
}

// Back on any device closes the panel.
void Back(c_MyApp& app) {
    if (app.m_KeyLock != 0) return;
    for (int d = 0; d < 4; ++d) {
        if (app.p_PlayKey(kActionBack, 1, d) == 0) continue;
        app.m_KeyLock = 1;
        app.m_PauseDir = -1;
        app.p_PlaySFX(kSfxClick, 1, 0.5f, 0);
        return;
    }
}

}  // namespace

int c_MyApp::p_PauseMenu() {
    DimAndSlide(*this);
    Panel(*this);
    if (kr_Vex_isOuya == 1) Overscan(*this);
    Buttons(*this);
    Keys(*this);
    Back(*this);
    return 0;
}
