// SPDX-License-Identifier: Zlib
// Writing replay files; the format is described in host/replay/reader.cpp.
#include <array>
#include <cmath>
#include <cstring>

#include "host/replay/file.h"
#include "host/replay/tags.h"

namespace {

std::uint64_t Zigzag(std::int64_t v) {
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}

// Floats that hold a small whole number (window pixels, stick extremes) take
// a byte or two; any other value keeps its exact bits.
bool StoredAsInteger(float v) {
    return std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e9f && !(v == 0 && std::signbit(v));
}

}  // namespace

KrReplayEncoder::KrReplayEncoder() {
    for (char c : std::string(kr_replay::kMagic, 4)) Byte(static_cast<std::uint8_t>(c));
    Unsigned(kReplayFormatVersion);
}

void KrReplayEncoder::Byte(std::uint8_t b) {
    bytes_.push_back(b);
    crc_ = KrCrc32(crc_, &b, 1);
}

void KrReplayEncoder::Unsigned(std::uint64_t v) {
    while (v >= 0x80) {
        Byte(static_cast<std::uint8_t>(v | 0x80));
        v >>= 7;
    }
    Byte(static_cast<std::uint8_t>(v));
}

void KrReplayEncoder::Signed(std::int64_t v) { Unsigned(Zigzag(v)); }

void KrReplayEncoder::Float(float v) {
    if (StoredAsInteger(v)) {
        Unsigned(Zigzag(static_cast<std::int64_t>(v)) << 1);
        return;
    }
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    Unsigned((static_cast<std::uint64_t>(bits) << 1) | 1);
}

void KrReplayEncoder::Add(const KrRecord& r) {
    using K = KrRecordKind;
    namespace tag = kr_replay::tag;
    switch (r.kind) {
        case K::Start:
            Byte(tag::kStart), Unsigned(r.a), Unsigned(r.b);
            break;
        case K::Suspend: Byte(tag::kSuspend); break;
        case K::Resume: Byte(tag::kResume); break;
        case K::Update: Byte(tag::kUpdate); break;
        case K::Render:
            if (r.a == renderWidth_ && r.b == renderHeight_) {
                Byte(tag::kRender);
            } else {
                Byte(tag::kRenderSized), Unsigned(r.a), Unsigned(r.b);
                renderWidth_ = r.a, renderHeight_ = r.b;
            }
            break;
        case K::Key:
            Byte(tag::kKey), Unsigned(r.a), Signed(r.b);
            break;
        case K::Mouse:
            Byte(tag::kMouse), Unsigned(r.a), Signed(r.b), Float(r.x), Float(r.y);
            break;
        case K::Touch:
            Byte(tag::kTouch), Unsigned(r.a), Unsigned(r.b), Float(r.x), Float(r.y);
            break;
        case K::Motion:
            Byte(tag::kMotion), Unsigned(r.a), Signed(r.b), Float(r.x), Float(r.y), Float(r.z);
            break;
        case K::DiscardGraphics: Byte(tag::kDiscardGraphics); break;
        case K::Clock: {
            std::int64_t change = static_cast<std::int64_t>(r.a) - lastClock_;
            if (change >= 0 && change < 0x80) {
                Byte(static_cast<std::uint8_t>(tag::kClockSmall + change));
            } else {
                Byte(tag::kClock), Signed(change);
            }
            lastClock_ = r.a;
            break;
        }
        case K::SaveState:
            Byte(tag::kSaveState), Signed(r.a);
            break;
        case K::WindowBegin: Byte(tag::kWindowBegin); break;
        case K::WindowEnd:
            Byte(tag::kWindowEnd), Unsigned(r.a), Unsigned(r.b), Unsigned(r.c);
            break;
        case K::Trait:
            Byte(tag::kTrait), Unsigned(r.a), Unsigned(r.b);
            break;
        case K::Joystick:
        case K::LoadState:
        case K::Date:
            break;  // these carry side data: AddJoystick, AddLoadState, AddDate
    }
}

void KrReplayEncoder::AddJoystick(int port, bool present, const KrJoyReading& reading) {
    if (!present && port >= 0 && port <= 3) {
        Byte(static_cast<std::uint8_t>(kr_replay::tag::kJoystickAbsent + port));
        return;
    }
    Byte(kr_replay::tag::kJoystick), Unsigned(port), Unsigned(present ? 1 : 0);
    if (!present) return;
    unsigned mask = 0;
    for (int i = 0; i < 6; ++i)
        if (reading.axes[i] != 0 || std::signbit(reading.axes[i])) mask |= 1u << i;
    Unsigned(mask);
    for (int i = 0; i < 6; ++i)
        if (mask & (1u << i)) Float(reading.axes[i]);
    Unsigned(reading.buttons);
}

void KrReplayEncoder::AddLoadState(const std::u16string& state) {
    Byte(kr_replay::tag::kLoadState), Unsigned(state.size());
    for (char16_t unit : state) Unsigned(unit);
}

void KrReplayEncoder::AddDate(const std::vector<int>& values) {
    Byte(kr_replay::tag::kDate), Unsigned(values.size());
    for (int v : values) Signed(v);
}

void KrReplayEncoder::Finish() {
    Byte(kr_replay::tag::kEnd);
    std::uint32_t crc = crc_;
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
}

std::vector<std::uint8_t> KrReplayEncoder::Drain() {
    std::vector<std::uint8_t> out;
    out.swap(bytes_);
    return out;
}

std::vector<std::uint8_t> KrEncodeReplay(const KrReplay& replay) {
    KrReplayEncoder encoder;
    for (const KrRecord& r : replay.records) {
        switch (r.kind) {
            case KrRecordKind::Joystick:
                encoder.AddJoystick(r.a, r.b != 0, r.b ? replay.joysticks.at(r.c) : KrJoyReading{});
                break;
            case KrRecordKind::LoadState: encoder.AddLoadState(replay.states.at(r.a)); break;
            case KrRecordKind::Date: encoder.AddDate(replay.dates.at(r.a)); break;
            default: encoder.Add(r); break;
        }
    }
    encoder.Finish();
    return encoder.Drain();
}

std::uint32_t KrCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}
