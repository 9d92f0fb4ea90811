// SPDX-License-Identifier: Zlib
// Premultiplication of pixel data by its alpha channel, in integer steps:
// each colour byte becomes value * alpha / 255, truncated.
#pragma once

#include <cstddef>

namespace kr_premultiply {

// Grey and alpha pairs: L = L * A / 255.
void GreyAlpha(unsigned char* pixels, std::size_t count);
// RGBA quadruples: R, G, B each * A / 255.
void Rgba(unsigned char* pixels, std::size_t count);
// One 0xAARRGGBB value to premultiplied R, G, B, A bytes.
void Argb(unsigned int argb, unsigned char* out);

}  // namespace kr_premultiply
