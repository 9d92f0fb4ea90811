// SPDX-License-Identifier: Zlib
// "logo": the game's title, 256 x 128. A round sky emblem on the left (the
// menu flies the helicopter in front of it) and "VORN / HELM" in leaning,
// extruded letters on the right.
#include "art.h"
#include "glyph_shapes.h"

namespace assetgen {

namespace {

constexpr V2 kEmblem{70, 66};

void DrawEmblem(Painter& p) {
    Shape disc = Circle(kEmblem, 34);
    p.Fill(Offset(disc, 5), ink::kOutline);
    p.Fill(Offset(disc, 3.5f), Linear({0, 30}, ink::kPaleYellow, {0, 102}, ink::kOrange, 4));
    p.Fill(disc, Linear({0, 32}, Hex(0xa8e6ff), {0, 100}, ink::kBlue, 5));
    // Sea and a sun low on the horizon.
    p.Fill(Intersect(disc, Circle({86, 78}, 10)), ink::kPaleYellow);
    p.Fill(Intersect(disc, RoundRect(30, 80, 110, 104)),
           Linear({0, 80}, ink::kTeal, {0, 104}, ink::kDarkBlue, 3));
    for (int k = 0; k < 3; ++k)
        p.Fill(Intersect(disc, Capsule({48.0f + 14 * k, 86.0f + 5 * (k % 2)},
                                       {56.0f + 14 * k, 86.0f + 5 * (k % 2)}, 0.9f)),
               WithAlpha(ink::kWhite, 0.7f));
    // Rotor swooshes sweeping across the sky.
    p.Fill(Intersect(disc, Arc(kEmblem, 24, 200, 250, 1.6f)), WithAlpha(ink::kWhite, 0.75f));
    p.Fill(Intersect(disc, Arc(kEmblem, 24, 290, 340, 1.6f)), WithAlpha(ink::kWhite, 0.75f));
}

void DrawWord(Painter& p, const std::string& word, float top) {
    const float cell = 5.0f, radius = 0.68f, gap = 1.3f;
    p.Push(Affine{1, 0, -0.2f, 1, 0.2f * (top + 20), 0});  // lean the letters right
    std::vector<Shape> letters = TextStrokes(word, {113, top}, cell, radius, gap);
    for (int depth = 5; depth >= 1; --depth)
        for (const Shape& s : letters)
            p.Fill(Translated(Offset(s, 2.2f), {depth * 0.7f, depth * 0.9f}),
                   depth == 5 ? ink::kOutline : ink::kDarkRed);
    for (const Shape& s : letters) p.Fill(Offset(s, 2.2f), ink::kOutline);
    for (const Shape& s : letters)
        p.Fill(s, Linear({0, top}, ink::kPaleYellow, {0, top + 7 * cell}, ink::kOrange, 5));
    for (const Shape& s : letters)
        p.Fill(Intersect(Offset(s, -1.2f), RoundRect(100, top - 4, 256, top + 2.2f * cell)),
               WithAlpha(ink::kWhite, 0.55f));
    p.Pop();
}

void DrawLogo(Painter& p, int) {
    DrawEmblem(p);
    DrawWord(p, "VORN", 22);
    DrawWord(p, "HELM", 70);
}

}  // namespace

ImageAsset TitleLogoSheet() { return {{"logo", 256, 128, 1, 1}, DrawLogo}; }

}  // namespace assetgen
