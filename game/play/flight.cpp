// SPDX-License-Identifier: Zlib
// Play: the sky and its ceiling, the camera, the helicopter's flight, its
// drawing (or the burning wreck) and its gun.
#include <cmath>

#include "game/game.h"
#include "game/play/math.h"
#include "game/play/records.h"

using namespace play;

namespace {

constexpr float kMaxSpeed = 16;

// The sideways speed after one update: 4 toward a target more than 3 pixels
// away, 2 of friction toward 0, nothing below 1 in size, at most 16.
float NextSpeed(float speed, float x, float targetX) {
    if (targetX > x + 3) speed += 4;
    if (targetX < x - 3) speed -= 4;
    if (speed < 0) speed += 2;
    if (speed > 0) speed -= 2;
    if (std::fabs(speed) < 1) speed = 0;
    return speed < -kMaxSpeed ? -kMaxSpeed : (speed > kMaxSpeed ? kMaxSpeed : speed);
}

}  // namespace

int c_MyApp::p_GameSky() {
    int v = 250;
    float y = m_Player[kY];
    if (y < -640) {
        v = kr_Vex_ToInt((y + 640) / 4 + 250);
        // The ceiling: the sky is at its darkest and the helicopter is pushed
        // down; a pause holds the push, so it does not build up meanwhile.
        if (v < 80) {
            v = 80;
            if (m_Paused == 0) m_Player[kTargetY] += 16;
        }
    }
    p_CLS2D(0, 0.7f * static_cast<float>(v), static_cast<float>(v), 1);
    return 0;
}

int c_MyApp::p_GameCamera() {
    float dx = (m_CamX - m_CamTargetX) / 8;
    float dy = (m_CamY - m_CamTargetY) / 8;
    m_CamX -= dx;
    m_CamY -= dy;
    m_CamTargetX = m_Player[kTargetX] - kr_Vex_jscrw / 4;
    m_CamTargetY = m_Player[kTargetY] - kr_Vex_jscrh / 2;
    p_DoStars(dx, dy);
    return 0;
}

int c_MyApp::p_GameFlight() {
    // A stick that is not a number (a broken axis) counts as centred.
    float stickX = play::FiniteIn(m_StickX, -1, 1, 0);
    float stickY = play::FiniteIn(m_StickY, -1, 1, 0);
    m_Player[kTargetX] += 4 * stickX;
    m_Player[kTargetY] += 2 * stickY;
    m_Player[kSpeed] = NextSpeed(m_Player[kSpeed], m_Player[kX], m_Player[kTargetX]);
    // Each passenger pulls the helicopter down.
    m_Player[kTargetY] += m_Player[kAboard] / 8;
    m_Player[kX] += (m_Player[kTargetX] - m_Player[kX]) / 16;
    m_Player[kY] += (m_Player[kTargetY] - m_Player[kY]) / 16;
    m_Player[kTilt] += (m_Player[kSpeed] - m_Player[kTilt]) / 8;
    return 0;
}

int c_MyApp::p_GameHeli() {
    m_Player[kScreenX] = m_Player[kX] - m_CamX;
    m_Player[kScreenY] = m_Player[kY] - m_CamY;
    if (m_GameOverT > 0) {
        p_SetCol(255, 255, 255);
        p_SetRot(0);
        p_SetSize(6);
        p_DrawImg(kImgSmall, m_Player[kScreenX], m_Player[kScreenY], 16 + 2.9f * kr_random_Rnd());
        for (int i = 0; i < 5; ++i) {
            int kind = kr_Vex_ToInt(1 + 1.9f * kr_random_Rnd());
            p_ThrowParticle(m_Player[kX], m_Player[kY], kind, 0);
        }
        return 0;
    }
    // The rotor turns faster toward the target and slower going down.
    float rate = 5;
    if (m_Player[kTargetX] > m_Player[kX]) rate = 7;
    if (m_Player[kTargetX] < m_Player[kX]) rate = 4;
    if (m_Player[kTargetY] > m_Player[kY]) rate -= 2;
    if (m_Player[kTargetY] < m_Player[kY]) rate += 1;
    m_Player[kRotorCount] += rate;
    int frame = play::ClampInt(kr_Vex_ToInt(std::fmod(m_Player[kRotorCount] / 8, 10.0f)), 0, 9);
    p_SetSize(2);
    p_SetRot(m_Player[kTilt]);
    p_DrawImg(kImgSprites, m_Player[kScreenX], m_Player[kScreenY], static_cast<float>(frame));
    return 0;
}

int c_MyApp::p_GameFire() {
    float& cooldown = m_Player[kCooldown];
    float& delay = m_Player[kFireDelay];
    // The gun rests while paused: the button that works the pause panel
    // leaves no shot behind.
    if (m_Paused != 0) return 0;
    if (cooldown > -1) cooldown -= 1;
    if (p_PlayKey(kActionButton1, 1, 0) == 0 && p_PlayKey(kActionButton3, 1, 0) == 0) {
        cooldown = -1;
        delay = 6;
        return 0;
    }
    if (cooldown > 1 || m_KeyLock != 0 || m_ClickLock != 0) return 0;
    m_ObjSlot = p_ObjFree();
    if (m_ObjSlot < 0) return 0;
    p_AddBull(m_ObjSlot, m_Player[kX], m_Player[kY], 3, m_Player[kTilt]);
    int sound = kr_Vex_ToInt(kSfxGunshot + 1.9f * kr_random_Rnd());
    float rate = 0.8f + 0.4f * kr_random_Rnd();
    p_PlaySFX(sound, rate);
    // Holding fire shoots ever more slowly.
    cooldown = delay;
    delay += 0.8f;
    return 0;
}
