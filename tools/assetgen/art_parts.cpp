// SPDX-License-Identifier: Zlib
// "parts": 256 small glowing sparks, 8 x 8 each. The frame number is a colour
// value: across a row of sixteen the hue turns once round the colour wheel;
// down the rows saturation eases toward white and the sparks grow, with
// every other pair of rows a four-pointed twinkle instead of a round dot.
#include <algorithm>

#include "art.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{4, 4};

void DrawSpark(Painter& p, int v) {
    int row = v / 16, col = v % 16;
    float hue = col * 22.5f + row * 3.0f;
    float saturation = 0.95f - 0.22f * (row % 4);
    float size = 1.2f + 0.35f * (row / 4);
    bool twinkle = (row / 2) % 2 == 1;
    Color c = Hsv(hue, saturation, 1.0f);

    // Glow and arms stay half a pixel inside the 8 x 8 frame.
    p.Fill(Circle(kCentre, std::min(size + 1.4f, 3.0f)), WithAlpha(c, 0.45f), 1.0f, 1.0f);
    if (twinkle) {
        float arm = std::min(size + 2.0f, 3.0f);
        p.Fill(Capsule(kCentre - V2{arm, 0}, kCentre + V2{arm, 0}, 0.45f), c, 1.0f, 0.4f);
        p.Fill(Capsule(kCentre - V2{0, arm}, kCentre + V2{0, arm}, 0.45f), c, 1.0f, 0.4f);
    }
    p.Fill(Circle(kCentre, size), c);
    p.Fill(Circle(kCentre, size * 0.5f), Mix(c, ink::kWhite, 0.75f));
}

}  // namespace

ImageAsset PartsSheet() { return {{"parts", 8, 8, 256, 16}, DrawSpark}; }

}  // namespace assetgen
