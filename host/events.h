// The event numbers and special key codes shared by the host and the
// framework's delegate and input module.
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

namespace kr_key {

constexpr int MouseLeft = 1;
constexpr int JoyFirst = 256;  // 256 + 32 * port + button
constexpr int TouchFirst = 384;  // 384 + finger
constexpr int Back = 416;
constexpr int Close = 432;
constexpr int Count = 512;

}  // namespace kr_key
