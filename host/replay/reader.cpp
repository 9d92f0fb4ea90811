// SPDX-License-Identifier: Zlib
// Replay files. A replay holds, in order, every call the host made into the
// game and every value the game read back from the host, so that the same
// build of the game, given the same data folder, runs through the same
// session again update for update.
//
// Layout: the four bytes "VHRP", the format version as a varint (this build
// writes 3 and reads 1 to 3; a later version is refused), then the records, each
// one tag byte followed by its fields, and last the end record: tag 0x7f
// followed by the CRC-32 (IEEE polynomial, as zlib computes it) of every
// byte before the checksum, 4 bytes little-endian. Nothing may follow.
//
// Field types: u = unsigned LEB128 varint of at most 64 bits; i = a signed
// value as the zigzag varint u = (i << 1) ^ (i >> 63); f = a float as a
// varint v: when v is even the float is the whole number whose zigzag form
// is v >> 1, when v is odd the low 32 bits of v >> 1 are the float's bits.
//
//   tag        record                 fields
//   0x01       start                  u width, u height (the device size at start)
//   0x02       suspend
//   0x03       resume
//   0x04       update
//   0x05       render                 (device size as at the previous render)
//   0x06       render                 u width, u height
//   0x07       key event              u event 1..3, i data
//   0x08       mouse event            u event 4..6, i data, f x, f y
//   0x09       touch event            u event 7..9, u finger 0..31, f x, f y
//   0x0a       motion event           u event 10, i data, f x, f y, f z
//   0x0b       discard graphics
//   0x10       clock reading          i change from the previous reading (the first from 0)
//   0x80..0xff clock reading          the previous reading plus (tag - 0x80) ms
//   0x11       joystick poll          u port 0..3, u present 0 or 1; when present:
//                                     u mask of the axes that are not +0 (bit 0 x0,
//                                     1 x1, 2 y0, 3 y1, 4 z0, 5 z1), f each such axis
//                                     (-1..1), u button bits 0..31
//   0x12       state loaded           u length, u each UTF-16 unit
//   0x13       state saved            i result
//   0x14       date read              u count 0..7, i each value
//   0x15       window opening         (the key releases sent before opening follow)
//   0x16       window opened          u width, u height, u full screen 0 or 1
//   0x17       host trait read        u trait 0..15, u value 0 or 1 (format 2 on)
//   0x18..0x1b joystick poll          port tag - 0x18, no joystick present
//   0x7f       end                    4 bytes CRC-32
//
// Sizes are 0..32768; key events 1 and 2 carry key codes 1..511, character
// events (3) code points 0..0x10ffff; mouse buttons are 0..2, and a mouse
// move carries -1; positions are finite and within 1e6 pixels. A file that
// breaks any of these rules is refused as corrupt before anything is played.
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "host/replay/file.h"
#include "host/replay/tags.h"

namespace {

using K = KrRecordKind;
namespace tag = kr_replay::tag;

// Thrown inside the parser only; KrParseReplay turns it into its message.
struct Refusal {
    std::string message;
};

class Parser {
public:
    Parser(const std::uint8_t* data, std::size_t size, KrReplay* out) : p_(data), size_(size), out_(out) {}

    void Run() {
        Header();
        while (!Record()) {
        }
    }

private:
    // --- Refusing a damaged file ---

    [[noreturn]] void Truncated() {
        throw Refusal{"it is truncated (it ends inside the record at byte " + std::to_string(start_) + ")"};
    }
    [[noreturn]] void Corrupt(const std::string& what) {
        throw Refusal{"it is corrupt (" + what + " at byte " + std::to_string(start_) + ")"};
    }

    // --- Bytes, numbers and checked fields ---

    std::uint8_t Byte() {
        if (at_ >= size_) Truncated();
        return p_[at_++];
    }

    std::uint64_t Unsigned() {
        std::uint64_t v = 0;
        for (int shift = 0;; shift += 7) {
            std::uint8_t b = Byte();
            if (shift == 63 && b > 1) Corrupt("a number that is too long");
            v |= static_cast<std::uint64_t>(b & 0x7f) << shift;
            if (!(b & 0x80)) return v;
        }
    }

    std::int64_t Signed() {
        std::uint64_t u = Unsigned();
        return static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
    }

    int Int(std::int64_t lo, std::int64_t hi, const char* what) {
        std::int64_t v = Signed();
        if (v < lo || v > hi) Corrupt(std::string("a ") + what + " out of range");
        return static_cast<int>(v);
    }

    int Count(std::uint64_t hi, const char* what) {
        std::uint64_t v = Unsigned();
        if (v > hi) Corrupt(std::string("a ") + what + " out of range");
        return static_cast<int>(v);
    }

