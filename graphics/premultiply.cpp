// SPDX-License-Identifier: Zlib
#include "graphics/premultiply.h"

namespace kr_premultiply {
namespace {

inline unsigned char Scale(unsigned value, unsigned alpha) {
    return static_cast<unsigned char>(value * alpha / 255);
}

}  // namespace

void GreyAlpha(unsigned char* p, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, p += 2) p[0] = Scale(p[0], p[1]);
}

void Rgba(unsigned char* p, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i, p += 4) {
        unsigned a = p[3];
        p[0] = Scale(p[0], a);
        p[1] = Scale(p[1], a);
        p[2] = Scale(p[2], a);
    }
}

void Argb(unsigned int argb, unsigned char* out) {
    unsigned a = argb >> 24;
    out[0] = Scale((argb >> 16) & 255, a);
    out[1] = Scale((argb >> 8) & 255, a);
    out[2] = Scale(argb & 255, a);
    out[3] = static_cast<unsigned char>(a);
}

}  // namespace kr_premultiply
