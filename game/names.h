// SPDX-License-Identifier: Zlib
// The game's numbers by name: the modes of m_Mode, the control actions that
// p_PlayKey answers for (and the m_Ctl elements they read), the sound slots
// and the image slots. Key codes are the host's (host/events.h, kr_key).
#pragma once

// --- Modes (m_Mode) ---

constexpr int kModeMenu = 1;      // the title menu
constexpr int kModeToMenu = 2;    // back to the menu: file the score, then kModeMenu
constexpr int kModeQuit = 4;      // the quit screen (OUYA)
constexpr int kModeStart = 5;     // the "Click to Start" screen
constexpr int kModePlay = 10;     // a game running; every mode from here on is play
constexpr int kModeNewGame = 11;  // set up a new game, then kModePlay

// --- Actions (p_PlayKey, p_PlayKeyAll) ---

// An action's m_Ctl element is its own number, except for back.
constexpr int kActionUp = 0;
constexpr int kActionLeft = 3;
constexpr int kActionRight = 5;
constexpr int kActionDown = 8;
constexpr int kActionButton1 = 10;  // fire, confirm
constexpr int kActionButton2 = 11;
constexpr int kActionButton3 = 12;  // fires as well
constexpr int kActionButton4 = 13;  // also pauses on OUYA
constexpr int kActionButton5 = 14;  // left shoulder
constexpr int kActionButton6 = 15;  // right shoulder
// Buttons 7 and 8 exist only as m_Ctl elements, written by an iCade; they
// count for back, and asked for themselves they are never held.
constexpr int kActionButton7 = 16;
constexpr int kActionButton8 = 17;
constexpr int kActionBack = 99;

// m_Ctl element of the back key (the framework's, or the console's own).
constexpr int kCtlBackKey = 19;

// Actions that keep a key lock while any of them is held, in test order.
constexpr int kKeyLockActions[] = {kActionUp,      kActionLeft,    kActionRight,   kActionDown,
                                   kActionButton1, kActionButton2, kActionButton3, kActionButton4,
                                   kActionButton5, kActionButton6, kActionButton7, kActionButton8,
                                   kActionBack};

// --- Sounds (m_Snd, p_PlaySFX) ---

constexpr int kSfxBlip = 1;          // loaded, not played by this game
constexpr int kSfxGunshot = 2;       // or the next one, drawn at random
constexpr int kSfxHit = 4;           // or the next one, drawn at random
constexpr int kSfxExplosion = 6;
constexpr int kSfxBigExplosion = 7;
constexpr int kSfxScrape = 8;        // a crash into the ground
constexpr int kSfxClimb = 9;         // a person climbs the rope
constexpr int kSfxPickup = 10;       // a person comes aboard
constexpr int kSfxFanfare = 11;      // a landing that pays
constexpr int kSfxConfirm = 95;      // loaded, not played by this game
constexpr int kSfxJingle = 96;       // the logo jingle, also on return to the menu
constexpr int kSfxClick = 98;
constexpr int kSfxSelect = 99;

// --- Image slots (m_Img, m_ImgInfo) ---

constexpr int kImgSprites = 1;       // "gfx": helicopter, enemies, icons
constexpr int kImgSmall = 2;         // "gfx_small": persons, rope, shots, wreck
constexpr int kImgAircraft = 3;      // "gfx_harrier": the parked aircraft
constexpr int kImgBadges = 80;       // "BadgesA"
constexpr int kImgFont = 90;         // "fonts/editundo"
constexpr int kImgTestCard = 91;     // "common/Testcard_Circle"
constexpr int kImgStudioLogo = 93;   // "common/ZelvLogo"
constexpr int kImgPad = 94;          // "common/dpad": the on-screen pad
constexpr int kImgButtons = 95;      // "common/Buttons": modes and the gear
constexpr int kImgParts = 96;        // "parts": particles and stars
constexpr int kImgIcons = 97;        // "common/icons"
constexpr int kImgLogo = 98;         // "logo": the game's title
constexpr int kImgMenu = 99;         // "menu": the menu's backdrop