    float Float(float limit, const char* what) {
        std::uint64_t v = Unsigned();
        float f;
        if (v & 1) {
            if (v >> 33) Corrupt(std::string("a ") + what + " that is not a float");
            std::uint32_t bits = static_cast<std::uint32_t>(v >> 1);
            std::memcpy(&f, &bits, 4);
        } else {
            std::uint64_t z = v >> 1;
            std::int64_t whole = static_cast<std::int64_t>(z >> 1) ^ -static_cast<std::int64_t>(z & 1);
            if (whole < -1000000000 || whole > 1000000000) Corrupt(std::string("a ") + what + " out of range");
            f = static_cast<float>(whole);
        }
        if (!std::isfinite(f) || std::fabs(f) > limit) Corrupt(std::string("a ") + what + " out of range");
        return f;
    }

    // --- The header and the record loop ---

    void Header() {
        if (size_ == 0) throw Refusal{"it is empty"};
        for (int i = 0; i < 4; ++i) {
            if (at_ >= size_) throw Refusal{"it is truncated (it ends inside its header)"};
            if (p_[at_++] != static_cast<std::uint8_t>(kr_replay::kMagic[i]))
                throw Refusal{"it is not a Vornhelm replay"};
        }
        std::uint64_t version = Unsigned();
        if (version > static_cast<std::uint64_t>(kReplayFormatVersion))
            throw Refusal{"it was recorded in format " + std::to_string(version) +
                          ", newer than this build reads (" + std::to_string(kReplayFormatVersion) + ")"};
        if (version < 1) Corrupt("format version 0");
        out_->version = static_cast<int>(version);
    }

    void Add(K kind, int a = 0, int b = 0, int c = 0, float x = 0, float y = 0, float z = 0) {
        out_->records.push_back(KrRecord{kind, a, b, c, x, y, z});
    }

    int Side() { return Count(kReplayMaxWindowSide, "size"); }

    // Reads one record; true once the end record has been read and checked.
    bool Record() {
        start_ = at_;
        if (at_ >= size_) throw Refusal{"it is truncated (the end record is missing)"};
        std::uint8_t t = Byte();
        if (t >= tag::kClockSmall) {
            Clock(t - tag::kClockSmall);
            return false;
        }
        switch (t) {
            case tag::kStart: {
                int w = Side();
                Add(K::Start, w, Side());
                break;
            }
            case tag::kSuspend: Add(K::Suspend); break;
            case tag::kResume: Add(K::Resume); break;
            case tag::kUpdate: Add(K::Update); break;
            case tag::kRender:
                if (renderWidth_ < 0) Corrupt("a render without a size");
                Add(K::Render, renderWidth_, renderHeight_);
                break;
            case tag::kRenderSized:
                renderWidth_ = Side();
                renderHeight_ = Side();
                Add(K::Render, renderWidth_, renderHeight_);
                break;
            case tag::kKey: Key(); break;
            case tag::kMouse: Pointer(K::Mouse, 4); break;
            case tag::kTouch: Pointer(K::Touch, 7); break;
            case tag::kMotion: Motion(); break;
            case tag::kDiscardGraphics: Add(K::DiscardGraphics); break;
            case tag::kClock: Clock(Signed()); break;
            case tag::kJoystick: Joystick(); break;
            case tag::kJoystickAbsent:
            case tag::kJoystickAbsent + 1:
            case tag::kJoystickAbsent + 2:
            case tag::kJoystickAbsent + 3: Add(K::Joystick, t - tag::kJoystickAbsent, 0); break;
            case tag::kLoadState: State(); break;
            case tag::kSaveState: Add(K::SaveState, Int(INT32_MIN, INT32_MAX, "save result")); break;
            case tag::kDate: Date(); break;
            case tag::kWindowBegin: Add(K::WindowBegin); break;
            case tag::kWindowEnd: {
                int w = Side();
                int h = Side();
                Add(K::WindowEnd, w, h, Count(1, "full-screen flag"));
                break;
            }
            case tag::kTrait:
                if (out_->version < 2) Unknown(t);
                Trait();
                break;
            case tag::kEnd: End(); return true;
            default: Unknown(t);
        }
        return false;
    }

    [[noreturn]] void Unknown(std::uint8_t t) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x", t);
        Corrupt(std::string("an unknown record ") + hex);
    }

    // --- Records that carry fields ---

    void Trait() {
        int trait = Count(kReplayMaxTrait, "host trait");
        Add(K::Trait, trait, Count(1, "trait value"));
    }

    void Clock(std::int64_t change) {
        std::int64_t now = clock_ + change;
        if (now < INT32_MIN || now > INT32_MAX) Corrupt("a clock reading out of range");
        clock_ = static_cast<int>(now);
        Add(K::Clock, clock_);
    }

