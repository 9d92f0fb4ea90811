// SPDX-License-Identifier: Zlib
// Play: the terrain columns on screen with the beacon and the pad, landing
// and its payment, crashes into the ground, the parked aircraft, the waiting
// persons and their pick-up; and the sea.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

using namespace play;

namespace {

// Payment for landing with n aboard (index n, 8 or more pay the last).
constexpr int kPayment[9] = {0, 25, 50, 100, 200, 400, 800, 1500, 2500};
// Beacon rectangles over the pad, widest first.
constexpr float kBeaconWidths[4] = {40, 32, 24, 16};
// Red in the columns 35..38 from either end (index: columns from the end - 35).
constexpr float kShoreRed[4] = {120, 80, 40, 20};
constexpr int kSandColumns = 35;
// No more pick-ups with this many aboard.
constexpr float kCabinSeats = 8;
// More figures than this are never thrown at a landing.
constexpr int kMaxFigures = 64;

bool Near(float a, float b, float d) { return std::fabs(a - b) <= d; }

int DebrisKind() { return kr_Vex_ToInt(1 + 1.9f * kr_random_Rnd()); }

}  // namespace

int c_MyApp::p_GameTerrain() {
    float w = static_cast<float>(m_WorldW);
    int last = ClampInt(m_MapWidth, -1, 499);
    for (int i = 0; i <= last; ++i) {
        float sx = WorldMod(32.0f * static_cast<float>(i) - m_CamX, w);
        if (sx > w - 128) sx -= w;
        if (sx < -128) sx += w;
        if (sx < -64 || sx > kr_Vex_jscrw + 64) continue;
        p_GameColumn(i, sx);
    }
    return 0;
}

int c_MyApp::p_GameColumn(int i, float sx) {
    int h = m_Column[i * 10];
    float gy = -16.0f * static_cast<float>(h) - m_CamY;
    float bottom = kr_Vex_jscrh;
    int mid = m_MapWidth / 2;
    float hx = m_Player[kScreenX], hy = m_Player[kScreenY];
    p_SetRot(0);
    p_SetSize(1);
    if (i == mid) {
        p_SetCol(100, 255, 255, 0.2f);
        for (float bw : kBeaconWidths) p_Rect(sx + 16 - bw / 2, 0, bw, gy);
    }
    bool landed = false;
    if (i >= mid - 1 && i <= mid + 1) {
        p_SetCol(255, 255, 0, 1);
        p_Rect(sx + 4, gy - 4, 24, bottom - (gy - 4));
        landed = Near(hx, sx + 12, 26) && Near(hy, gy, 15);
        if (landed) p_GameLand(i, sx, h);
    }
    if (!landed && Near(hx, sx + 12, 26) && hy >= gy - 6 && m_Paused == 0) p_GameCrash();

    int fromEnd = i < m_MapWidth - i ? i : m_MapWidth - i;
    if (fromEnd < kSandColumns) {
        p_SetCol(180, 180, 0, 1);
    } else {
        int k = fromEnd - kSandColumns;
        p_SetCol(k < 4 ? kShoreRed[k] : 0, 180, 0, 1);
    }
    p_Rect(sx, gy, 32, bottom - gy);

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2);
    if (i == 0 && sx >= -256 && sx <= kr_Vex_jscrw + 256) p_DrawImg(kImgAircraft, sx, gy - 72, static_cast<float>((m_Tick / 8) % 12));
    if (m_Column[i * 10 + 1] == 1) p_GamePerson(i, sx, gy);
    return 0;
}

int c_MyApp::p_GameLand(int i, float sx, int h) {
    m_Player[kY] = m_Player[kTargetY] = -16.0f * static_cast<float>(h) - 15;
    // The pad's middle as the helicopter sees it: its flight does not wrap,
    // so the pad is taken on the lap of the world the helicopter is on.
    float w = static_cast<float>(m_WorldW);
    float padX = static_cast<float>(32 * (m_MapWidth / 2) + 13);
    if (w > 0) padX += w * std::floor((m_CamX + sx - 32.0f * static_cast<float>(i)) / w + 0.5f);
    m_Player[kTargetX] = padX;
    int aboard = ClampInt(kr_Vex_ToInt(m_Player[kAboard]), 0, kMaxFigures);
    if (aboard >= 1) {
        float x = m_Player[kX], y = m_Player[kY];
        p_Gimme2(kPayment[aboard < 8 ? aboard : 8], x, y - 64);
        p_Replenish();
        p_PlaySFX(kSfxFanfare, 1);
        for (int k = 0; k < aboard; ++k) {
            float up = 0.3f + 0.5f * kr_random_Rnd();
            p_AddParticle(3, x, y, 0.25f * (static_cast<float>(k) - (aboard - 1) * 0.5f), -up, 0, 0, 0);
        }
    }
    m_Player[kAboard] = 0;
    m_Player[kTilt] = 0;
    m_Player[kSpeed] = 0;
    return 0;
}

int c_MyApp::p_GameCrash() {
    for (int k = 0; k < 9; ++k) {
        int kind = DebrisKind();
        p_ThrowParticle(m_Player[kX], m_Player[kY], kind, 0);
    }
    m_Health = kr_Vex_ToInt(static_cast<float>(m_Health) - (2 + 3 * kr_random_Rnd()));
    if (m_Health > 0) m_Player[kTargetY] -= 4;
    if (m_GameOverT <= 0) {
        float rate = 0.7f + 0.6f * kr_random_Rnd();
        p_PlaySFX(kSfxScrape, rate);
    }
    return 0;
}

int c_MyApp::p_GamePerson(int i, float sx, float gy) {
    float px = sx + 16, py = gy - 8;
    p_DrawImg(kImgSmall, px, py, static_cast<float>(((7LL * i + m_Frame) / 8) % 4));
    // The rope must hang still, its end on the person and free, and the
    // cabin must have room.
    float endX = m_Player[RopeX(kRopeLast)], endY = m_Player[RopeY(kRopeLast)];
    if (!Near(endX, m_Player[RopeX(10)], 4)) return 0;
    if (!Near(endX - m_CamX, px, 8) || !Near(endY - m_CamY, py, 8)) return 0;
    if (m_Player[RopeSeat(kRopeLast)] != 0 || m_Player[kAboard] >= kCabinSeats) return 0;
    m_Player[RopeSeat(kRopeLast)] = 1;
    m_Column[i * 10 + 1] = 0;
    return 0;
}

int c_MyApp::p_GameSea() {
    double a = m_Rotor;
    float tops[3] = {static_cast<float>(-16 + 4 * SinDeg(a)), static_cast<float>(-32 + 4 * CosDeg(a)),
                     static_cast<float>(-48 - 4 * CosDeg(a))};
    p_SetRot(0);
    p_SetSize(1);
    p_SetCol(0, 80, 160, 0.4f);
    for (float top : tops) p_Rect(-128, top - m_CamY, kr_Vex_jscrw + 128, kr_Vex_jscrh);
    if (m_Player[kScreenY] >= tops[2] - m_CamY && m_Paused == 0) m_Health = AddSat(m_Health, -10);
    return 0;
}
