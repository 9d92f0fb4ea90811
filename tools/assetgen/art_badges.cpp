// SPDX-License-Identifier: Zlib
// "BadgesA": 64 medallions, 64 x 64 each. Badge i pairs emblem i % 8 with
// material i / 8; the rim shape cycles with both, so no two look alike.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{32, 32};

struct Material {
    Color light, dark, face;
};

constexpr Material kMaterials[8] = {
    {Hex(0xe9a86a), Hex(0x8f5530), Hex(0x4a2a22)},  // bronze
    {Hex(0xf0f3f8), Hex(0x8c96aa), Hex(0x2f3b5c)},  // silver
    {Hex(0xffe27a), Hex(0xc48a1c), Hex(0x7a2230)},  // gold
    {Hex(0xff8a8a), Hex(0xb3263a), Hex(0x3b1230)},  // ruby
    {Hex(0x8deb94), Hex(0x25874b), Hex(0x143a33)},  // emerald
    {Hex(0x9fd2ff), Hex(0x2b5cbc), Hex(0x161f4d)},  // sapphire
    {Hex(0xdcaaff), Hex(0x7b3cb8), Hex(0x2b1646)},  // amethyst
    {Hex(0xfff6d8), Hex(0xd07b2a), Hex(0x1c2459)},  // sunburst
};

Shape RimShape(int kind) {
    switch (kind) {
        case 0: return Circle(kCentre, 27);
        case 1:  // heraldic shield, one polygon so insets stay exact
            return Offset(Polygon({{12, 9}, {52, 9}, {52, 38}, {32, 55}, {12, 38}}), 3.5f);
        case 2: {  // seal with sixteen scallops
            std::vector<Shape> bumps{Circle(kCentre, 24)};
            for (int k = 0; k < 16; ++k) bumps.push_back(Circle(Polar(kCentre, 24, k * 22.5f), 4.2f));
            return Union(bumps);
        }
        default: return Offset(RegularPolygon(kCentre, 6, 25, -90), 2.5f);
    }
}

Shape Emblem(int kind) {
    switch (kind) {
        case 0: return Offset(Star(kCentre, 5, 13, 5.6f), 0.8f);
        case 1:
            return Union({Circle({26.5f, 28}, 6.4f), Circle({37.5f, 28}, 6.4f),
                          Polygon({{20.6f, 30.5f}, {43.4f, 30.5f}, {32, 43.5f}})});
        case 2: return Polygon({{36, 17}, {24, 34}, {31, 34}, {27, 47}, {41, 29}, {33.5f, 29}, {38.5f, 17}});
        case 3: {  // rotor
            std::vector<Shape> parts{Circle(kCentre, 4.5f)};
            for (int k = 0; k < 3; ++k)
                parts.push_back(Capsule(kCentre, Polar(kCentre, 14, -90 + 120.0f * k), 2.6f));
            return Union(parts);
        }
        case 4:
            return Union({Circle({32, 21.5f}, 4.6f), RoundRect(26.5f, 27, 37.5f, 40, 3),
                          Capsule({27, 29}, {20, 20}, 2.2f), Capsule({37, 29}, {44, 20}, 2.2f),
                          Capsule({29.5f, 39}, {28.5f, 46}, 2.3f), Capsule({34.5f, 39}, {35.5f, 46}, 2.3f)});
        case 5:
            return Union(
                Polygon({{19, 41}, {18, 24}, {25.5f, 31}, {32, 20}, {38.5f, 31}, {46, 24}, {45, 41}}),
                RoundRect(19, 40, 45, 45, 1.5f));
        case 6: return Union(RoundRect(28, 18, 36, 46, 1.5f), RoundRect(18, 28, 46, 36, 1.5f));
        default: {
            std::vector<Shape> chevrons;
            for (int k = 0; k < 3; ++k)
                chevrons.push_back(
                    Stroke({{20, 28.5f + 7.5f * k}, {32, 21.5f + 7.5f * k}, {44, 28.5f + 7.5f * k}}, 2.3f));
            return Union(chevrons);
        }
    }
}

void DrawBadge(Painter& p, int index) {
    const Material& m = kMaterials[index / 8];
    int emblemKind = index % 8;
    Shape rim = RimShape((index / 8 + emblemKind) % 4);
    Shape face = Offset(rim, -5.0f);

    // Ribbon tails behind every other badge.
    if ((index / 8) % 2 == 1) {
        Color ribbon = index % 3 == 0 ? ink::kRed : index % 3 == 1 ? ink::kBlue : ink::kGreen;
        for (int side = -1; side <= 1; side += 2) {
            float x = 32 + side * 10.0f;
            Shape tail = Polygon({{x - 5, 40},
                                  {x + 5, 40},
                                  {x + 5 + side * 3.0f, 62},
                                  {x + side * 1.5f, 57},
                                  {x - 5 + side * 3.0f, 62}});
            p.Outlined(tail, Linear({0, 40}, ribbon, {0, 62}, Darker(ribbon, 0.35f), 3), 1.2f);
        }
    }
    p.Outlined(rim, Linear({0, 4}, m.light, {0, 60}, m.dark, 5), 1.5f);
    p.Fill(Offset(face, 1.2f), Darker(m.dark, 0.35f));
    Paint facePaint = index / 8 == 7 ? Radial(kCentre, 24, Hsv(index * 45.0f, 0.55f, 0.5f), m.face, 4)
                                     : Radial({28, 24}, 30, Lighter(m.face, 0.18f), m.face, 4);
    p.Fill(face, facePaint);
    // Rank studs around the face: one per emblem step.
    for (int k = 0; k <= emblemKind; ++k)
        p.Fill(Circle(Polar(kCentre, 21.5f, 90 + (k - emblemKind * 0.5f) * 13.0f), 1.3f), m.light);

    Shape emblem = Emblem(emblemKind);
    p.Fill(Translated(emblem, {1.2f, 1.6f}), WithAlpha(ink::kOutline, 0.6f));
    p.Outlined(emblem, Linear({0, 16}, Lighter(m.light, 0.4f), {0, 48}, m.light, 3), 1.0f);
    // Gloss across the upper rim.
    p.Fill(Intersect(Offset(rim, -1.5f), Ellipse({26, 12}, 20, 6)), WithAlpha(ink::kWhite, 0.35f));
}

}  // namespace

ImageAsset BadgeSheet() { return {{"BadgesA", 64, 64, 64, 8}, DrawBadge}; }

}  // namespace assetgen
