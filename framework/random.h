// SPDX-License-Identifier: Zlib
// The random module: one global 32-bit linear congruential generator. Every
// call of any of the three functions advances the seed once.
#pragma once

extern int kr_random_Seed;

// The next value in [0, 1), with 24-bit resolution.
float kr_random_Rnd();
// (high - low) * next value + low.
float kr_random_Rnd2(float low, float high);
// next value * range.
float kr_random_Rnd3(float range);
