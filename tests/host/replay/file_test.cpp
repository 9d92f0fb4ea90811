// SPDX-License-Identifier: Zlib
// Replay files: what is written reads back exactly, and every damaged,
// foreign or future file is refused with one line, never a crash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstring>
#include <limits>

#include "host/replay/file.h"

namespace {

using K = KrRecordKind;

KrRecord R(K kind, int a = 0, int b = 0, int c = 0, float x = 0, float y = 0, float z = 0) {
    return KrRecord{kind, a, b, c, x, y, z};
}

bool Same(const KrRecord& p, const KrRecord& q) {
    auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    return p.kind == q.kind && p.a == q.a && p.b == q.b && p.c == q.c && bits(p.x) == bits(q.x) &&
           bits(p.y) == bits(q.y) && bits(p.z) == bits(q.z);
}

// One of every record, with the values that are easy to get wrong: varints
// of several bytes and values written as exactly 128 (a clock step of 128,
// a typed "@", a mouse at x = 32), a clock step back,
// floats that are whole, fractional, negative zero or tiny, state text
// beyond ASCII (a lone surrogate included).
KrReplay EveryRecord() {
    KrReplay r;
    r.joysticks.push_back(KrJoyReading{{0.5f, -1, 0, -0.0f, 1e-7f, 1}, 0x80000001u});
    r.states = {u"", u"1|2|3|\u00e9\u4e2d\U0001F600\xd800|"};
    r.dates = {{2024, 12, 31, 23, 59, 58, 0}, {}};
    r.records = {
        R(K::WindowBegin),         R(K::Key, 2, 37),         R(K::WindowEnd, 640, 480, 0),
        R(K::Start, 640, 480),     R(K::LoadState, 1),       R(K::LoadState, 0),
        R(K::Date, 0),             R(K::Date, 1),            R(K::Render, 640, 480),
        R(K::Clock, 100),          R(K::Clock, 99),          R(K::Clock, 227),
        R(K::Update),              R(K::Joystick, 0, 1, 0),  R(K::Joystick, 1, 0),
        R(K::Joystick, 3, 0),
        R(K::Key, 1, 511),         R(K::Key, 3, 64),         R(K::Mouse, 6, -1, 0, 32, -32),
        R(K::Mouse, 4, 2, 0, 639, 479),                      R(K::Mouse, 6, -1, 0, -3.25f, -0.0f),
        R(K::Mouse, 5, 0, 0, 1e6f, -1e6f),                   R(K::Touch, 7, 31, 0, 0.1f, 2),
        R(K::Touch, 9, 0, 0, 10, 20),                        R(K::Motion, 10, -7, 0, 0.25f, -9.5f, 1),
        R(K::Render, 640, 480),    R(K::Render, 1280, 720),  R(K::Render, 1280, 720),
        R(K::SaveState, -2),       R(K::SaveState, 0),       R(K::Suspend),
        R(K::Resume),              R(K::DiscardGraphics),    R(K::WindowBegin),
        R(K::WindowEnd, 32768, 0, 1), R(K::Trait, 0, 1),     R(K::Trait, 15, 0),
    };
    return r;
}

// A refusal is one line, and leaves nothing behind.
void ExpectRefused(const std::vector<std::uint8_t>& bytes, const std::string& expected) {
    KrReplay out;
    std::string error;
    EXPECT_FALSE(KrParseReplay(bytes.data(), bytes.size(), &out, &error));
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
    EXPECT_TRUE(out.records.empty());
}

std::vector<std::uint8_t> Encode(const std::vector<KrRecord>& records) {
    KrReplay r;
    r.records = records;
    return KrEncodeReplay(r);
}

TEST(ReplayFile, EveryRecordReadsBackExactly) {
    KrReplay in = EveryRecord(), out;
    std::string error;
    const std::vector<std::uint8_t> bytes = KrEncodeReplay(in);
    ASSERT_TRUE(KrParseReplay(bytes.data(), bytes.size(), &out, &error)) << error;
    ASSERT_EQ(out.records.size(), in.records.size());
    for (std::size_t i = 0; i < in.records.size(); ++i) {
        const KrRecord& r = in.records[i];
        SCOPED_TRACE(std::string(KrRecordKindName(r.kind)) + " at " + std::to_string(i));
        if (r.kind == K::Joystick && r.b) {
            EXPECT_EQ(std::memcmp(&out.joysticks.at(out.records[i].c), &in.joysticks.at(r.c), sizeof(KrJoyReading)), 0);
        } else if (r.kind == K::LoadState) {
            EXPECT_EQ(out.states.at(out.records[i].a), in.states.at(r.a));
        } else if (r.kind == K::Date) {
            EXPECT_EQ(out.dates.at(out.records[i].a), in.dates.at(r.a));
        } else if (r.kind != K::Joystick) {
            EXPECT_TRUE(Same(out.records[i], r));
        } else {
            EXPECT_EQ(out.records[i].b, 0);
        }
    }
    // Reading what was read and writing it again gives the same bytes.
    EXPECT_EQ(KrEncodeReplay(out), KrEncodeReplay(in));
}

// A cut at every length and a changed byte at every position.
TEST(ReplayFile, EveryTruncationAndEveryDamagedByteIsRefused) {
    std::vector<std::uint8_t> whole = KrEncodeReplay(EveryRecord());
    for (std::size_t n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        ExpectRefused(std::vector<std::uint8_t>(whole.begin(), whole.begin() + n), n == 0 ? "empty" : "truncated");
        for (std::uint8_t flip : {0x01, 0x80, 0xff}) {
            std::vector<std::uint8_t> bad = whole;
            bad[n] ^= flip;
            ExpectRefused(bad, "");
        }
    }
}

// The bytes with their checksum (the last four bytes when `replace`) made right.
std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> bytes, bool replace) {
    if (replace) bytes.resize(bytes.size() - 4);
    const std::uint32_t crc = KrCrc32(0, bytes.data(), bytes.size());
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return bytes;
}

