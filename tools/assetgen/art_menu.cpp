// SPDX-License-Identifier: Zlib
// "menu": 256 x 256 title backdrops, drawn three times larger behind the
// menu. Frame 0 is a bright day: sky, sea and the island with the home pad;
// frames 1..3 show the same island at sunset, at night and at dawn.
//
// The menu's translucent score panel lies over the picture's right part:
// from x 141 at 480 x 640 (from 188 at 640 x 480, from 215 at 800 x 450),
// and its list titles over the rows y 67..80 and 134..141 there. So the
// sun, the moon and the clouds stay left of x 141, the sky keeps its deep
// tone down to y 80 and brightens only near the sun, and a far headland
// fills the horizon's right up to y 122: the titles lie on calm, mid-toned
// ground.
#include <cmath>

#include "art.h"

namespace assetgen {

namespace {

constexpr float kHorizon = 150;

// The sky keeps skyTop down to this row, then fades to skyLow at the horizon.
constexpr float kSkyFadeFrom = 80;
constexpr float kHazeRadius = 80;
constexpr Color kHeadland = Hex(0x2e6a62);

struct Scene {
    Color skyTop, skyLow, seaTop, seaLow;
    V2 sun;
    float sunRadius;
    Color sun1, sun2;
    Color cloud;
    float islandShade;  // 0 = full colour, 1 = black
    bool night;
};

constexpr Scene kScenes[4] = {
    {Hex(0x2a5fc8),
     Hex(0xa8e6ff),
     Hex(0x2cc0c8),
     Hex(0x1d4fa0),
     {58, 116},
     14,
     Hex(0xfffbd0),
     Hex(0xffe27a),
     Hex(0xffffff),
     0.0f,
     false},
    {Hex(0x4b2a7a),
     Hex(0xffa35c),
     Hex(0xd9745a),
     Hex(0x3a2468),
     {50, 136},
     22,
     Hex(0xfff0b0),
     Hex(0xff7a3a),
     Hex(0xffc6a0),
     0.25f,
     false},
    {Hex(0x0b1030),
     Hex(0x28407a),
     Hex(0x1f3a6e),
     Hex(0x070b24),
     {70, 60},
     11,
     Hex(0xf4f1dc),
     Hex(0xc9cfdc),
     Hex(0x4a5a8a),
     0.55f,
     true},
    {Hex(0x6f7fd0),
     Hex(0xffc9d6),
     Hex(0x9fb7e0),
     Hex(0x3b4f9a),
     {52, 132},
     16,
     Hex(0xfffbe8),
     Hex(0xffd0a0),
     Hex(0xfff0f4),
     0.12f,
     false},
};

// Deterministic scatter for stars and sparkles.
float Hash(int i, int salt) {
    uint32_t h = static_cast<uint32_t>(i) * 2654435761u ^ static_cast<uint32_t>(salt) * 40503u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return (h & 0xffff) / 65535.0f;
}

Color Shade(Color c, const Scene& s) { return Mix(c, Hex(0x101830), s.islandShade); }

void DrawSky(Painter& p, const Scene& s) {
    Shape sky = RoundRect(0, 0, 256, kHorizon + 1);
    p.Fill(sky, Linear({0, kSkyFadeFrom}, s.skyTop, {0, kHorizon}, s.skyLow, 5));
    if (s.night) {
        for (int i = 0; i < 70; ++i) {
            V2 at{Hash(i, 1) * 256, Hash(i, 2) * (kHorizon - 20)};
            p.Fill(Circle(at, 0.35f + 0.5f * Hash(i, 3)), WithAlpha(ink::kWhite, 0.5f + 0.5f * Hash(i, 4)));
        }
        // A crescent moon.
        p.Fill(Circle(s.sun, s.sunRadius + 6), WithAlpha(s.sun1, 0.15f), 1.0f, 4.0f);
        p.Fill(Subtract(Circle(s.sun, s.sunRadius), Circle(s.sun + V2{5, -3}, s.sunRadius - 1)), s.sun1);
        return;
    }
    // The glare around the sun, which stays left of the panel.
    p.Fill(Intersect(sky, Circle(s.sun, kHazeRadius)),
           Radial(s.sun, kHazeRadius, WithAlpha(s.skyLow, 0.8f), WithAlpha(s.skyLow, 0), 6));
    for (int ring = 3; ring >= 1; --ring)
        p.Fill(Circle(s.sun, s.sunRadius + ring * 6.0f), WithAlpha(s.sun2, 0.12f));
    p.Fill(Circle(s.sun, s.sunRadius),
           Linear(s.sun - V2{0, s.sunRadius}, s.sun1, s.sun + V2{0, s.sunRadius}, s.sun2, 3));
}

void DrawCloud(Painter& p, V2 at, float scale, const Scene& s) {
    std::vector<Shape> puffs;
    const float xs[] = {-14, -6, 4, 13}, rs[] = {6, 9, 8, 5.5f}, ys[] = {2, -2, -1, 2.5f};
    for (int k = 0; k < 4; ++k)
        puffs.push_back(Circle({at.x + xs[k] * scale, at.y + ys[k] * scale}, rs[k] * scale));
    puffs.push_back(RoundRect(at.x - 18 * scale, at.y, at.x + 18 * scale, at.y + 8 * scale, 4 * scale));
    Shape cloud = Union(puffs);
    p.Fill(cloud,
           Linear({0, at.y - 8 * scale}, s.cloud, {0, at.y + 8 * scale}, Mix(s.cloud, s.skyLow, 0.55f), 3),
           s.night ? 0.5f : 0.95f);
}

void DrawSea(Painter& p, const Scene& s) {
    p.Fill(RoundRect(0, kHorizon, 256, 256), Linear({0, kHorizon}, s.seaTop, {0, 256}, s.seaLow, 8));
    // A distant hill on the left and the far headland on the right, whose
    // flat, hazy green is the ground of the score panel's lower title.
    Shape above = RoundRect(0, 0, 256, kHorizon);
    p.Fill(Intersect(Ellipse({26, kHorizon}, 30, 7), above), Mix(s.skyLow, s.seaLow, 0.45f));
    Shape headland = Union({Ellipse({172, kHorizon}, 46, 24), Ellipse({226, kHorizon}, 48, 28),
                            Ellipse({262, kHorizon}, 30, 22)});
    p.Fill(Intersect(headland, above), Linear({0, kHorizon - 28}, Mix(kHeadland, s.skyLow, 0.3f), {0, kHorizon},
                                              Mix(kHeadland, s.seaLow, 0.3f), 3));
    // Glints on the water, and the sun's (or moon's) reflection.
    for (int i = 0; i < 46; ++i) {
        float y = kHorizon + 6 + Hash(i, 7) * 100;
        float x = Hash(i, 8) * 256;
        float len = 3 + 6 * Hash(i, 9) * (y - kHorizon) / 100;
        p.Fill(Capsule({x, y}, {x + len, y}, 0.55f), WithAlpha(ink::kWhite, 0.25f + 0.3f * Hash(i, 10)));
    }
    for (int k = 0; k < 6; ++k) {
        float y = kHorizon + 4 + k * 7.0f, half = 10 - k * 1.2f;
        p.Fill(Capsule({s.sun.x - half, y}, {s.sun.x + half, y}, 0.9f), WithAlpha(s.sun1, 0.5f));
    }
}

void DrawPalm(Painter& p, V2 base, float lean, const Scene& s) {
    V2 top{base.x + lean, base.y - 26};
    p.Fill(
        Stroke({base, {base.x + lean * 0.3f, base.y - 10}, {base.x + lean * 0.7f, base.y - 19}, top}, 1.6f),
        Shade(ink::kBrown, s));
    for (float a : {-160.0f, -120.0f, -60.0f, -20.0f, 20.0f, 160.0f}) {
        V2 tip = Polar(top, 12, a);
        V2 mid = Polar(top, 7, a) + V2{0, -2};
        p.Fill(Stroke({top, mid, tip + V2{0, 3}}, 1.9f),
               Shade(a < -90 || a > 90 ? ink::kDarkGreen : ink::kGreen, s));
    }
    p.Fill(Circle(top + V2{0, 1.5f}, 2.2f), Shade(ink::kDarkBrown, s));
}

void DrawIsland(Painter& p, const Scene& s) {
    // Foam, beach, grassy hill.
    p.Fill(Ellipse({122, 178}, 80, 17), WithAlpha(ink::kWhite, 0.55f));
    p.Fill(Ellipse({122, 176}, 74, 14), Shade(ink::kSand, s));
    Shape hill = Intersect(Ellipse({108, 174}, 56, 26), RoundRect(0, 0, 256, 174));
    p.Fill(hill,
           Linear({0, 148}, Shade(Lighter(ink::kGreen, 0.2f), s), {0, 174}, Shade(ink::kDarkGreen, s), 4));
    DrawPalm(p, {70, 168}, -7, s);
    DrawPalm(p, {88, 160}, 5, s);
    // The rescue station and its pad on the east shore.
    p.Fill(RoundRect(122, 152, 140, 166, 1), Shade(ink::kWhite, s));
    p.Fill(Polygon({{119, 153}, {131, 144}, {143, 153}}), Shade(ink::kRed, s));
    p.Fill(RoundRect(128, 157, 134, 166, 0.5f), Shade(ink::kDarkBlue, s));
    Color windowColor = s.night ? ink::kYellow : Shade(ink::kGlass, s);
    p.Fill(RoundRect(124, 156, 127, 159, 0.3f), windowColor);
    p.Fill(RoundRect(135, 156, 138, 159, 0.3f), windowColor);
    p.Fill(RoundRect(146, 166, 186, 172, 1), Shade(ink::kDarkGrey, s));
    p.Fill(Ellipse({166, 166}, 19, 4.2f), Shade(ink::kYellow, s));
    p.Fill(Ellipse({166, 166}, 13, 2.6f), Shade(ink::kNavy, s));
    p.Fill(Union({Capsule({162, 165}, {162, 167}, 0.6f), Capsule({170, 165}, {170, 167}, 0.6f),
                  Capsule({162, 166}, {170, 166}, 0.5f)}),
           Shade(ink::kWhite, s));
    // Beacon light on a mast.
    p.Fill(Capsule({186, 172}, {186, 156}, 0.7f), Shade(ink::kLightGrey, s));
    float glow = s.night ? 0.8f : 0.45f;
    p.Fill(Circle({186, 155}, 5), WithAlpha(ink::kRed, glow * 0.5f), 1.0f, 2.0f);
    p.Fill(Circle({186, 155}, 1.4f), ink::kPaleYellow);
}

void DrawScene(Painter& p, int f) {
    const Scene& s = kScenes[f];
    DrawSky(p, s);
    DrawCloud(p, {58, 62}, 1.0f, s);
    DrawCloud(p, {108, 40}, 0.7f, s);
    DrawCloud(p, {24, 100}, 0.8f, s);
    DrawSea(p, s);
    DrawIsland(p, s);
    if (!s.night) {
        // A few gulls.
        for (int k = 0; k < 3; ++k) {
            V2 c{92.0f + 16 * k, 84.0f + 6 * (k % 2)};
            p.Fill(Stroke({c - V2{3, 1}, c, c + V2{3, -1}}, 0.5f), Shade(ink::kShadow, s));
        }
    }
}

}  // namespace

ImageAsset MenuSheet() { return {{"menu", 256, 256, 4, 2}, DrawScene}; }

}  // namespace assetgen
