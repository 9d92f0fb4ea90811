// SPDX-License-Identifier: Zlib
// "common/ZelvLogo": the studio's mark, 256 x 256: a cheerful turtle walking
// right above the word "ZELV" in chunky rounded letters.
// The menu shows the mark small in its top right corner, centred 32 pixels
// below the screen's top, with the title of the score list just under it.
// So the mark is drawn at 0.7 of its full size in the frame's upper part
// (rows 42 to about 180), and the frame's top and bottom stay empty: the top
// would fall off the screen and the bottom onto the title. The start screen
// shows the frame whole at 0.48 of the screen's height, with "Click to
// Start" and its dark ovals from 0.7 of the height less 24 pixels: on the
// shortest screens the game draws (434 virtual pixels tall, a 16:9 page
// under its help strip) the lettering must end above row 199, and with
// room to spare it does.
#include <cmath>

#include "art.h"
#include "glyph_shapes.h"

namespace assetgen {

namespace {

constexpr Color kShellLight = Hex(0x8fe36b);
constexpr Color kShellDark = Hex(0x2f9a4c);
constexpr Color kSkinLight = Hex(0xb8f08a);
constexpr Color kSkinDark = Hex(0x5fb85a);

// The mark is laid out with its outline's top at row 59; it is drawn scaled
// by kMarkScale about the frame's middle column, that top moved to kMarkTop.
constexpr float kMarkScale = 0.7f, kLaidOutTop = 59, kMarkTop = 42;

void DrawTurtle(Painter& p) {
    Shape dome = Intersect(Ellipse({116, 112}, 62, 50), RoundRect(40, 50, 192, 112));
    Shape rim = RoundRect(50, 104, 184, 120, 8);
    Shape head = Circle({204, 92}, 18);
    Shape neck = Capsule({176, 112}, {198, 98}, 12);
    Shape legs = Union({RoundRect(150, 112, 174, 138, 8), RoundRect(70, 112, 94, 138, 8)});
    Shape farLegs = Union({RoundRect(168, 110, 188, 132, 8), RoundRect(52, 110, 72, 132, 8)});
    Shape tail = Polygon({{52, 108}, {36, 118}, {54, 118}});

    p.Fill(Offset(Union({farLegs, tail}), 3), ink::kOutline);
    p.Fill(Union(farLegs, tail), kSkinDark);
    p.Fill(Offset(Union({dome, rim, head, neck, legs}), 3), ink::kOutline);
    p.Fill(Union(neck, legs), Linear({0, 90}, kSkinLight, {0, 138}, kSkinDark, 3));
    p.Fill(head, Radial({198, 84}, 22, kSkinLight, kSkinDark, 3));
    p.Fill(dome, Linear({0, 62}, kShellLight, {0, 112}, kShellDark, 4));
    // Shell plates with dark seams.
    const V2 plates[] = {{116, 80}, {82, 96}, {150, 96}, {116, 116}};
    for (V2 c : plates)
        p.Fill(Intersect(Offset(dome, -5), Offset(RegularPolygon(c, 6, 17, 0), -1.5f)),
               Linear({0, c.y - 17}, Lighter(kShellLight, 0.35f), {0, c.y + 17}, kShellLight, 3));
    p.Fill(rim, Linear({0, 104}, Hex(0xffe27a), {0, 120}, Hex(0xd89a2a), 2));
    for (int k = 0; k < 8; ++k)
        p.Fill(Capsule({62.0f + 16 * k, 106}, {62.0f + 16 * k, 118}, 1.2f), WithAlpha(Hex(0xa86a1c), 0.7f));
    // Face: eye with a glint, rosy cheek, smile.
    p.Fill(Circle({208, 86}, 6.5f), ink::kWhite);
    p.Fill(Circle({210, 87}, 3.6f), ink::kOutline);
    p.Fill(Circle({211.5f, 85.2f}, 1.3f), ink::kWhite);
    p.Fill(Circle({200, 99}, 4.2f), WithAlpha(Hex(0xff8fb0), 0.7f));
    p.Fill(Arc({208, 95}, 7, 20, 110, 1.6f), ink::kOutline);
    // Gloss on the shell.
    p.Fill(Intersect(Offset(dome, -8), Ellipse({98, 70}, 26, 9)), WithAlpha(ink::kWhite, 0.3f));
}

void DrawWord(Painter& p) {
    const float cell = 9.0f, radius = 6.4f, gap = 1.5f;
    float width = TextWidthCells("ZELV", gap) * cell;
    V2 topLeft{128 - width * 0.5f, 152};
    std::vector<Shape> letters = TextStrokes("ZELV", topLeft, cell, radius / cell, gap);
    for (const Shape& s : letters) p.Fill(Translated(Offset(s, 3.5f), {3, 5}), ink::kOutline);
    for (const Shape& s : letters) p.Fill(Offset(s, 3.5f), ink::kOutline);
    for (const Shape& s : letters)
        p.Fill(s, Linear({0, topLeft.y}, ink::kWhite, {0, topLeft.y + 7 * cell}, ink::kPaleYellow, 3));
    // "GAMES" underneath in small letters.
    const float small = 3.2f;
    float w2 = TextWidthCells("GAMES", 1.6f) * small;
    std::vector<Shape> sub = TextStrokes("GAMES", {128 - w2 * 0.5f, 230}, small, 0.62f, 1.6f);
    for (const Shape& s : sub) p.Fill(Offset(s, 2.0f), ink::kOutline);
    for (const Shape& s : sub) p.Fill(s, ink::kWhite);
}

void DrawLogo(Painter& p, int) {
    p.Push(Affine{kMarkScale, 0, 0, kMarkScale, 128 * (1 - kMarkScale), kMarkTop - kLaidOutTop * kMarkScale});
    DrawTurtle(p);
    DrawWord(p);
    p.Pop();
}

}  // namespace

ImageAsset StudioLogoSheet() { return {{"common/ZelvLogo", 256, 256, 1, 1}, DrawLogo}; }

}  // namespace assetgen
