// SPDX-License-Identifier: Zlib
// The pointer and the ten touches in virtual pixels, read once per update.
#include <cmath>

#include "game/game.h"
#include "host/events.h"
#include "game/float_to_int.h"

namespace {

constexpr int kTouches = 10;
constexpr int kTouchUp = -3717;  // position of a touch that is up

// Positions stay within this many virtual pixels of the origin, so that
// sums and differences of two positions never overflow an Int.
constexpr float kPositionLimit = 16777216.0f;

bool Usable(float scale) { return scale != 0 && std::isfinite(scale); }

// Converts one device coordinate into virtual pixels; a coordinate that is
// not a number leaves `out` at its previous value.
void ToVirtual(float device, float offset, float scale, int& out) {
    float v = (device - offset) / scale;
    if (std::isnan(v)) return;
    v = std::fmax(-kPositionLimit, std::fmin(kPositionLimit, v));
    out = kr_Vex_ToInt(v);
}

}  // namespace

int c_MyApp::p_ReadPointer() {
    float ox = kr_Vex_overscan;
    int devW = kr_graphics_DeviceWidth();
    float oy = devW > 0 ? ox * static_cast<float>(kr_graphics_DeviceHeight()) / static_cast<float>(devW) : 0;

    m_MouseOldX = m_MouseX;
    m_MouseOldY = m_MouseY;
    // Until the first render has fitted the screen both scales are 0:
    // positions keep their previous values.
    bool fitted = Usable(m_ScaleX) && Usable(m_ScaleY);
    if (fitted) {
        ToVirtual(kr_input_MouseX(), ox, m_ScaleX, m_MouseX);
        ToVirtual(kr_input_MouseY(), oy, m_ScaleY, m_MouseY);
    }

    int down = kr_input_KeyDown(kr_key::MouseLeft);
    if (m_MouseWasDown == 0 && down) {
        // A fresh press has no movement.
        m_MouseOldX = m_MouseX;
        m_MouseOldY = m_MouseY;
    }
    m_MouseDown = down;
    m_MouseHit = kr_input_KeyHit(kr_key::MouseLeft);

    for (int i = 0; i < kTouches; ++i) {
        if (!kr_input_KeyDown(kr_key::TouchFirst + i)) {
            m_TouchDown[i] = 0;
            m_TouchX[i] = kTouchUp;
            m_TouchY[i] = kTouchUp;
            continue;
        }
        m_TouchDown[i] = 1;
        if (fitted) {
            ToVirtual(kr_input_TouchX(i), ox, m_ScaleX, m_TouchX[i]);
            ToVirtual(kr_input_TouchY(i), oy, m_ScaleY, m_TouchY[i]);
        }
        m_MouseDown = 1;
    }
    m_MouseWasDown = down;
    return 0;
}
