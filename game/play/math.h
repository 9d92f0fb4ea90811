// SPDX-License-Identifier: Zlib
// Small numeric helpers of play and its pools: flooring that stays defined
// for NaN and out-of-range values (kr_Vex_ToInt truncates), clamps,
// saturating sums, world wrapping, and sine and cosine in degrees.
#pragma once

#include <climits>
#include <cmath>

#include "game/float_to_int.h"

namespace play {

// Rounds toward minus infinity; NaN gives 0 and values beyond the Int range
// saturate.
inline int FloorInt(double v) { return kr_Vex_ToInt(std::floor(v)); }

// A finite value in lo..hi; NaN and infinities give `fallback`.
inline float FiniteIn(float v, float lo, float hi, float fallback) {
    if (!std::isfinite(v)) return fallback;
    return v < lo ? lo : (v > hi ? hi : v);
}

inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Adds without overflowing: the sum saturates at the Int range.
inline int AddSat(int a, int b) {
    long long s = static_cast<long long>(a) + b;
    return s > INT_MAX ? INT_MAX : (s < INT_MIN ? INT_MIN : static_cast<int>(s));
}

// The remainder of v / w with v's sign (fmod); v itself when the world has
// no width.
inline float WorldMod(float v, float w) { return w > 0 ? std::fmod(v, w) : v; }

// v wrapped into 0..w (fmod, plus w when negative).
inline float WrapWorld(float v, float w) {
    float m = WorldMod(v, w);
    return m < 0 ? m + w : m;
}

constexpr double kDegToRad = 0.017453292519943295;
inline double SinDeg(double a) { return std::sin(a * kDegToRad); }
inline double CosDeg(double a) { return std::cos(a * kDegToRad); }

}  // namespace play
