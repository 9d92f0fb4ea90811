// SPDX-License-Identifier: Zlib
// "gfx": 32 x 32 frames. 0..9 the helicopter with its rotors turning through
// one cycle, 10 the home-pad marker of the radar, 12..15 the enemy craft.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

void DrawPadMarker(Painter& p) {
    V2 c{16, 16};
    p.Outlined(Circle(c, 6.5f), Linear({0, 9.5f}, ink::kPaleYellow, {0, 22.5f}, ink::kOrange, 3), 1.0f);
    p.Fill(Circle(c, 4.6f), ink::kNavy);
    Shape h =
        Union({Capsule({14.2f, 13.6f}, {14.2f, 18.4f}, 0.7f), Capsule({17.8f, 13.6f}, {17.8f, 18.4f}, 0.7f),
               Capsule({14.2f, 16.0f}, {17.8f, 16.0f}, 0.7f)});
    p.Fill(h, ink::kWhite);
}

// A hostile drone-jet flying leftward: nose at the left, engine glow at the
// right. The four frames flicker the exhaust and blink the fin beacon.
void DrawEnemy(Painter& p, int step) {
    static const float kFlame[4] = {3.4f, 2.4f, 3.9f, 2.8f};
    static const float kBob[4] = {0.0f, 0.4f, 0.0f, -0.4f};
    float b = kBob[step];
    auto at = [b](float x, float y) { return V2{x, y + b}; };

    Shape body = Polygon({at(2.5f, 14.2f), at(8, 11.2f), at(20, 10.4f), at(26.5f, 11.6f), at(27.5f, 15.2f),
                          at(21, 17.2f), at(8, 16.8f)});
    Shape fin = Polygon({at(19, 11), at(23.4f, 5.6f), at(26.4f, 5.6f), at(25.6f, 11.8f)});
    Shape wing = Polygon({at(12.5f, 14.5f), at(19.5f, 14.5f), at(24.5f, 20.2f), at(19.5f, 20.2f)});
    Shape nozzle = RoundRect(26, 11.6f + b, 29.2f, 15.4f + b, 0.8f);

    // Exhaust flame behind the craft, drawn first so the nozzle covers its root.
    float len = kFlame[step];
    V2 fc = at(29.0f + len * 0.5f, 13.5f);
    p.Fill(Ellipse(fc, len * 0.5f + 1.2f, 2.4f), WithAlpha(ink::kOrange, 0.55f), 1.0f, 0.8f);
    p.Fill(Ellipse(fc - V2{0.4f, 0}, len * 0.5f, 1.3f), ink::kYellow);
    p.Fill(Ellipse(at(29.4f, 13.5f), 1.2f, 0.8f), ink::kWhite);

    p.Fill(Offset(Union({body, fin, wing, nozzle}), 1.0f), ink::kOutline);
    p.Fill(fin, Linear(at(0, 5), Lighter(ink::kPurple, 0.2f), at(0, 12), Darker(ink::kPurple, 0.3f), 3));
    p.Fill(body, Linear(at(0, 10), Lighter(ink::kPurple, 0.45f), at(0, 17), Darker(ink::kPurple, 0.35f), 4));
    p.Fill(Intersect(body, RoundRect(2, 14.6f + b, 28, 15.6f + b)), ink::kMagenta);
    p.Fill(Offset(wing, 0.0f),
           Linear(at(0, 14), Darker(ink::kPurple, 0.25f), at(0, 20), Darker(ink::kPurple, 0.55f), 3));
    p.Fill(nozzle, ink::kDarkGrey);
    // Visor and gun.
    p.Fill(Ellipse(at(11.0f, 12.6f), 3.6f, 1.7f), Linear(at(8, 0), ink::kYellow, at(14, 0), ink::kRed, 3));
    p.Fill(Capsule(at(9.8f, 12.0f), at(11.6f, 12.0f), 0.35f), WithAlpha(ink::kWhite, 0.85f));
    p.Outlined(Capsule(at(4.0f, 16.6f), at(8.0f, 16.6f), 0.5f), ink::kGrey, 0.5f);
    // Fin beacon: bright on even frames.
    bool lit = step % 2 == 0;
    if (lit) p.Fill(Circle(at(24.8f, 5.6f), 2.4f), WithAlpha(ink::kRed, 0.5f), 1.0f, 0.8f);
    p.Fill(Circle(at(24.8f, 5.6f), 0.9f), lit ? ink::kPaleYellow : ink::kDarkRed);
}

void DrawFrame(Painter& p, int f) {
    if (f < 10) {
        DrawHelicopter(p, {16, 16}, f / 10.0f);
    } else if (f == 10) {
        DrawPadMarker(p);
    } else if (f >= 12) {
        p.Push(Affine::Translate({-1.5f, 0}));  // leave room for the exhaust
        DrawEnemy(p, f - 12);
        p.Pop();
    }
}

}  // namespace

ImageAsset GfxSheet() { return {{"gfx", 32, 32, 16, 4}, DrawFrame}; }

}  // namespace assetgen
