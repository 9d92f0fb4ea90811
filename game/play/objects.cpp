// SPDX-License-Identifier: Zlib
// Play: every object of the pool in one pass: motion, drawing, enemies that
// home in and fire, shots that die in the ground or hit, explosions.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

using namespace play;

namespace {

// An object farther than this outside the screen is not drawn.
constexpr float kDrawMargin = 128;
// A shot farther than this outside the screen dies.
constexpr float kShotMargin = 512;

bool Near(float a, float b, float d) { return std::fabs(a - b) <= d; }

// The horizontal distance of two x in 0..w, across the world's seam.
float WrappedDistance(float a, float b, float w) {
    float d = std::fabs(a - b);
    return (w > 0 && d > w / 2) ? w - d : d;
}

int DebrisKind() { return kr_Vex_ToInt(1 + 1.9f * kr_random_Rnd()); }

void Explode(Array<float>& obj, int o) {
    obj[o + kKind] = kExplosion;
    obj[o + kVelX] = 0;
    obj[o + kVelY] = 0;
    obj[o + kTimer] = 64;
}

}  // namespace

int c_MyApp::p_GameObjects() {
    for (int i = 0; i <= kLastObject; ++i) {
        if (m_Obj[i * 10 + kKind] > 0) p_GameObject(i * 10);
    }
    return 0;
}

int c_MyApp::p_GameObject(int o) {
    float w = static_cast<float>(m_WorldW);
    bool frozen = m_Paused != 0 || m_GameOverT > 0;
    if (!frozen) {
        m_Obj[o + kObjX] = WrapWorld(m_Obj[o + kObjX] + m_Obj[o + kVelX], w);
        m_Obj[o + kObjY] += m_Obj[o + kVelY];
        m_Obj[o + kPhase] += m_Obj[o + kRate];
        if (m_Obj[o + kObjY] < -3200 || m_Obj[o + kObjY] > 32) m_Obj[o + kKind] = kFree;
    }
    if (m_Obj[o + kTimer] > -128) m_Obj[o + kTimer] -= 1;
    float sx = WorldMod(m_Obj[o + kObjX] - m_CamX, w);
    if (sx < -1024) sx += w;
    float sy = m_Obj[o + kObjY] - m_CamY;
    bool shown = sx >= -kDrawMargin && sx <= kr_Vex_jscrw + kDrawMargin && sy >= -kDrawMargin &&
                 sy <= kr_Vex_jscrh + kDrawMargin;
    if (m_Obj[o + kKind] == kEnemy && shown) p_GameEnemy(o, sx, sy);
    p_GameShot(o, sx, sy, shown);
    if (m_Obj[o + kKind] == kEnemyShot && Near(sx, m_Player[kScreenX], 28) && Near(sy, m_Player[kScreenY], 12))
        p_GameShotHit(o);
    if (m_Obj[o + kKind] == kPlayerShot) p_GameShotEnemies(o);
    if (m_Obj[o + kKind] == kEnemy && !frozen && sx > -512 && sx < 512) p_GameEnemyFire(o);
    return 0;
}

int c_MyApp::p_GameEnemy(int o, float sx, float sy) {
    float phase = m_Obj[o + kPhase];
    int step = kr_Vex_ToInt(phase / 8) % 4;
    p_SetCol(255, 255, 255, 1);
    p_SetRot(0);
    p_SetSize(2);
    p_DrawImg(kImgSprites, sx, sy, static_cast<float>(12 + (step < 0 ? step + 4 : step)));
    p_SetCol(0, 0, 0);
    p_Rect(sx - 17, sy + 8, 34, 6);
    p_SetCol(255, 255, 255);
    p_Rect(sx - 16, sy + 9, 4 * m_Obj[o + kHealth], 4);
    // Homing: the vertical speed turns toward the helicopter's height, harder
    // in later waves; not while paused, so no speed builds up during a pause.
    float y = m_Obj[o + kObjY], py = m_Player[kY];
    float wave = static_cast<float>(m_Wave - 1) / 16;
    if (m_Paused == 0 && y < py) m_Obj[o + kVelY] += 0.3f + 0.4f * kr_random_Rnd() + wave;
    if (m_Paused == 0 && y > py) m_Obj[o + kVelY] -= 0.3f + 0.4f * kr_random_Rnd() + wave;
    if (m_Obj[o + kHealth] < 0) {
        float x = m_Obj[o + kObjX];
        m_Obj[o + kKind] = kFree;
        p_Gimme(500, x, y);
        float rate7 = 0.7f + 0.5f * kr_random_Rnd();
        p_PlaySFX(kSfxBigExplosion, rate7);
        float rate6 = 0.7f + 0.5f * kr_random_Rnd();
        p_PlaySFX(kSfxExplosion, rate6);
        for (int k = 0; k < 33; ++k) {
            int kind = DebrisKind();
            p_ThrowParticle(x, y, kind, 0);
        }
    }
    return 0;
}

