// SPDX-License-Identifier: Zlib
// The event numbers and key codes shared by the hosts, the framework's
// delegate and input module, and the game.
#pragma once

namespace kr_event {

constexpr int KeyDown = 1;
constexpr int KeyUp = 2;
constexpr int KeyChar = 3;
constexpr int MouseDown = 4;
constexpr int MouseUp = 5;
constexpr int MouseMove = 6;
constexpr int TouchDown = 7;
constexpr int TouchUp = 8;
constexpr int TouchMove = 9;
constexpr int Motion = 10;

}  // namespace kr_event

// The program's key codes: keyboard keys have the values of the Windows
// virtual-key codes of the same keys (digits and letters are their upper-case
// characters, '0' .. '9' and 'A' .. 'Z'); mouse buttons, joystick buttons,
// touches and the framework's own keys have ranges of their own.
namespace kr_key {

// --- Mouse ---
constexpr int MouseLeft = 1;
constexpr int MouseRight = 2;
constexpr int MouseMiddle = 3;

// --- Keyboard ---
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int F1 = 112;  // F1 .. F12 are 112 .. 123
constexpr int F2 = 113;
constexpr int F3 = 114;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int Semicolon = 186;
constexpr int Equals = 187;
constexpr int Comma = 188;
constexpr int Minus = 189;
constexpr int Period = 190;
constexpr int Slash = 191;
constexpr int Grave = 192;  // also the tilde
constexpr int LeftBracket = 219;
constexpr int Backslash = 220;
constexpr int RightBracket = 221;
constexpr int Quote = 222;  // the apostrophe and the double quote

// --- Joysticks, touches and the framework's keys ---
constexpr int JoyFirst = 256;  // 256 + 32 * port + button
constexpr int JoyButtons = 32;  // per port
constexpr int JoyBackButton = 14;  // a pad's back button
constexpr int PadBack = JoyFirst + JoyBackButton;  // the first pad's back button: 270
constexpr int TouchFirst = 384;  // 384 + finger
constexpr int Back = 416;
constexpr int Close = 432;
constexpr int Count = 512;

}  // namespace kr_key
