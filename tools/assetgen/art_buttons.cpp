// SPDX-License-Identifier: Zlib
// "common/Buttons": 64 x 64 frames. 0..2 the game-mode buttons (more enemies
// and fewer people as the mode rises), 8..10 three gear layers that the menu
// stacks and turns at different speeds, 12 a dial face for the credits.
#include <cmath>

#include "art.h"
#include "glyph_shapes.h"

namespace assetgen {

namespace {

constexpr V2 kCentre{32, 32};

Shape EnemyDart(V2 c) {
    return Polygon({{c.x - 5, c.y},
                    {c.x + 1, c.y - 3},
                    {c.x + 4, c.y - 4},
                    {c.x + 5, c.y - 1},
                    {c.x + 5, c.y + 1.5f},
                    {c.x + 1, c.y + 3}});
}

void DrawPersonIcon(Painter& p, V2 c) {
    Shape person = Union(
        {Circle({c.x, c.y - 4.0f}, 2.1f), RoundRect(c.x - 2.4f, c.y - 0.9f, c.x + 2.4f, c.y + 4.5f, 1.2f)});
    p.Fill(Offset(person, 1.0f), ink::kOutline);
    p.Fill(person, ink::kPaleYellow);
}

void DrawModeButton(Painter& p, int mode) {
    static const Color kFace[3] = {Hex(0x3fbf55), Hex(0xf2912b), Hex(0xe0413a)};
    Color face = kFace[mode - 1];
    Shape body = RoundRect(4, 4, 60, 60, 12);
    p.Fill(Offset(body, 1.6f), ink::kOutline);
    p.Fill(body, Linear({0, 4}, Lighter(face, 0.25f), {0, 60}, Darker(face, 0.3f), 5));
    p.Fill(Subtract(Offset(body, -1.2f), Translated(Offset(body, -1.2f), {0, 2.2f})),
           WithAlpha(ink::kWhite, 0.6f));

    // The mode's number.
    const float cell = 3.0f;
    std::string digit(1, static_cast<char>('0' + mode));
    Shape numeral = TextStrokes(digit, {32 - 2.5f * cell, 7.5f}, cell, 0.62f, 0)[0];
    p.Fill(Translated(Offset(numeral, 1.6f), {1, 1.5f}), WithAlpha(ink::kOutline, 0.5f));
    p.Fill(Offset(numeral, 1.6f), ink::kOutline);
    p.Fill(numeral, ink::kWhite);

    // Enemies (one more per mode) over people (one fewer per mode).
    p.Fill(RoundRect(9, 33, 55, 57, 4), WithAlpha(ink::kOutline, 0.35f));
    for (int k = 0; k < mode; ++k) {
        Shape dart = EnemyDart({32 + (k - (mode - 1) * 0.5f) * 13.0f, 39});
        p.Fill(Offset(dart, 1.0f), ink::kOutline);
        p.Fill(dart, Hex(0xb877f0));
    }
    int people = 4 - mode;
    for (int k = 0; k < people; ++k) DrawPersonIcon(p, {32 + (k - (people - 1) * 0.5f) * 10.0f, 51});
}

Shape Gear(float base, int teeth, float depth, float toothWidth, float hole) {
    std::vector<Shape> parts{Circle(kCentre, base)};
    Shape tooth =
        RoundRect(32 + base - 1, 32 - toothWidth * 0.5f, 32 + base + depth, 32 + toothWidth * 0.5f, 1.0f);
    for (int k = 0; k < teeth; ++k) parts.push_back(Rotated(tooth, kCentre, k * 360.0f / teeth));
    return Subtract(Union(parts), Circle(kCentre, hole));
}

void DrawGear(Painter& p, int layer) {
    struct Layer {
        float base;
        int teeth;
        float depth, width, hole;
        Color light, dark;
    };
    static const Layer kLayers[3] = {
        {25, 16, 4.5f, 5.5f, 19, Hex(0x8fa3c7), Hex(0x45557e)},
        {16.5f, 10, 4.0f, 5.0f, 9, Hex(0xffd66b), Hex(0xc27f22)},
        {8.5f, 8, 3.2f, 3.6f, 3, Hex(0xf4f6fb), Hex(0x9aa3b8)},
    };
    const Layer& l = kLayers[layer];
    Shape gear = Gear(l.base, l.teeth, l.depth, l.width, l.hole);
    p.Fill(Offset(gear, 1.4f), ink::kOutline);
    p.Fill(gear, Linear({0, 32 - l.base - l.depth}, l.light, {0, 32 + l.base + l.depth}, l.dark, 4));
    // A bevel ring just inside the teeth.
    p.Fill(Intersect(gear, Ring(kCentre, l.base - 2.5f, 0.7f)), WithAlpha(ink::kOutline, 0.35f));
}

void DrawDial(Painter& p) {
    p.Fill(Circle(kCentre, 29.5f), ink::kOutline);
    p.Fill(Circle(kCentre, 28), Linear({0, 4}, ink::kLightGrey, {0, 60}, ink::kDarkGrey, 4));
    p.Fill(Circle(kCentre, 24), Radial({28, 26}, 30, Hex(0xfffbea), Hex(0xe8dcc0), 3));
    p.Fill(Arc(kCentre, 19, 135, 270, 2.6f), ink::kGreen);
    p.Fill(Arc(kCentre, 19, 270, 345, 2.6f), ink::kYellow);
    p.Fill(Arc(kCentre, 19, 345, 405, 2.6f), ink::kRed);
    for (int k = 0; k <= 10; ++k) {
        float a = 135 + 27.0f * k;
        float inner = k % 2 == 0 ? 13 : 15;
        p.Fill(Capsule(Polar(kCentre, inner, a), Polar(kCentre, 17, a), k % 2 == 0 ? 1.0f : 0.6f),
               ink::kOutline);
    }
    V2 tip = Polar(kCentre, 20, 300);
    p.Fill(Translated(Capsule(kCentre, tip, 1.3f), {0.8f, 1.2f}), WithAlpha(ink::kOutline, 0.4f));
    p.Fill(Capsule(kCentre, tip, 1.3f), ink::kRed);
    p.Outlined(Circle(kCentre, 3.2f), ink::kDarkGrey, 1.0f);
    p.Fill(Intersect(Circle(kCentre, 23), Ellipse({27, 18}, 15, 6)), WithAlpha(ink::kWhite, 0.45f));
}

void DrawFrame(Painter& p, int f) {
    if (f <= 2)
        DrawModeButton(p, f + 1);
    else if (f >= 8 && f <= 10)
        DrawGear(p, f - 8);
    else if (f == 12)
        DrawDial(p);
}

}  // namespace

ImageAsset ButtonSheet() { return {{"common/Buttons", 64, 64, 16, 4}, DrawFrame}; }

}  // namespace assetgen