    void Key() {
        int event = Count(3, "key event");
        if (event < 1) Corrupt("a key event out of range");
        int data = event == 3 ? Int(0, 0x10ffff, "character") : Int(1, 511, "key code");
        Add(K::Key, event, data);
    }

    // Mouse (events 4..6, buttons 0..2, a move carries -1) and touch (events
    // 7..9, fingers 0..31).
    void Pointer(K kind, int first) {
        int event = Count(first + 2, "pointer event");
        if (event < first) Corrupt("a pointer event out of range");
        int data;
        if (kind == K::Touch) data = Count(31, "finger");
        else if (event == first + 2) data = Int(-1, -1, "mouse move");
        else data = Int(0, 2, "mouse button");
        float x = Float(kReplayMaxPosition, "position");
        Add(kind, event, data, 0, x, Float(kReplayMaxPosition, "position"));
    }

    void Motion() {
        if (Count(10, "motion event") != 10) Corrupt("a motion event out of range");
        int data = Int(INT32_MIN, INT32_MAX, "motion value");
        float x = Float(kReplayMaxPosition, "motion value");
        float y = Float(kReplayMaxPosition, "motion value");
        Add(K::Motion, 10, data, 0, x, y, Float(kReplayMaxPosition, "motion value"));
    }

    void Joystick() {
        int port = Count(3, "joystick port");
        int present = Count(1, "joystick flag");
        if (!present) {
            Add(K::Joystick, port, 0);
            return;
        }
        KrJoyReading r;
        int mask = Count(63, "axis mask");
        for (int i = 0; i < 6; ++i)
            if (mask & (1 << i)) r.axes[i] = Float(1, "stick axis");
        std::uint64_t buttons = Unsigned();
        if (buttons > UINT32_MAX) Corrupt("a button set out of range");
        r.buttons = static_cast<std::uint32_t>(buttons);
        out_->joysticks.push_back(r);
        Add(K::Joystick, port, 1, static_cast<int>(out_->joysticks.size() - 1));
    }

    void State() {
        std::uint64_t length = Unsigned();
        // Every unit takes at least one byte: a length beyond what is left is a truncation.
        if (length > kReplayMaxStateUnits) Corrupt("a state string that is too long");
        if (length > size_ - at_) Truncated();
        std::u16string s;
        s.reserve(length);
        for (std::uint64_t i = 0; i < length; ++i) s.push_back(static_cast<char16_t>(Count(0xffff, "state character")));
        out_->states.push_back(std::move(s));
        Add(K::LoadState, static_cast<int>(out_->states.size() - 1));
    }

    void Date() {
        int count = Count(kReplayMaxDateFields, "date field count");
        std::vector<int> values;
        for (int i = 0; i < count; ++i) values.push_back(Int(INT32_MIN, INT32_MAX, "date field"));
        out_->dates.push_back(std::move(values));
        Add(K::Date, static_cast<int>(out_->dates.size() - 1));
    }

    void End() {
        std::uint32_t expected = KrCrc32(0, p_, at_);
        std::uint32_t stored = 0;
        for (int i = 0; i < 4; ++i) stored |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        if (stored != expected) throw Refusal{"it is corrupt (its checksum does not match its contents)"};
        if (at_ != size_) throw Refusal{"it is corrupt (there are bytes after its end)"};
    }

    const std::uint8_t* p_;
    std::size_t size_;
    KrReplay* out_;
    std::size_t at_ = 0;
    std::size_t start_ = 0;  // where the record being read begins
    int clock_ = 0;
    int renderWidth_ = -1, renderHeight_ = -1;
};

}  // namespace

// --- Parsing bytes and reading files ---

bool KrParseReplay(const std::uint8_t* data, std::size_t size, KrReplay* out, std::string* error) {
    *out = KrReplay{};
    try {
        Parser(data, size, out).Run();
    } catch (const Refusal& r) {
        *out = KrReplay{};
        *error = r.message;
        return false;
    }
    return true;
}

bool KrReadReplayFile(const std::string& path, KrReplay* out, std::string* error) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        *error = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        *error = "it is a directory";
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = std::strerror(errno);
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    bool failed = std::ferror(f);
    std::fclose(f);
    if (failed) {
        *error = "it could not be read";
        return false;
    }
    return KrParseReplay(bytes.data(), bytes.size(), out, error);
}

// --- Record kinds by name ---

const char* KrRecordKindName(KrRecordKind kind) {
    static const char* const kNames[] = {
        "start",       "suspend",        "resume",       "update",     "render",     "key event",
        "mouse event", "touch event",    "motion event", "discard graphics", "clock reading",
        "joystick poll", "state load",   "state save",   "date reading", "window opening",
        "window opened", "host trait reading",
    };
    auto i = static_cast<std::size_t>(kind);
    return i < sizeof kNames / sizeof kNames[0] ? kNames[i] : "unknown record";
}
