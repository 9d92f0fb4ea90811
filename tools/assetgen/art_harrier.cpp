// SPDX-License-Identifier: Zlib
// "gfx_harrier": 128 x 32 frames, 0..11 a jump-jet hovering at the world's
// edge: it bobs gently on its downward thrust, the exhaust flickers and the
// beacons blink. The jet fills the upper half; the plumes reach the bottom.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

constexpr Color kTop = Hex(0x5f7ba6);
constexpr Color kBelly = Hex(0xa9bdd6);
constexpr int kSteps = 12;

void DrawPlume(Painter& p, V2 nozzle, float length, float flicker) {
    V2 end = nozzle + V2{0, length};
    V2 c = Lerp(nozzle, end, 0.5f);
    p.Fill(Ellipse(c, 4.6f + flicker, length * 0.5f + 1.0f),
           Linear(nozzle, WithAlpha(ink::kPaleYellow, 0.55f), end, WithAlpha(ink::kSky, 0.0f), 4), 1.0f,
           1.5f);
    p.Fill(Ellipse(c - V2{0, 1.0f}, 2.4f + 0.5f * flicker, length * 0.42f),
           Linear(nozzle, ink::kYellow, end, WithAlpha(ink::kOrange, 0.0f), 4), 1.0f, 0.6f);
    p.Fill(Ellipse(nozzle + V2{0, 2.0f}, 1.5f, 2.2f + flicker), ink::kWhite);
}

void DrawJet(Painter& p, int step) {
    float phase = 2.0f * kPi * step / kSteps;
    float bob = 1.1f * std::sin(phase);
    auto at = [bob](float x, float y) { return V2{x, y + bob}; };

    // Exhaust plumes under the vectored nozzles, drawn first.
    float flicker = 0.5f * std::sin(phase * 3.0f);
    DrawPlume(p, at(58, 18.5f), 12.5f - bob, flicker);
    DrawPlume(p, at(78, 18.5f), 12.5f - bob, -flicker);

    Shape body =
        Polygon({at(12, 9), at(30, 8.4f), at(70, 7.8f), at(92, 7.4f), at(104, 8.6f), at(114, 10.6f),
                 at(121, 12.6f), at(114, 14.6f), at(100, 15.6f), at(70, 16.2f), at(36, 15.6f), at(12, 14)});
    Shape fin = Polygon({at(12, 9.5f), at(30, 8.6f), at(22, 1.2f), at(15, 1.2f)});
    Shape tailplane = Polygon({at(6, 11), at(24, 11), at(26, 12.8f), at(8, 13.6f)});
    Shape wing = Polygon({at(48, 12.4f), at(74, 12.4f), at(68, 15.6f), at(42, 15.6f)});
    Shape canopy = Ellipse(at(99, 8.6f), 9.0f, 4.2f);
    Shape nozzles = Union(RoundRect(55, 14.5f + bob, 61, 19.5f + bob, 1.2f),
                          RoundRect(75, 14.5f + bob, 81, 19.5f + bob, 1.2f));
    Shape gear = Union({Capsule(at(92, 15), at(92, 19), 0.6f), Capsule(at(40, 15), at(40, 19), 0.6f)});
    Shape wheels = Union(Circle(at(92, 19.6f), 1.6f), Circle(at(40, 19.6f), 1.6f));

    p.Fill(Offset(Union({body, fin, tailplane, canopy, nozzles, gear, wheels}), 1.2f), ink::kOutline);
    p.Fill(gear, ink::kGrey);
    p.Fill(wheels, ink::kDarkGrey);
    p.Fill(Circle(at(92, 19.6f), 0.6f), ink::kLightGrey);
    p.Fill(Circle(at(40, 19.6f), 0.6f), ink::kLightGrey);
    p.Fill(canopy, Linear(at(0, 4.5f), ink::kWhite, at(0, 10), ink::kSky, 3));
    p.Fill(Capsule(at(95, 6.2f), at(101, 5.6f), 0.55f), WithAlpha(ink::kWhite, 0.9f));
    p.Fill(fin, Linear(at(0, 1), Lighter(kTop, 0.2f), at(0, 9), kTop, 3));
    p.Fill(tailplane, Darker(kTop, 0.2f));
    p.Fill(body, Linear(at(0, 7.5f), Lighter(kTop, 0.15f), at(0, 16), kBelly, 4));
    p.Fill(Intersect(body, RoundRect(10, 12.4f + bob, 122, 13.4f + bob)), Darker(kTop, 0.25f));
    p.Outlined(wing, Linear(at(0, 12), Darker(kTop, 0.1f), at(0, 16), Darker(kTop, 0.4f), 2), 0.8f);
    p.Fill(nozzles, ink::kDarkGrey);
    // Intake with the studio roundel, and the nose cone.
    p.Outlined(Ellipse(at(84, 11.2f), 4.2f, 3.2f), ink::kShadow, 0.8f);
    p.Fill(Circle(at(70, 10.8f), 2.6f), ink::kWhite);
    p.Fill(Circle(at(70, 10.8f), 1.8f), ink::kBlue);
    p.Fill(Circle(at(70, 10.8f), 0.9f), ink::kRed);
    p.Fill(Intersect(body, Circle(at(124, 12.6f), 6.0f)), ink::kDarkGrey);
    // Beacons: fin tip and wing tip, flashing twice per cycle.
    bool flash = step % 6 < 2;
    V2 lights[] = {at(18.5f, 1.5f), at(45, 15)};
    for (V2 l : lights) {
        if (flash) p.Fill(Circle(l, 3.0f), WithAlpha(ink::kRed, 0.45f), 1.0f, 1.0f);
        p.Fill(Circle(l, 1.0f), flash ? ink::kPaleYellow : ink::kDarkRed);
    }
}

void DrawFrame(Painter& p, int f) {
    if (f < kSteps) DrawJet(p, f);
}

}  // namespace

ImageAsset HarrierSheet() { return {{"gfx_harrier", 128, 32, 16, 2}, DrawFrame}; }

}  // namespace assetgen
