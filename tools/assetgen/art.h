// SPDX-License-Identifier: Zlib
// Every image of the data folder, each described once in base pixels and
// drawn at all three levels by the sheet renderer.
#pragma once

#include <vector>

#include "sheet.h"

namespace assetgen {

ImageAsset GfxSheet();         // helicopter, radar pad marker, enemy craft
ImageAsset SmallSheet();       // people, rope link, shot, rising figure, explosions
ImageAsset HarrierSheet();     // the hovering jump-jet at the world's edge
ImageAsset BadgeSheet();       // 64 badge medallions
ImageAsset TestcardSheet();    // test-card circle of the credits panel
ImageAsset StudioLogoSheet();  // the studio's turtle logo
ImageAsset DpadSheet();        // on-screen pad and fire button
ImageAsset ButtonSheet();      // game-mode buttons, gear layers, dial face
ImageAsset PartsSheet();       // 256 coloured sparks
ImageAsset IconSheet();        // pause, give up, play, selection ring, calibrate
ImageAsset TitleLogoSheet();   // the game's title
ImageAsset MenuSheet();        // title backdrops
ImageAsset GameFontSheet();    // the game's 128-glyph font, two rows of 64
ImageAsset AppIconSheet();     // the desktop icon (installation, not the game)

// All of the above, in the order they are written, each fitted to the
// image size limit (FitToMaxSide).
std::vector<ImageAsset> AllImages();

// Shared pieces of art.
// Side view of the player's helicopter facing right, drawn around `centre`
// in a 32 x 32 base-pixel box; `rotorPhase` 0..1 turns the rotors one step cycle.
void DrawHelicopter(Painter& p, V2 centre, float rotorPhase);
// A small standing person, 8 x 8 base-pixel box with its top-left at `at`;
// `wave` -1 keeps both arms down, 0..1 waves the right arm, 2 raises both.
void DrawPerson(Painter& p, V2 at, float wave, Color shirt);

}  // namespace assetgen
