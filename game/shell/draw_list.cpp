// SPDX-License-Identifier: Zlib
// The draw list: the game's drawing methods append 15-float records during
// the update; each render fits the virtual screen to the device and replays
// the records through the graphics module. Also the full-screen switch.
#include "game/float_to_int.h"
#include "game/game.h"
#include "host/host.h"

namespace {

constexpr int kRecord = 15;
// A record is appended only while the list holds at most this many floats:
// 2499 records of a frame at most.
constexpr int kLastRecordStart = 37484;
constexpr float kRectangle = -3717;
constexpr float kOval = -3716;
constexpr int kAdditiveRecord = 3;  // element 13 of an additive record
constexpr int kBlendAlpha = 0, kBlendAdditive = 1;

}  // namespace

int c_MyApp::p_SetSize(float sx, float sy) {
    m_DrawSX = sx;
    m_DrawSY = sy == kOmitted ? sx : sy;
    return 0;
}

int c_MyApp::p_SetRot(float angle) {
    m_DrawRot = -angle;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_DrawR = r;
    m_DrawG = g;
    m_DrawB = b;
    if (a != kOmitted) m_DrawA = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_DrawA = a;
    return 0;
}

int c_MyApp::p_ResetDraw() {
    m_DrawSX = m_DrawSY = 1;
    m_DrawRot = 0;
    m_DrawR = m_DrawG = m_DrawB = 255;
    m_DrawA = 1;
    m_DrawBlend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    if (r != kOmitted) {
        m_ClsR = r;
        m_ClsG = g;
        m_ClsB = b;
        m_ClsA = a;
    }
    p_ResetDraw();
    m_DrawN = 0;
    return 0;
}

// Appends one record of the given kind with the current alpha, colour and
// blend; elements 8, 9 and 14 keep whatever an earlier record left there.
static int AppendRecord(c_MyApp* app, float kind, float x, float y, float w, float h, float frame) {
    if (app->m_DrawN < 0 || app->m_DrawN > kLastRecordStart) return 0;
    float* r = &app->m_Draw[app->m_DrawN];
    r[0] = kind;
    r[1] = x;
    r[2] = y;
    r[3] = app->m_DrawRot;
    r[4] = w;
    r[5] = h;
    r[6] = frame;
    r[7] = app->m_DrawA;
    r[10] = app->m_DrawR;
    r[11] = app->m_DrawG;
    r[12] = app->m_DrawB;
    r[13] = static_cast<float>(app->m_DrawBlend);
    app->m_DrawN += kRecord;
    return 0;
}

int c_MyApp::p_DrawImg(int slot, float x, float y, float frame) {
    return AppendRecord(this, static_cast<float>(slot), x, y, m_DrawSX, m_DrawSY, frame);
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    return AppendRecord(this, kRectangle, x, y, w, h, 0);
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    return AppendRecord(this, kOval, x, y, rx, ry, 0);
}

// The larger of the two scales serves both axes; the virtual screen keeps the
// design size along one axis and the device's proportion along the other.
// A device without area has nothing to fit: the previous fit stays.
int c_MyApp::p_FitScreen(int devW, int devH) {
    if (devW <= 0 || devH <= 0) return 0;
    float w = static_cast<float>(devW), h = static_cast<float>(devH);
    float sx = (w - 2 * kr_Vex_overscan) / kr_Vex_rawscrw;
    float sy = (h - 2 * kr_Vex_overscan) / kr_Vex_rawscrh;
    float k;
    if (sy > sx) {
        m_FitMode = 2;
        k = h / kr_Vex_rawscrh;
        sx = sy;
    } else {
        m_FitMode = 1;
        k = w / kr_Vex_rawscrw;
        sy = sx;
    }
    m_ScaleX = sx;
    m_ScaleY = sy;
    kr_Vex_jscrw = w / k;
    kr_Vex_jscrh = h / k;
    // Short screens switch to the larger design size for good.
    if (kr_Vex_rawscrw == 640 && kr_Vex_jscrh < 400) {
        kr_Vex_rawscrw = 800;
        kr_Vex_rawscrh = 600;
    }
    m_Landscape = kr_Vex_jscrh > kr_Vex_jscrw ? 0 : 1;
    return 0;
}

// Blend changes flush the device's batch, so the mode is set only when a
// record needs another one than the device has.
static void UseBlend(int mode) {
    if (kr_graphics_context->m_blend != mode) kr_graphics_SetBlend(mode);
}

int c_MyApp::p_ReplayDrawList(int devW, int devH) {
    if (m_DrawN <= 14 || devW <= 0 || devH <= 0) return 0;
    const float sx = m_ScaleX, sy = m_ScaleY;
    const float ox = kr_Vex_overscan;
    const float oy = kr_Vex_overscan * static_cast<float>(devH) / static_cast<float>(devW);
    const int used = m_DrawN < m_Draw.Length() ? m_DrawN : m_Draw.Length();
    for (int i = 0; i < used - 14; i += kRecord) {
        const float* r = &m_Draw[i];
        kr_graphics_SetAlpha(r[7]);
        kr_graphics_SetColor(r[10], r[11], r[12]);
        UseBlend(r[13] == kAdditiveRecord ? kBlendAdditive : kBlendAlpha);
        const float x = ox + r[1] * sx, y = oy + r[2] * sy;
        if (r[0] == kRectangle) {
            kr_graphics_DrawRect(x, y, r[4] * sx, r[5] * sy);
        } else if (r[0] == kOval) {
            kr_graphics_DrawEllipse(x, y, r[4] * sx, r[5] * sy);
        } else if (r[0] > -1 && r[0] < m_Img.Length()) {
            c_Image* img = m_Img[kr_Vex_ToInt(r[0])];
            if (img) {
                kr_graphics_DrawImage2(img, x, y, r[3], r[4] * sx * m_ImgScale,
                                       r[5] * sy * m_ImgScale, kr_Vex_ToInt(r[6]));
            }
        }
    }
    return 0;
}

// Reopens the window at the desktop's size or as a window of the start
// size, both with the desktop's colour depths. A host without a window only
// keeps the flag.
int c_MyApp::p_FullscreenFlip() {
    m_Fullscreen = 1 - m_Fullscreen;
    KrGame* host = kr_app__game;
    if (!host) return 0;
    KrGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
    if (m_Fullscreen == 1) {
        host->SetGlfwWindow(desktop->Width, desktop->Height, desktop->RedBits, desktop->GreenBits,
                            desktop->BlueBits, 0, 0, 0, true);
    } else {
        host->SetGlfwWindow(kKrStartWindowWidth, kKrStartWindowHeight, desktop->RedBits, desktop->GreenBits, desktop->BlueBits, 0, 0,
                            0, false);
    }
    return 0;
}
