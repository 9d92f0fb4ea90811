// SPDX-License-Identifier: Zlib
// Play: the 17-segment rope under the helicopter and the persons on it, who
// climb one segment every third update and come aboard at the top.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

using namespace play;

namespace {

constexpr double kRadToDeg = 57.29577951308232;
// With more aboard than this the rope fades: nobody else fits.
constexpr float kFullCabin = 7;

}  // namespace

int c_MyApp::p_GameRope() {
    float alpha = m_Player[kAboard] > kFullCabin ? 0.3f : 1;
    for (int s = kRopeLast; s >= 1; --s) {
        // The link's angle from where it hung before it follows the one above.
        int dx = kr_Vex_ToInt(32 * (m_Player[RopeX(s)] - m_Player[RopeX(s - 1)]));
        int dy = kr_Vex_ToInt(32 * (m_Player[RopeY(s)] - m_Player[RopeY(s - 1)]));
        int angle = kr_Vex_ToInt(std::atan2(static_cast<double>(-dx), static_cast<double>(dy)) * kRadToDeg);
        m_Player[RopeX(s)] = m_Player[RopeX(s - 1)];
        m_Player[RopeY(s)] = m_Player[RopeY(s - 1)] + 6;
        float sx = m_Player[RopeX(s)] - m_CamX;
        float sy = m_Player[RopeY(s)] - m_CamY;
        p_SetSize(2);
        p_SetRot(static_cast<float>(angle));
        p_Alpha(alpha);
        p_DrawImg(kImgSmall, sx, sy, 8);
        if (m_Player[RopeSeat(s)] > 0) p_DrawImg(kImgSmall, sx, sy, static_cast<float>(kr_Vex_ToInt(4 + 1.9f * kr_random_Rnd())));
    }
    return 0;
}

int c_MyApp::p_GameBoard() {
    if (m_Frame % 3 == 1) {
        for (int s = 0; s < kRopeLast; ++s) {
            m_Player[RopeSeat(s)] = m_Player[RopeSeat(s + 1)];
            if (m_Player[RopeSeat(s)] > 0) {
                float rate = 0.6f + 0.8f * kr_random_Rnd();
                p_PlaySFX(kSfxClimb, rate);
                p_DrawImg(kImgSmall, m_Player[RopeX(s)] - m_CamX, m_Player[RopeY(s)] - m_CamY, 4);
            }
        }
        m_Player[RopeSeat(kRopeLast)] = 0;
    }
    float x = m_Player[kX], y = m_Player[kY];
    m_Player[RopeX(0)] = x + 4;
    m_Player[RopeY(0)] = y + 8;
    if (m_Player[RopeSeat(0)] >= 1) {
        m_Player[RopeSeat(0)] = 0;
        m_Player[kAboard] += 1;
        m_Score = AddSat(m_Score, 5);
        p_AddParticle(99, x, y - 48, 0, -0.25f, 5, 3, 0);
        p_AddParticle(3, x, y - 16, 0, -0.5f, 0, 0, 0);
        p_PlaySFX(kSfxPickup, 1);
    }
    return 0;
}
