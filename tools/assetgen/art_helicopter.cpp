// SPDX-License-Identifier: Zlib
// The player's rescue helicopter, side view facing right. Coordinates are
// laid out for a 32 x 32 box centred on (16, 16): rotor on top around row 7,
// skids at row 22, so the rope hook sits just below the centre.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

struct HeliParts {
    Shape boom, fin, cabin, skids;
};

HeliParts BuildParts(V2 o) {
    auto at = [o](float x, float y) { return V2{x + o.x, y + o.y}; };
    HeliParts h;
    h.boom = Polygon({at(5, 10.6), at(14, 10.8), at(14, 15), at(5, 12.8)});
    h.fin = Polygon({at(2.6, 6.4), at(5.2, 6.4), at(7.6, 11.4), at(6.2, 14.2), at(3.4, 13.2)});
    h.cabin =
        Union(Ellipse(at(19.5, 14.2), 8.6, 5.4), RoundRect(12 + o.x, 13 + o.y, 25 + o.x, 19.4 + o.y, 2.6));
    h.skids = Union({Capsule(at(14.6, 18.6), at(13.4, 21.8), 0.6), Capsule(at(23, 18.6), at(24, 21.8), 0.6),
                     Stroke({at(9.6, 22.4), at(25.4, 22.4), at(27.6, 20.8)}, 0.7)});
    return h;
}

void DrawMainRotor(Painter& p, V2 hub, float phase, bool front) {
    // Three blades seen edge-on: each tip swings along a flat ellipse; blades
    // on the far half (sin < 0) are drawn before the body, the rest after it.
    for (int k = 0; k < 3; ++k) {
        float a = 2.0f * kPi * (phase / 3.0f + k / 3.0f);
        bool isFront = std::sin(a) >= 0;
        if (isFront != front) continue;
        V2 tip{hub.x + 14.0f * std::cos(a), hub.y + 1.3f * std::sin(a)};
        p.Fill(Capsule(hub, tip, 0.65f), isFront ? ink::kDarkGrey : ink::kShadow);
    }
}

}  // namespace

void DrawHelicopter(Painter& p, V2 centre, float phase) {
    V2 o = centre - V2{16, 16};
    auto at = [o](float x, float y) { return V2{x + o.x, y + o.y}; };
    HeliParts h = BuildParts(o);
    V2 hub = at(18.5f, 7.6f);

    // Motion blur of the main rotor: a faint disc edge-on.
    p.Fill(Ellipse(hub, 14.5f, 1.9f), WithAlpha(ink::kWhite, 0.35f), 1.0f, 0.6f);
    DrawMainRotor(p, hub, phase, false);

    // Outline of the whole airframe first, so joints between parts stay clean.
    p.Fill(Offset(Union({h.boom, h.fin, h.cabin}), 1.0f), ink::kOutline);
    p.Fill(Offset(h.skids, 0.7f), ink::kOutline);
    p.Fill(h.skids, ink::kGrey);

    Paint bodyPaint = Linear(at(0, 9), Lighter(ink::kRed, 0.18f), at(0, 20), Darker(ink::kRed, 0.28f), 4);
    p.Fill(h.boom, bodyPaint);
    p.Fill(h.fin, Linear(at(0, 6), Lighter(ink::kRed, 0.2f), at(0, 14), Darker(ink::kRed, 0.35f), 3));
    p.Fill(h.cabin, bodyPaint);
    // White band along the cabin and boom.
    p.Fill(Intersect(Union(h.cabin, h.boom), RoundRect(4 + o.x, 15.6f + o.y, 30 + o.x, 17 + o.y)),
           ink::kWhite);
    // Canopy glass with a highlight glint.
    Shape glass = Intersect(Offset(h.cabin, -1.0f), Ellipse(at(24.2f, 12.4f), 5.2f, 3.6f));
    p.Fill(glass, Linear(at(0, 9.5f), ink::kWhite, at(0, 15.5f), ink::kSky, 3));
    p.Fill(Capsule(at(23.0f, 10.8f), at(25.4f, 11.2f), 0.45f), WithAlpha(ink::kWhite, 0.9f));
    // Side window, door seam, rope hook.
    p.Fill(RoundRect(15.4f + o.x, 11.6f + o.y, 18.6f + o.x, 14.6f + o.y, 1.0f), ink::kShadow);
    p.Fill(RoundRect(15.8f + o.x, 12.0f + o.y, 18.2f + o.x, 13.2f + o.y, 0.6f), ink::kGlass);
    p.Fill(Capsule(at(20.0f, 12.2f), at(20.0f, 18.6f), 0.25f), Darker(ink::kRed, 0.5f));
    p.Fill(Ring(at(18.0f, 20.0f), 0.8f, 0.3f), ink::kDarkGrey);

    // Tail rotor: two blades turning in the picture plane, half a turn per cycle.
    V2 tail = at(4.0f, 10.2f);
    float ta = kPi * phase;
    V2 d{3.4f * std::cos(ta), 3.4f * std::sin(ta)};
    p.Fill(Circle(tail, 3.6f), WithAlpha(ink::kWhite, 0.25f), 1.0f, 0.6f);
    p.Fill(Capsule(tail - d, tail + d, 0.55f), ink::kDarkGrey);
    p.Fill(Circle(tail, 0.9f), ink::kLightGrey);

    // Mast, hub and the near blades.
    p.Outlined(RoundRect(17.6f + o.x, 7.6f + o.y, 19.4f + o.x, 10.4f + o.y, 0.4f), ink::kGrey, 0.6f);
    DrawMainRotor(p, hub, phase, true);
    p.Outlined(Circle(hub, 1.2f), ink::kLightGrey, 0.6f);
}

}  // namespace assetgen
