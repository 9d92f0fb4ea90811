// SPDX-License-Identifier: Zlib
// Float to Int conversion that is defined for every value: truncation toward
// zero, NaN as 0 and values beyond the Int range clamped to its bounds.
// A plain cast of NaN, an infinity or an out-of-range value is undefined.
#pragma once

#include <climits>

inline int kr_Vex_ToInt(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0f) return INT_MAX;
    if (v <= -2147483648.0f) return INT_MIN;
    return static_cast<int>(v);
}

inline int kr_Vex_ToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}
