// SPDX-License-Identifier: Zlib
#include "framework/random.h"

int kr_random_Seed;

float kr_random_Rnd() {
    // Unsigned arithmetic: the seed wraps modulo 2^32.
    unsigned seed = static_cast<unsigned>(kr_random_Seed) * 1664525u + 1013904223u;
    kr_random_Seed = static_cast<int>(seed);
    // The top 24 bits, exactly representable as a float.
    return static_cast<float>(seed >> 8) * (1.0f / 16777216.0f);
}

float kr_random_Rnd2(float low, float high) { return (high - low) * kr_random_Rnd() + low; }

float kr_random_Rnd3(float range) { return kr_random_Rnd() * range; }
