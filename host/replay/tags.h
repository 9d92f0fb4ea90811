// SPDX-License-Identifier: Zlib
// The bytes of the replay file format shared by its reader and writer
// (the format is described in host/replay/reader.cpp).
#pragma once

#include <cstdint>

namespace kr_replay {

constexpr char kMagic[] = "VHRP";

namespace tag {
constexpr std::uint8_t kStart = 0x01;
constexpr std::uint8_t kSuspend = 0x02;
constexpr std::uint8_t kResume = 0x03;
constexpr std::uint8_t kUpdate = 0x04;
constexpr std::uint8_t kRender = 0x05;
constexpr std::uint8_t kRenderSized = 0x06;
constexpr std::uint8_t kKey = 0x07;
constexpr std::uint8_t kMouse = 0x08;
constexpr std::uint8_t kTouch = 0x09;
constexpr std::uint8_t kMotion = 0x0a;
constexpr std::uint8_t kDiscardGraphics = 0x0b;
constexpr std::uint8_t kClock = 0x10;
constexpr std::uint8_t kJoystick = 0x11;
constexpr std::uint8_t kLoadState = 0x12;
constexpr std::uint8_t kSaveState = 0x13;
constexpr std::uint8_t kDate = 0x14;
constexpr std::uint8_t kWindowBegin = 0x15;
constexpr std::uint8_t kWindowEnd = 0x16;
constexpr std::uint8_t kTrait = 0x17;  // format 2 on
constexpr std::uint8_t kJoystickAbsent = 0x18;  // 0x18 + port 0..3
constexpr std::uint8_t kEnd = 0x7f;
constexpr std::uint8_t kClockSmall = 0x80;  // 0x80 + 0..127 ms
}  // namespace tag

}  // namespace kr_replay
