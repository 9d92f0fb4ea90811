// SPDX-License-Identifier: Zlib
// Play: the status bar (radar, score, health, passengers) and the moment the
// game is lost.
#include <cmath>
#include <cstdlib>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

using namespace play;

namespace {

constexpr float kBarHeight = 38;
constexpr float kRadarTop = 22;
constexpr float kRadarHeight = 12;
constexpr float kRadarMiddle = kRadarTop + kRadarHeight / 2;
// Passenger icons: offsets from the right edge - 64, two rows of four.
constexpr float kSeatX[8] = {0, 10, 20, 30, 5, 15, 25, 35};
constexpr float kSeatY[8] = {8, 8, 8, 8, 18, 18, 18, 18};

// A column offset wrapped into +- half the world's width.
int RadarOffset(int column, int pc, int width) {
    int o = column - pc;
    if (o > width / 2) o -= width;
    if (o < -(width / 2)) o += width;
    return o;
}

}  // namespace

int c_MyApp::p_GameStatus() {
    float w = kr_Vex_jscrw, cx = w / 2;
    int mw = ClampInt(m_MapWidth, 1, 499);
    float left = cx - static_cast<float>(mw) / 2, right = cx + static_cast<float>(mw) / 2;
    float aboard = m_Player[kAboard];
    p_SetRot(0);
    p_SetSize(1);
    p_SetCol(0, 0, 120, 1);
    p_Rect(0, 0, w, kBarHeight);

    // The radar, centred on the helicopter's column.
    int pc = kr_Vex_ToInt(m_Player[kX] / 32 + 2) % mw;
    if (pc < 0) pc += mw;
    p_SetCol(255, 255, 0);
    p_Rect(left - 1, kRadarTop - 1, static_cast<float>(mw) + 2, kRadarHeight + 2);
    p_SetCol(0, 0, 0);
    p_Rect(left, kRadarTop, static_cast<float>(mw), kRadarHeight);
    p_SetCol(255, 255, 0);
    p_Rect(cx, kRadarTop, 1, kRadarHeight);
    float pad = cx + static_cast<float>(RadarOffset(m_MapWidth / 2, pc, mw));
    p_SetCol(0, 125, 255);
    p_Rect(pad - 1, kRadarTop, 3, kRadarHeight);
    p_SetCol(255, 255, 255, aboard == 8 ? static_cast<float>(0.8 + 0.2 * SinDeg(8.0 * m_Rotor)) : 0.7f);
    p_SetSize(2);
    p_DrawImg(kImgSprites, pad, kRadarMiddle + 16, 10);
    p_SetSize(1);
    p_SetCol(255, 100, 100, 1);
    for (int e = 0; e <= kLastObject * 10; e += 10) {
        if (m_Obj[e + kKind] != kEnemy) continue;
        int v = kr_Vex_ToInt((m_Player[kY] - m_Obj[e + kObjY]) / 72);
        if (v < -6 || v > 8) continue;
        int o = RadarOffset(kr_Vex_ToInt(m_Obj[e + kObjX] / 32), pc, mw);
        p_Rect(cx + static_cast<float>(o) - 1, kRadarMiddle - static_cast<float>(v), 3, 1);
    }

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2);
    p_Text(left, 12, p_rstr(m_ScoreShown, 8, String("0")), 0, 1);
    p_GameLost();
    p_Text(right, 12, p_rstr(m_Health, 2, String("0")), 2, 1);
    p_SetSize(1);
    p_Text(cx, 15, String("Score"), 2, 1);
    p_Text(cx + 78, 15, String("Health"), 2, 1);
    for (int k = 0; k < 8; ++k) {
        p_Alpha(aboard >= static_cast<float>(k + 1) ? 1 : 0.4f);
        p_DrawImg(kImgSmall, w - 64 + kSeatX[k], kSeatY[k], 0);
    }

    // The shown score eases toward the score.
    long long gap = static_cast<long long>(m_Score) - m_ScoreShown;
    m_ScoreShown += static_cast<int>(gap / 6);
    if (std::llabs(static_cast<long long>(m_Score) - m_ScoreShown) <= 6) m_ScoreShown = m_Score;
    return 0;
}

int c_MyApp::p_GameLost() {
    if (m_Health >= 0) return 0;
    if (m_GameOverT <= 0) {
        p_PlaySFX(kSfxExplosion, 1);
        float rate = 0.7f + 0.5f * kr_random_Rnd();
        p_PlaySFX(kSfxBigExplosion, rate);
        if (kr_app__game) kr_app__game->GameOver(m_GameMode, m_Score);
    }
    kr_audio_StopMusic();
    m_TunePlaying = 0;
    m_GameOverT = 1;
    m_Health = 0;
    return 0;
}