int c_MyApp::p_GameShot(int o, float sx, float sy, bool shown) {
    float kind = m_Obj[o + kKind];
    if (shown && (kind == kEnemyShot || kind == kPlayerShot)) {
        p_SetCol(255, 255, 255, 1);
        p_SetRot(0);
        p_SetSize(2);
        p_DrawImg(kImgSmall, sx, sy, 9);
    }
    if (kind == kExplosion) {
        if (shown) {
            p_SetCol(255, 255, 255, 1);
            p_SetRot(0);
            p_SetSize(3);
            p_DrawImg(kImgSmall, sx, sy, 16 + 2.9f * kr_random_Rnd());
        }
        if (m_Obj[o + kTimer] < 0) m_Obj[o + kKind] = kFree;
    }
    if (!(kind >= 2 && kind <= 9)) return 0;
    // Shots die in the ground under their middle, and far off screen.
    float x = m_Obj[o + kObjX], y = m_Obj[o + kObjY];
    int c = ClampInt(kr_Vex_ToInt((x + 16) / 32), 0, ClampInt(m_MapWidth, 0, 499));
    if (y > -16.0f * static_cast<float>(m_Column[c * 10])) {
        for (int k = 0; k < 5; ++k) p_ThrowParticle(x, y, 2, 4);
        m_Obj[o + kKind] = kFree;
        return 0;
    }
    if (sx < -kShotMargin || sx > kr_Vex_jscrw + kShotMargin || sy < -kShotMargin || sy > kr_Vex_jscrh + kShotMargin)
        m_Obj[o + kKind] = kFree;
    return 0;
}

int c_MyApp::p_GameShotHit(int o) {
    Explode(m_Obj, o);
    m_Health = kr_Vex_ToInt(static_cast<float>(m_Health) - (5 + 6 * kr_random_Rnd()));
    if (m_GameOverT <= 0) {
        int sound = kr_Vex_ToInt(kSfxHit + 1.9f * kr_random_Rnd());
        float rate = 0.7f + 0.5f * kr_random_Rnd();
        p_PlaySFX(sound, rate);
    }
    float x = m_Obj[o + kObjX], y = m_Obj[o + kObjY];
    for (int k = 0; k < 7; ++k) {
        int kind = DebrisKind();
        p_ThrowParticle(x, y, kind, 0);
    }
    return 0;
}

int c_MyApp::p_GameShotEnemies(int o) {
    float w = static_cast<float>(m_WorldW);
    float x = m_Obj[o + kObjX], y = m_Obj[o + kObjY];
    for (int e = 0; e <= kLastObject * 10; e += 10) {
        if (m_Obj[e + kKind] != kEnemy) continue;
        if (WrappedDistance(x, m_Obj[e + kObjX], w) > 32 || !Near(y, m_Obj[e + kObjY], 16)) continue;
        Explode(m_Obj, o);
        m_Obj[e + kHealth] -= 1;
        int sound = kr_Vex_ToInt(kSfxHit + 1.9f * kr_random_Rnd());
        float rate = 0.7f + 0.5f * kr_random_Rnd();
        p_PlaySFX(sound, rate);
        m_Score = AddSat(m_Score, 25);
        p_AddParticle(99, m_Obj[e + kObjX], m_Obj[e + kObjY] - 32, 0, -0.25f, 25, 3, 0);
        for (int k = 0; k < 3; ++k) {
            int kind = DebrisKind();
            p_ThrowParticle(x, y, kind, 0);
        }
        // The shot is spent: it is an explosion now.
        return 0;
    }
    return 0;
}

int c_MyApp::p_GameEnemyFire(int o) {
    float chance = 50 * kr_random_Rnd();
    if (!(chance < 4 && m_Obj[o + kTimer] < 1)) return 0;
    m_Obj[o + kTimer] = 16;
    float x = m_Obj[o + kObjX], y = m_Obj[o + kObjY];
    m_ObjSlot = p_ObjFree();
    if (m_ObjSlot < 0) return 0;
    p_AddBull(m_ObjSlot, x, y, 2, 0);
    float w = static_cast<float>(m_WorldW);
    // Fainter the farther the enemy is from the helicopter, both x taken as
    // remainders of the world's width (the sign kept).
    float d = std::fabs(WorldMod(x, w) - WorldMod(m_Player[kX], w));
    int sound = kr_Vex_ToInt(kSfxGunshot + 1.9f * kr_random_Rnd());
    float rate = 0.8f + 0.4f * kr_random_Rnd();
    float volume = (640 - d) / 640;
    p_PlaySFX(sound, rate, volume < 0 ? 0 : volume);
    return 0;
}
