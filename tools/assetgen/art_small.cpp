// SPDX-License-Identifier: Zlib
// "gfx_small": 8 x 8 frames. 0..3 a waving person, 4..5 a person hanging on
// the rope, 8 a rope link (drawn along the rope; upright here), 9 a shot,
// 12 a cheering rescued figure, 16..18 explosion puffs.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

void DrawHanging(Painter& p, int step) {
    // Bare arms up to the rope above the head, legs swinging below.
    p.Push(Affine::RotateAbout({4, 0.6f}, step == 0 ? 6.0f : -6.0f));
    float kick = step == 0 ? 0.6f : -0.6f;
    p.Fill(Capsule({3.5f, 5.8f}, {3.4f - kick * 0.5f, 7.6f}, 0.45f), ink::kDarkBlue);
    p.Fill(Capsule({4.5f, 5.8f}, {4.6f + kick, 7.5f}, 0.45f), ink::kDarkBlue);
    p.Fill(Capsule({2.9f, 3.8f}, {3.4f, 0.6f}, 0.42f), ink::kSkin);
    p.Fill(Capsule({5.1f, 3.8f}, {4.6f, 0.6f}, 0.42f), ink::kSkin);
    p.Fill(RoundRect(2.6f, 3.4f, 5.4f, 6.1f, 0.7f),
           Linear({0, 3}, ink::kOrange, {0, 6}, Darker(ink::kOrange, 0.25f), 2));
    p.Fill(Circle({4.0f, 2.5f}, 1.35f),
           WithAlpha(ink::kOutline, 0.55f));  // keeps the head apart from the arms
    p.Fill(Circle({4.0f, 2.5f}, 1.0f), ink::kSkin);
    p.Fill(Intersect(Circle({4.0f, 2.5f}, 1.05f), RoundRect(0, 0, 8, 2.2f)), ink::kDarkBrown);
    p.Pop();
}

void DrawRopeLink(Painter& p) {
    Shape link = Capsule({4, 1.5f}, {4, 6.5f}, 1.0f);
    p.Fill(link, Linear({3, 0}, ink::kSand, {5, 0}, ink::kBrown, 2));
    // Twist of the braid.
    p.Fill(Intersect(link, Capsule({3, 2.6f}, {5, 3.6f}, 0.3f)), ink::kDarkBrown);
    p.Fill(Intersect(link, Capsule({3, 4.6f}, {5, 5.6f}, 0.3f)), ink::kDarkBrown);
}

void DrawShot(Painter& p) {
    V2 c{4, 4};
    p.Fill(Circle(c, 3.2f), WithAlpha(ink::kOrange, 0.6f), 1.0f, 1.2f);
    p.Fill(Circle(c, 2.0f), ink::kYellow);
    p.Fill(Circle(c, 1.0f), ink::kWhite);
}

void DrawExplosion(Painter& p, int kind) {
    V2 c{4, 4};
    if (kind == 0) {
        // A white-hot flash with spikes.
        p.Fill(Star(c, 8, 3.9f, 1.9f, -90), ink::kOrange);
        p.Fill(Star(c, 8, 3.0f, 1.6f, -67.5f), ink::kYellow);
        p.Fill(Circle(c, 1.5f), ink::kWhite);
    } else if (kind == 1) {
        // A cluster of fireballs.
        const V2 balls[] = {{3, 3.2f}, {5.2f, 3.6f}, {3.8f, 5.3f}, {2.4f, 4.8f}, {5.4f, 5.4f}};
        for (V2 b : balls) p.Fill(Circle(b, 1.9f), ink::kRed);
        for (V2 b : balls) p.Fill(Circle(b - V2{0.3f, 0.3f}, 1.3f), ink::kOrange);
        p.Fill(Circle({3.8f, 4.0f}, 1.3f), ink::kYellow);
        p.Fill(Circle({3.6f, 3.8f}, 0.6f), ink::kPaleYellow);
    } else {
        // Smoke with embers inside.
        const V2 puffs[] = {{3, 3}, {5.2f, 3.4f}, {4, 5.2f}, {2.5f, 5}, {5.5f, 5.3f}};
        for (V2 b : puffs) p.Fill(Circle(b, 1.9f), ink::kDarkGrey);
        for (V2 b : puffs) p.Fill(Circle(b - V2{0.4f, 0.4f}, 1.2f), ink::kGrey);
        p.Fill(Circle({4.2f, 4.4f}, 1.2f), ink::kOrange);
        p.Fill(Circle({4.0f, 4.2f}, 0.6f), ink::kYellow);
    }
}

void DrawFrame(Painter& p, int f) {
    switch (f) {
        case 0:
        case 1:
        case 2:
        case 3: DrawPerson(p, {0, 0}, f / 4.0f, ink::kYellow); break;
        case 4:
        case 5: DrawHanging(p, f - 4); break;
        case 8: DrawRopeLink(p); break;
        case 9: DrawShot(p); break;
        case 12: DrawPerson(p, {0, 0}, 2.0f, ink::kGreen); break;
        case 16:
        case 17:
        case 18: DrawExplosion(p, f - 16); break;
        default: break;
    }
}

}  // namespace

ImageAsset SmallSheet() { return {{"gfx_small", 8, 8, 64, 8}, DrawFrame}; }

}  // namespace assetgen
