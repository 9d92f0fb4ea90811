// SPDX-License-Identifier: Zlib
// "icon/vornhelm": the desktop icon, 64 x 64 (so 64, 128 and 256 pixels at
// the three levels): the rescue helicopter over the sea in a rounded tile,
// a waiting person on the rope below it.
#include "art.h"

namespace assetgen {

namespace {

void DrawIcon(Painter& p, int) {
    Shape tile = RoundRect(2, 2, 62, 62, 12);
    p.Fill(Offset(tile, 1.5f), ink::kOutline);
    p.Fill(tile, Linear({0, 2}, Hex(0x9fe0ff), {0, 46}, ink::kSky, 4));
    // Sea with a low swell, and the sun setting into it.
    Shape sea = Intersect(tile, Union(RoundRect(2, 48, 62, 62), Ellipse({32, 50}, 40, 4)));
    p.Fill(Intersect(tile, Circle({50, 46}, 7)), ink::kYellow);
    p.Fill(sea, Linear({0, 46}, ink::kBlue, {0, 62}, ink::kDarkBlue, 3));
    for (float x : {10.0f, 26.0f, 42.0f})
        p.Fill(Capsule({x, 54}, {x + 8, 54}, 0.8f), WithAlpha(ink::kWhite, 0.6f));
    // Rope and a person holding on.
    p.Fill(Capsule({34, 33}, {34, 42}, 0.6f), ink::kDarkGrey);
    DrawPerson(p, {30, 41}, 2, ink::kRed);
    // The helicopter at 1.6 times its sprite's size, its centre at (32, 24).
    const float s = 1.6f;
    p.Push(Affine{s, 0, 0, s, 32 - 16 * s, 24 - 16 * s});
    DrawHelicopter(p, {16, 16}, 0.2f);
    p.Pop();
}

}  // namespace

ImageAsset AppIconSheet() { return {{"icon/vornhelm", 64, 64, 1, 1}, DrawIcon}; }

}  // namespace assetgen
