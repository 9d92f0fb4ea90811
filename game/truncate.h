// Float to Int conversion that never meets NaN, infinity or a value outside
// the Int range (all undefined behaviour in C++).
#pragma once

#include <climits>
#include <cmath>

// Truncates toward zero; NaN gives `fallback`, values beyond the Int range
// give the nearest Int bound.
inline int TruncateToInt(double v, int fallback) {
    if (std::isnan(v)) return fallback;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

// Clamps a value into lo..hi, the upper bound winning when they cross.
inline long long ClampInt(long long v, long long lo, long long hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}
