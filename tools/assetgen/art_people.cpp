// SPDX-License-Identifier: Zlib
// The little people of the game: 8 x 8 base-pixel boxes, feet on the bottom row,
// edges on whole base pixels so the 1x sprites stay crisp.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

constexpr Color kHair = ink::kDarkBrown;
constexpr Color kTrousers = ink::kDarkBlue;

V2 Hand(V2 shoulder, float angleDeg, float length) { return Polar(shoulder, length, angleDeg); }

}  // namespace

void DrawPerson(Painter& p, V2 at, float wave, Color shirt) {
    auto pt = [at](float x, float y) { return V2{at.x + x, at.y + y}; };
    V2 lShoulder = pt(3.0f, 3.6f), rShoulder = pt(5.0f, 3.6f);
    // Arms: down by default; the right arm swings overhead while waving.
    float leftAngle = wave >= 2.0f ? -115.0f : 110.0f;
    float rightAngle = wave >= 2.0f ? -65.0f : wave < 0 ? 70.0f : -30.0f - 60.0f * std::sin(kPi * wave);
    Color skin = ink::kSkin;
    p.Fill(Capsule(lShoulder, Hand(lShoulder, leftAngle, 2.2f), 0.5f), skin);
    p.Fill(Capsule(rShoulder, Hand(rShoulder, rightAngle, 2.2f), 0.5f), skin);
    // Legs, body, head.
    p.Fill(RoundRect(at.x + 3, at.y + 5.5f, at.x + 3.9f, at.y + 8, 0.2f), kTrousers);
    p.Fill(RoundRect(at.x + 4.1f, at.y + 5.5f, at.x + 5, at.y + 8, 0.2f), kTrousers);
    p.Fill(RoundRect(at.x + 2.7f, at.y + 3, at.x + 5.3f, at.y + 6, 0.7f),
           Linear(pt(0, 3), shirt, pt(0, 6), Darker(shirt, 0.25f), 2));
    p.Fill(Circle(pt(4.0f, 1.75f), 1.3f), skin);
    p.Fill(Intersect(Circle(pt(4.0f, 1.75f), 1.35f), RoundRect(at.x, at.y, at.x + 8, at.y + 1.4f)), kHair);
}

}  // namespace assetgen
