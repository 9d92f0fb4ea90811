// SPDX-License-Identifier: Zlib
// Arbitrary bytes read as a replay file, as they are and with a correct end
// record and checksum added (so that the records themselves get explored
// past the checksum). Every file is either refused with one line or read
// into records whose values the host and the input module can take; what is
// read writes back to a file that reads the same.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/replay/file.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_replay_reader: %s\n", what);
        std::abort();
    }
}

bool Position(float v) { return std::isfinite(v) && std::fabs(v) <= kReplayMaxPosition; }

bool Side(int v) { return v >= 0 && v <= kReplayMaxWindowSide; }

// The promises the reader makes to the replay host.
void CheckRecords(const KrReplay& r) {
    using K = KrRecordKind;
    for (const KrRecord& x : r.records) {
        switch (x.kind) {
            case K::Start:
            case K::Render:
                Check(Side(x.a) && Side(x.b), "size out of range");
                break;
            case K::WindowEnd:
                Check(Side(x.a) && Side(x.b) && (x.c == 0 || x.c == 1), "window out of range");
                break;
            case K::Key:
                Check(x.a >= 1 && x.a <= 3, "key event");
                Check(x.a == 3 ? x.b >= 0 && x.b <= 0x10ffff : x.b >= 1 && x.b <= 511, "key data");
                break;
            case K::Mouse:
                Check(x.a >= 4 && x.a <= 6 && (x.a == 6 ? x.b == -1 : x.b >= 0 && x.b <= 2), "mouse event");
                Check(Position(x.x) && Position(x.y), "mouse position");
                break;
            case K::Touch:
                Check(x.a >= 7 && x.a <= 9 && x.b >= 0 && x.b <= 31, "touch event");
                Check(Position(x.x) && Position(x.y), "touch position");
                break;
            case K::Motion:
                Check(x.a == 10 && Position(x.x) && Position(x.y) && Position(x.z), "motion event");
                break;
            case K::Joystick:
                Check(x.a >= 0 && x.a <= 3 && (x.b == 0 || x.b == 1), "joystick poll");
                if (x.b) {
                    Check(x.c >= 0 && static_cast<std::size_t>(x.c) < r.joysticks.size(), "joystick index");
                    for (float a : r.joysticks[x.c].axes) Check(std::isfinite(a) && std::fabs(a) <= 1, "axis");
                }
                break;
            case K::LoadState:
                Check(x.a >= 0 && static_cast<std::size_t>(x.a) < r.states.size(), "state index");
                break;
            case K::Date:
                Check(x.a >= 0 && static_cast<std::size_t>(x.a) < r.dates.size(), "date index");
                Check(r.dates[x.a].size() <= kReplayMaxDateFields, "date fields");
                break;
            default:
                break;
        }
    }
}

std::uint32_t Bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

bool Same(const KrRecord& p, const KrRecord& q) {
    return p.kind == q.kind && p.a == q.a && p.b == q.b && p.c == q.c && Bits(p.x) == Bits(q.x) &&
           Bits(p.y) == Bits(q.y) && Bits(p.z) == Bits(q.z);
}

bool SameRecords(const KrReplay& p, const KrReplay& q) {
    if (p.records.size() != q.records.size() || p.states != q.states || p.dates != q.dates ||
        p.joysticks.size() != q.joysticks.size())
        return false;
    for (std::size_t i = 0; i < p.records.size(); ++i)
        if (!Same(p.records[i], q.records[i])) return false;
    for (std::size_t i = 0; i < p.joysticks.size(); ++i)
        if (std::memcmp(&p.joysticks[i], &q.joysticks[i], sizeof(KrJoyReading)) != 0) return false;
    return true;
}

void Try(const std::uint8_t* data, std::size_t size) {
    KrReplay replay;
    std::string error;
    if (!KrParseReplay(data, size, &replay, &error)) {
        Check(!error.empty() && error.find('\n') == std::string::npos, "a refusal is one line");
        Check(replay.records.empty(), "a refusal leaves no records");
        return;
    }
    CheckRecords(replay);
    std::vector<std::uint8_t> again = KrEncodeReplay(replay);
    KrReplay reread;
    Check(KrParseReplay(again.data(), again.size(), &reread, &error), "a written replay reads back");
    Check(SameRecords(replay, reread), "a written replay reads back the same");
    Check(KrEncodeReplay(reread) == again, "writing is stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    Try(data, size);

    std::vector<std::uint8_t> sealed(data, data + size);
    sealed.push_back(0x7f);
    std::uint32_t crc = KrCrc32(0, sealed.data(), sealed.size());
    for (int i = 0; i < 4; ++i) sealed.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    Try(sealed.data(), sealed.size());
    return 0;
}
