// SPDX-License-Identifier: Zlib
// "common/Testcard_Circle": the round centre of a television test card,
// 256 x 256. Colour bars on top, a dark band in the middle where the credit
// lines scroll, grey steps and colour ramps below.
#include "art.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{128, 128};
constexpr float kRadius = 121;

void Band(Painter& p, const Shape& disc, float x0, float y0, float x1, float y1, const Paint& paint) {
    p.Fill(Intersect(disc, RoundRect(x0, y0, x1, y1)), paint);
}

void DrawCard(Painter& p, int) {
    Shape disc = Circle(kCentre, kRadius);
    p.Fill(Offset(disc, 6), ink::kOutline);
    p.Fill(Offset(disc, 4), ink::kWhite);
    p.Fill(disc, Hex(0x7a7d86));

    // Colour bars.
    const Color bars[8] = {Hex(0xf2f2f2), Hex(0xf2e23a), Hex(0x3ad9e8), Hex(0x43d14f),
                           Hex(0xd43fd1), Hex(0xe23b3b), Hex(0x2f4fe0), Hex(0x15161c)};
    for (int i = 0; i < 8; ++i) Band(p, disc, i * 32.0f, 0, i * 32.0f + 32, 58, Solid(bars[i]));
    // Frequency gratings: black and white stripes getting finer to the right.
    Band(p, disc, 0, 58, 256, 80, Solid(Hex(0x15161c)));
    float x = 24;
    for (float w : {8.0f, 6.0f, 4.0f, 3.0f, 2.0f}) {
        for (int k = 0; k < 5; ++k, x += 2 * w) Band(p, disc, x, 60, x + w, 78, Solid(Hex(0xf2f2f2)));
        x += 6;
    }
    // The dark reading band with a faint grid and a centre cross.
    Band(p, disc, 0, 80, 256, 176, Solid(Hex(0x14162a)));
    for (float g = 16; g < 256; g += 16) {
        Band(p, disc, g - 0.5f, 80, g + 0.5f, 176, Solid(Hex(0x252a48)));
        if (g > 80 && g < 176) Band(p, disc, 0, g - 0.5f, 256, g + 0.5f, Solid(Hex(0x252a48)));
    }
    Band(p, disc, 127, 80, 129, 176, Solid(Hex(0x3a4170)));
    Band(p, disc, 0, 127, 256, 129, Solid(Hex(0x3a4170)));
    // Grey steps and a colour ramp at the bottom.
    for (int i = 0; i < 8; ++i) {
        float v = i / 7.0f;
        Band(p, disc, i * 32.0f, 176, i * 32.0f + 32, 204, Solid(Color{v, v, v, 1}));
    }
    Band(p, disc, 0, 204, 256, 256, Linear({0, 0}, Hex(0xe23b3b), {256, 0}, Hex(0x2f4fe0), 16));
    Band(p, disc, 0, 204, 256, 210, Solid(Hex(0x15161c)));
    // The ring marks of the card: a thin white circle and ticks.
    p.Fill(Intersect(disc, Ring(kCentre, 92, 1.0f)), WithAlpha(ink::kWhite, 0.8f));
    for (int k = 0; k < 24; ++k)
        p.Fill(Capsule(Polar(kCentre, kRadius - 7, k * 15.0f), Polar(kCentre, kRadius - 1, k * 15.0f), 1.0f),
               ink::kWhite);
}

}  // namespace

ImageAsset TestcardSheet() { return {{"common/Testcard_Circle", 256, 256, 1, 1}, DrawCard}; }

}  // namespace assetgen
