// SPDX-License-Identifier: Zlib
#include "framework/math.h"

// The most negative int has no positive counterpart; it wraps to itself
// instead of overflowing.
int kr_math_Abs(int x) { return x < 0 ? static_cast<int>(0u - static_cast<unsigned>(x)) : x; }

float kr_math_Abs2(float x) { return x < 0 ? -x : x; }

int kr_math_Max(int a, int b) { return b >= a ? b : a; }

float kr_math_Max2(float a, float b) { return a > b ? a : b; }
