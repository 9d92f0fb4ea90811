// SPDX-License-Identifier: Zlib
// Element numbers of the float records that play keeps: the player record
// in m_Player and the object records in m_Obj.
#pragma once

namespace play {

// m_Player: the helicopter, its rope and its gun.
enum PlayerElement {
    kX = 1,
    kY = 2,
    kTargetX = 3,
    kTargetY = 4,
    kTilt = 5,
    kSpeed = 6,
    kRotorCount = 7,
    kScreenX = 8,
    kScreenY = 9,
    kRope = 10,  // segment s at 10 + 5s: x, y, occupant
    kAboard = 200,
    kCooldown = 201,
    kFireDelay = 202,
};
constexpr int kRopeLast = 16;
inline int RopeX(int s) { return kRope + 5 * s; }
inline int RopeY(int s) { return kRope + 5 * s + 1; }
inline int RopeSeat(int s) { return kRope + 5 * s + 2; }

// m_Obj: one record of ten floats per object.
enum ObjectElement {
    kKind = 0,
    kObjX = 1,
    kObjY = 2,
    kVelX = 3,
    kVelY = 4,
    kPhase = 5,
    kRate = 6,
    kTimer = 7,
    kHealth = 8,
};
// Kinds as stored in element 0.
constexpr float kFree = 0, kEnemy = 1, kEnemyShot = 2, kPlayerShot = 3, kExplosion = 12;
constexpr int kLastObject = 500;

}  // namespace play