// Foreign and future files, and files whose checksum is right but whose
// values the host or the input module could not take.
TEST(ReplayFile, ForeignFutureAndOutOfRangeFilesAreRefused) {
    std::vector<std::uint8_t> future = Encode({R(K::Update)}), trailing = future, early = Encode({R(K::Trait, 0, 1)});
    future[4] = kReplayFormatVersion + 1;
    trailing.push_back(0);
    early[4] = 1;  // a trait record in a format-1 file
    KrReplayEncoder stick;
    stick.AddJoystick(0, true, KrJoyReading{{0, 1.5f, 0, 0, 0, 0}, 0});
    stick.Finish();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case { const char* name; std::vector<std::uint8_t> bytes; const char* says; } cases[] = {
        {"another format", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, "not a Vornhelm replay"},
        {"next version", future, "format 4, newer than this build reads (3)"},
        {"a trait before format 2", Sealed(early, true), "an unknown record 0x17"},
        {"bytes after the end", trailing, "bytes after its end"},
        {"stick axis 1.5", stick.Drain(), "stick axis out of range"},
        // A render that repeats the previous size needs a previous size.
        {"bare render", Sealed({'V', 'H', 'R', 'P', 1, 0x05, 0x7f}, false), "a render without a size"},
        {"key code 512", Encode({R(K::Key, 2, 512)}), "corrupt"},
        {"character beyond Unicode", Encode({R(K::Key, 3, 0x110000)}), "corrupt"},
        {"mouse button 3", Encode({R(K::Mouse, 4, 3)}), "corrupt"},
        {"finger 32", Encode({R(K::Touch, 7, 32)}), "corrupt"},
        {"motion event 9", Encode({R(K::Motion, 9, 0)}), "corrupt"},
        {"position not a number", Encode({R(K::Mouse, 6, -1, 0, nan, 0)}), "corrupt"},
        {"position too far", Encode({R(K::Mouse, 6, -1, 0, 2e6f, 0)}), "corrupt"},
        {"motion not a number", Encode({R(K::Motion, 10, 0, 0, 0, 0, nan)}), "corrupt"},
        {"window too wide", Encode({R(K::WindowEnd, 40000, 10)}), "corrupt"},
        {"trait 16", Encode({R(K::Trait, 16, 0)}), "corrupt"},
        {"trait value 2", Encode({R(K::Trait, 0, 2)}), "corrupt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectRefused(c.bytes, c.says);
    }
}

TEST(ReplayFile, FilesThatCannotBeReadSaySo) {
    char dir[] = "/tmp/vornhelm-replay-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    KrReplay out;
    std::string error;
    EXPECT_FALSE(KrReadReplayFile(dir, &out, &error));
    EXPECT_EQ(error, "it is a directory");
    EXPECT_FALSE(KrReadReplayFile(std::string(dir) + "/missing.vhr", &out, &error));
    EXPECT_EQ(error, "No such file or directory");
    rmdir(dir);
}

}  // namespace
