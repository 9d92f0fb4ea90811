// SPDX-License-Identifier: Zlib
// The particle pool: sparks, debris, puffs and floating numbers in fixed
// records of ten floats, reused from the highest free record down.
#include "game/game.h"
#include "game/play/math.h"

namespace {

// Records in m_Part; m_PartMax beyond the array is treated as the last one.
constexpr int kPartRecords = 510;

// Palette entries 1..9 (red, green, blue on 0..255); index 0 and every
// index outside 1..9 is grey.
struct Tint {
    float r, g, b;
};
constexpr Tint kPalette[10] = {
    {76.5f, 76.5f, 76.5f},   // grey
    {255, 25.5f, 25.5f},     // 1 red
    {255, 127.5f, 25.5f},    // 2 orange
    {255, 255, 25.5f},       // 3 yellow
    {25.5f, 255, 25.5f},     // 4 green
    {25.5f, 255, 255},       // 5 cyan
    {25.5f, 25.5f, 255},     // 6 blue
    {127.5f, 25.5f, 255},    // 7 purple
    {255, 25.5f, 127.5f},    // 8 pink
    {255, 255, 255},         // 9 white
};

float Channel(float value, int brightness) {
    float v = value * static_cast<float>(brightness);
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

}  // namespace

int c_MyApp::p_ResetParticles(int n) {
    if (n >= 1 && n <= 499) m_PartMax = n;
    int last = m_PartMax < kPartRecords ? m_PartMax : kPartRecords - 1;
    for (int i = 0; i <= last; ++i) m_Part[i * 10] = 0;
    return 0;
}

int c_MyApp::p_FreeParticle() {
    int last = m_PartMax < kPartRecords ? m_PartMax : kPartRecords - 1;
    // The highest free record wins, so search from the top.
    for (int i = last; i >= 0; --i) {
        if (m_Part[i * 10] == 0) return i * 10;
    }
    return -1;
}

int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour,
                           int life) {
    int p = p_FreeParticle();
    if (p < 0) return 0;
    m_Part[p] = static_cast<float>(kind);
    m_Part[p + 1] = x;
    m_Part[p + 2] = y;
    m_Part[p + 3] = vx;
    m_Part[p + 4] = vy;
    m_Part[p + 5] = static_cast<float>(p_Rand(0, 360));
    m_Part[p + 6] = kr_random_Rnd2(-7, 7);
    m_Part[p + 7] = static_cast<float>(life) + 1;
    m_Part[p + 8] = static_cast<float>(colour);
    m_Part[p + 9] = static_cast<float>(value);
    return 0;
}

int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
    // The omitted angle and speed are drawn first, even when the pool is full.
    if (angle == kOmitted) angle = kr_random_Rnd2(0, 360);
    if (speed == kOmitted) speed = kr_random_Rnd2(3, 8);
    int p = p_FreeParticle();
    if (p < 0) return 0;
    m_Part[p] = static_cast<float>(kind);
    m_Part[p + 1] = x;
    m_Part[p + 2] = y;
    m_Part[p + 3] = static_cast<float>(play::SinDeg(angle) * speed);
    m_Part[p + 4] = static_cast<float>(-play::CosDeg(angle) * speed);
    m_Part[p + 5] = kr_random_Rnd2(0, 360);
    m_Part[p + 6] = kr_random_Rnd2(-8, 8);
    m_Part[p + 7] = kr_random_Rnd2(0.7f, 1.3f);
    m_Part[p + 8] = static_cast<float>(colour);
    m_Part[p + 9] = static_cast<float>(play::FloorInt(255.99f * kr_random_Rnd()));
    return 0;
}

int c_MyApp::p_Gimme(int amount, float x, float y) {
    m_Score = play::AddSat(m_Score, amount);
    p_AddParticle(99, x, y, 0, -0.25f, amount, 3, 0);
    return 0;
}

int c_MyApp::p_Gimme2(int amount, float x, float y) {
    m_Score = play::AddSat(m_Score, amount);
    p_AddParticle(98, x, y, 0, -0.5f, amount, 9, 0);
    return 0;
}

int c_MyApp::p_Ink(int colour, int brightness) {
    const Tint& t = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    p_SetCol(Channel(t.r, brightness), Channel(t.g, brightness), Channel(t.b, brightness));
    return 0;
}

int c_MyApp::p_DoParticles() {
    p_ResetDraw();
    int last = m_PartMax < kPartRecords ? m_PartMax : kPartRecords - 1;
    float ww = 32.0f * static_cast<float>(m_MapWidth);
    for (int i = 0; i <= last; ++i) {
        int p = i * 10;
        float kind = m_Part[p];
        if (!(kind > 0)) continue;
        m_Part[p + 1] += m_Part[p + 3];
        m_Part[p + 2] += m_Part[p + 4];
        m_Part[p + 5] += m_Part[p + 6];
        p_SetRot(m_Part[p + 5]);
        if (kind == 98 || kind == 99) p_SetRot(0);
        if (kind == 3) p_SetRot(static_cast<float>(16 * play::SinDeg(m_Part[p + 5])));
        if (kind == 2) {
            m_Part[p + 3] *= 0.95f;
            m_Part[p + 4] += 0.2f;
        }
        float life = m_Part[p + 7];
        if (kind == 3) {
            p_Alpha(life > 0.5f ? 1 : 2 * life);
        } else {
            p_Alpha(life > 1 ? 1 : life);
        }
        p_SetSize(1, 1);
        p_Ink(kr_Vex_ToInt(m_Part[p + 8]), 1);
        float sx = play::WorldMod(m_Part[p + 1] - m_CamX, ww);
        if (sx < -128) sx += ww;
        float sy = m_Part[p + 2] - m_CamY;
        if (kind > 0 && kind < 3) p_DrawImg(kImgParts, sx, sy, m_Part[p + 9]);
        if (kind == 3) {
            p_SetSize(3, 3);
            p_SetCol(255, 255, 255);
            p_DrawImg(kImgSmall, sx, sy, 12);
        }
        if (kind == 98) p_SetSize(4, 4);
        if (kind == 98 || kind == 99) p_Text(sx, sy, String(kr_Vex_ToInt(m_Part[p + 9])), 1.0f, 1.0f);
        m_Part[p + 7] = life - 0.01f;
        if (m_Part[p + 7] < 0) m_Part[p] = 0;
    }
    p_ResetDraw();
    return 0;
}
