// SPDX-License-Identifier: Zlib
// Tilt input: the accelerometer relative to a calibrated level, smoothed,
// with a calibration button and an indicator in the bottom-left corner.
#include <cmath>

#include "game/game.h"

namespace {

// A reading that is not a finite number counts as level.
float Reading(float v) { return std::isfinite(v) ? v : 0.0f; }

// Eases a quarter of the way toward the target; snaps once close.
float Smooth(float smooth, float target) {
    smooth += (target - smooth) * 0.25f;
    return std::fabs(target - smooth) < 0.005f ? target : smooth;
}

}  // namespace

int c_MyApp::p_ReadTilt() {
    if (kr_Vex_iCadeControls == 1) {
        m_AccelX = m_AccelY = m_AccelSmoothX = m_AccelSmoothY = 0;
        return 0;
    }
    if (kr_Vex_AccelerometerControls != 1) return 0;

    p_SetRot(0);
    p_SetCol(255, 255, 255);
    p_SetSize(1.5f);
    p_Alpha(0.8f);
    float ax = Reading(kr_input_AccelX()), ay = Reading(kr_input_AccelY());
    m_AccelX = ax - m_AccelZeroX;
    m_AccelY = ay - m_AccelZeroY;
    m_AccelSmoothX = Smooth(m_AccelSmoothX, m_AccelX);
    m_AccelSmoothY = Smooth(m_AccelSmoothY, m_AccelY);

    float cornerY = kr_Vex_jscrh - 24;
    if (p_Button97(24, cornerY, 7)) {
        m_AccelZeroX = ax;
        m_AccelZeroY = ay;
    }

    p_SetCol(100, 255, 100);
    p_Alpha(0.6f);
    p_SetSize(1);
    p_Oval(24 + 20 * m_AccelSmoothX, cornerY + 20 * m_AccelSmoothY, 4, 4);
    return 0;
}
