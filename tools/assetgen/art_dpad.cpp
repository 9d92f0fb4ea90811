// SPDX-License-Identifier: Zlib
// "common/dpad": 32 x 32 frames on a 4 x 4 sheet. The cross of the on-screen
// pad sits in the top-left 3 x 3: 1 up, 4 left, 5 centre, 6 right, 9 down;
// frame 0 is the round fire button.
#include "art.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{16, 16};

void DrawKey(Painter& p, float arrowDeg) {
    Shape key = RoundRect(3, 3, 29, 29, 6);
    p.Fill(Offset(key, 1.2f), WithAlpha(ink::kOutline, 0.8f));
    p.Fill(key, Linear({0, 3}, WithAlpha(ink::kDarkBlue, 0.75f), {0, 29}, WithAlpha(ink::kNavy, 0.75f), 3));
    p.Fill(Subtract(key, Offset(key, -1.4f)), WithAlpha(ink::kWhite, 0.55f));
    // Arrow pointing along arrowDeg (0 = right, 90 = down).
    Shape arrow = Offset(Polygon({Polar(kCentre, 8, arrowDeg), Polar(kCentre, 6.5f, arrowDeg + 125),
                                  Polar(kCentre, 6.5f, arrowDeg - 125)}),
                         1.0f);
    p.Fill(Translated(arrow, {0.8f, 1.2f}), WithAlpha(ink::kOutline, 0.6f));
    p.Fill(arrow, ink::kWhite);
}

void DrawCentre(Painter& p) {
    Shape hub = Circle(kCentre, 11);
    p.Fill(Offset(hub, 1.2f), WithAlpha(ink::kOutline, 0.8f));
    p.Fill(hub, Radial({13, 13}, 14, WithAlpha(ink::kDarkBlue, 0.8f), WithAlpha(ink::kNavy, 0.8f), 3));
    p.Fill(Circle(kCentre, 4), WithAlpha(ink::kWhite, 0.6f));
}

void DrawFire(Painter& p) {
    Shape button = Circle(kCentre, 13);
    p.Fill(Offset(button, 1.4f), ink::kOutline);
    p.Fill(button, Radial({12, 11}, 18, Lighter(ink::kRed, 0.3f), Darker(ink::kRed, 0.3f), 4));
    p.Fill(Ring(kCentre, 9, 1.0f), WithAlpha(ink::kWhite, 0.5f));
    p.Fill(Ellipse({12.5f, 10}, 5.5f, 3), WithAlpha(ink::kWhite, 0.45f));
}

void DrawFrame(Painter& p, int f) {
    switch (f) {
        case 0: DrawFire(p); break;
        case 1: DrawKey(p, -90); break;
        case 4: DrawKey(p, 180); break;
        case 5: DrawCentre(p); break;
        case 6: DrawKey(p, 0); break;
        case 9: DrawKey(p, 90); break;
        default: break;
    }
}

}  // namespace

ImageAsset DpadSheet() { return {{"common/dpad", 32, 32, 16, 4}, DrawFrame}; }

}  // namespace assetgen
