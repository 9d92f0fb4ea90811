// SPDX-License-Identifier: Zlib
// Pieces of the title menu and its panels shared between their files.
#pragma once

#include "game/app.h"

// True while the credits, badges or options panel is requested.
bool MenuPanelRequested(const c_MyApp& app);

// Back held on any of the joysticks 0..3 (the keyboard counts for each).
bool BackOnAnyDevice(c_MyApp& app);

// The score panel with the selected mode's top-ten and last-ten lists.
void MenuScorePanel(c_MyApp& app);

// The mode strip: scrolling, its four items, taps, the play button and the
// snapping selection.
void MenuStrip(c_MyApp& app);

// Selects `item` after a key press or a tap and lets the strip snap to it.
void MenuSelect(c_MyApp& app, int item);

// The options gear's two back wheels, turned against each other by
// m_GearAngle; the caller draws the front wheel (frame 10) on top.
void DrawGearWheels(c_MyApp& app, float x, float y);

// Starts the selected game mode or opens the options; needs both locks clear.
void MenuActivate(c_MyApp& app);

// Scores per list for a virtual screen of height h and a font line of
// lineHeight design pixels: as many as fit in half the screen, 1..10.
int MenuScoreLines(float h, int lineHeight);
