// SPDX-License-Identifier: Zlib
#include "color.h"

#include <cmath>

namespace assetgen {

Color Hsv(float hue, float saturation, float value, float alpha) {
    float h = std::fmod(hue, 360.0f);
    if (h < 0) h += 360.0f;
    float c = value * saturation;
    float x = c * (1.0f - std::fabs(std::fmod(h / 60.0f, 2.0f) - 1.0f));
    float m = value - c;
    float r = 0, g = 0, b = 0;
    switch (static_cast<int>(h / 60.0f)) {
        case 0:
            r = c;
            g = x;
            break;
        case 1:
            r = x;
            g = c;
            break;
        case 2:
            g = c;
            b = x;
            break;
        case 3:
            g = x;
            b = c;
            break;
        case 4:
            r = x;
            b = c;
            break;
        default:
            r = c;
            b = x;
            break;
    }
    return {r + m, g + m, b + m, alpha};
}

}  // namespace assetgen
