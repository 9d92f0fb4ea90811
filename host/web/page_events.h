// SPDX-License-Identifier: Zlib
// The page's events for the browser host: visibility, focus, the window's
// size and full screen, touches on the canvas, and the keys whose browser
// meaning (help, full screen of the whole browser, scrolling) would take
// them from the game. Keyboard and mouse reach the game through GLFW.
#pragma once

class KrWebGame;

// Registers every listener; the canvas must exist.
void KrListenToPage(KrWebGame* host);
