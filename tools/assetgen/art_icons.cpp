// SPDX-License-Identifier: Zlib
// "common/icons": 32 x 32 frames. 0 pause, 1 give up (a cross), 3 play,
// 6 the selection ring, 7 calibrate. The game tints them with its draw
// colour, so they are light discs with dark symbols.
#include "art.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{16, 16};
constexpr Color kSymbol = Hex(0x232a4a);

void DrawDisc(Painter& p) {
    Shape disc = Circle(kCentre, 13.5f);
    p.Fill(Offset(disc, 1.3f), ink::kOutline);
    p.Fill(disc, Linear({0, 3}, ink::kWhite, {0, 29}, ink::kLightGrey, 4));
    p.Fill(Intersect(Offset(disc, -1.5f), Ellipse({16, 8}, 10, 5)), WithAlpha(ink::kWhite, 0.8f));
}

Shape Symbol(int f) {
    switch (f) {
        case 0: return Union(RoundRect(10.5f, 9, 14.5f, 23, 1), RoundRect(17.5f, 9, 21.5f, 23, 1));
        case 1: return Union(Capsule({11, 11}, {21, 21}, 2.2f), Capsule({21, 11}, {11, 21}, 2.2f));
        case 3: return Offset(Polygon({{12.5f, 9.5f}, {23, 16}, {12.5f, 22.5f}}), 1.0f);
        default: {  // calibrate: a crosshair with a centre dot
            std::vector<Shape> parts{Ring(kCentre, 6.5f, 1.2f), Circle(kCentre, 1.8f)};
            for (int k = 0; k < 4; ++k)
                parts.push_back(
                    Capsule(Polar(kCentre, 4.5f, k * 90.0f), Polar(kCentre, 10, k * 90.0f), 1.0f));
            return Union(parts);
        }
    }
}

void DrawRing(Painter& p) {
    Shape ring = Ring(kCentre, 13.0f, 1.7f);
    p.Fill(Offset(ring, 1.0f), ink::kOutline);
    p.Fill(ring, ink::kWhite);
}

void DrawFrame(Painter& p, int f) {
    if (f == 6) {
        DrawRing(p);
    } else if (f == 0 || f == 1 || f == 3 || f == 7) {
        DrawDisc(p);
        p.Fill(Symbol(f), kSymbol);
    }
}

}  // namespace

ImageAsset IconSheet() { return {{"common/icons", 32, 32, 16, 4}, DrawFrame}; }

}  // namespace assetgen
