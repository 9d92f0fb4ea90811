// SPDX-License-Identifier: Zlib
// The on-screen pad: four direction buttons around a centre on the left and
// two fire buttons mirrored on the right. While the game is paused the pad
// can be dragged by its centre and resized by spreading two fingers.
#include <climits>
#include <cmath>
#include <cstdlib>

#include "game/game.h"
#include "game/float_to_int.h"

namespace {

struct DirectionButton {
    float dx, dy;  // offset from the pad centre, in units of 32 s
    int frame;
    int element;   // m_Ctl element set while pressed
};

constexpr DirectionButton kDirections[] = {
    {-1, 0, 4, kActionLeft},
    {0, -1, 1, kActionUp},
    {0, 1, 9, kActionDown},
    {1, 0, 6, kActionRight},
};

constexpr int kCentreFrame = 5;

// Clamps into lo..hi, the upper bound winning when the two cross.
long long ClampInt(long long v, long long lo, long long hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}

int Saturate(long long v) { return static_cast<int>(ClampInt(v, INT_MIN, INT_MAX)); }

// The last position on an axis the pad may take; none when the screen size
// is not a number.
int UpperBound(float screen) { return std::isnan(screen) ? INT_MAX : kr_Vex_ToInt(screen - 32); }

}  // namespace

int c_MyApp::p_OnScreenPad() {
    if (kr_Vex_OnScreenControls != 1 || m_Mode <= kModeStart || kr_Vex_iCadeControls == 1) return 0;

    m_Opt[10] = Saturate(ClampInt(m_Opt[10], 32, UpperBound(kr_Vex_jscrw)));
    m_Opt[11] = Saturate(ClampInt(m_Opt[11], 32, UpperBound(kr_Vex_jscrh)));
    m_Opt[12] = Saturate(ClampInt(m_Opt[12], 8, 25));
    m_PadX = m_Opt[10];
    m_PadY = kr_Vex_ToInt(kr_Vex_jscrh - static_cast<float>(m_Opt[11]));
    m_PadSize = static_cast<float>(m_Opt[12]) / 10;
    float s = m_PadSize;
    float px = static_cast<float>(m_PadX), py = static_cast<float>(m_PadY);

    p_SetRot(0);
    p_SetCol(255, 255, 255);
    p_Alpha(0.6f);
    p_SetSize(s);
    for (const DirectionButton& b : kDirections) {
        if (p_Button(kImgPad, px + 32 * s * b.dx, py + 32 * s * b.dy, b.frame) && m_Paused == 0) {
            m_Ctl[b.element] = 1;
        }
    }
    p_DrawImg(kImgPad, px, py, kCentreFrame);

    if (m_Paused != 0) {
        p_SetSize(3);
        bool secondUp = m_TouchDown[1] == 0;
        if (p_Button0(kImgPad, px, py, kCentreFrame) && secondUp) {
            m_Opt[10] = m_TouchX[0];
            m_Opt[11] = kr_Vex_ToInt(kr_Vex_jscrh - static_cast<float>(m_TouchY[0]));
        }
        if (secondUp) {
            m_PadDrag = 0;
            m_ObjSlot = 0;
        }
        if (m_TouchDown[0] != 0 && !secondUp) {
            // Each 16 pixels of spread between the two fingers is one tenth.
            long long spread = std::llabs(static_cast<long long>(m_TouchX[0]) - m_TouchX[1]);
            int step = static_cast<int>(-(spread / 16));
            if (m_PadDrag == 1) m_Opt[12] = Saturate(static_cast<long long>(m_Opt[12]) + m_ObjSlot - step);
            m_ObjSlot = step;
            m_PadDrag = 1;
        }
    }

    p_SetSize(1.5f * s);
    if (p_Button(kImgPad, kr_Vex_jscrw - (px - 24 * s), py - 24 * s, 0)) m_Ctl[kActionButton1] = 1;
    if (p_Button(kImgPad, kr_Vex_jscrw - (px + 24 * s), py + 24 * s, 0)) m_Ctl[kActionButton2] = 1;
    return 0;
}
