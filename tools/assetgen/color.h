// SPDX-License-Identifier: Zlib
// Straight-alpha RGBA colours with 0..1 channels and the few mixes the art needs.
#pragma once

#include <cstdint>

namespace assetgen {

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB to a colour.
constexpr Color Hex(uint32_t rgb, float alpha = 1.0f) {
    return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, alpha};
}

inline Color Mix(Color p, Color q, float t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}
inline Color WithAlpha(Color c, float alpha) { return {c.r, c.g, c.b, alpha}; }
inline Color Lighter(Color c, float t) { return Mix(c, Color{1, 1, 1, c.a}, t); }
inline Color Darker(Color c, float t) { return Mix(c, Color{0, 0, 0, c.a}, t); }

// Hue in degrees, saturation and value 0..1.
Color Hsv(float hue, float saturation, float value, float alpha = 1.0f);

// The studio's shared palette: every sheet draws from these so the art fits.
namespace ink {
constexpr Color kOutline = Hex(0x1a1c33);
constexpr Color kShadow = Hex(0x2b2f52);
constexpr Color kWhite = Hex(0xf8f8f2);
constexpr Color kLightGrey = Hex(0xc9cfdc);
constexpr Color kGrey = Hex(0x8a93a8);
constexpr Color kDarkGrey = Hex(0x4a5068);
constexpr Color kRed = Hex(0xe8413a);
constexpr Color kDarkRed = Hex(0x9e2235);
constexpr Color kOrange = Hex(0xf7922a);
constexpr Color kYellow = Hex(0xffd93f);
constexpr Color kPaleYellow = Hex(0xfff3a6);
constexpr Color kGreen = Hex(0x4fc95b);
constexpr Color kDarkGreen = Hex(0x257a45);
constexpr Color kTeal = Hex(0x2fb3a8);
constexpr Color kSky = Hex(0x6cc6f5);
constexpr Color kBlue = Hex(0x3a78e0);
constexpr Color kDarkBlue = Hex(0x263a8f);
constexpr Color kNavy = Hex(0x1c2459);
constexpr Color kPurple = Hex(0x8a3fc2);
constexpr Color kMagenta = Hex(0xd9408f);
constexpr Color kSand = Hex(0xf2d38a);
constexpr Color kBrown = Hex(0x9c5b34);
constexpr Color kDarkBrown = Hex(0x5e3422);
constexpr Color kSkin = Hex(0xf5c09a);
constexpr Color kGlass = Hex(0x9fe6ff);
}  // namespace ink

}  // namespace assetgen
