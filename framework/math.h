// SPDX-License-Identifier: Zlib
// The math module: absolute value and maximum for ints and floats.
#pragma once

int kr_math_Abs(int x);
float kr_math_Abs2(float x);
// b when b >= a, else a: with equal arguments the second is returned.
int kr_math_Max(int a, int b);
// a when a > b, else b: a NaN on either side gives b.
float kr_math_Max2(float a, float b);
