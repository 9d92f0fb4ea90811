// SPDX-License-Identifier: Zlib
// A recorded session: every call the host made into the game and every value
// the game read back from the host, in order. host/replay/reader.cpp reads
// the file (its format is described there), host/replay/writer.cpp writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class KrRecordKind : std::uint8_t {
    // Calls into the game.
    Start,            // a, b: device width and height the game starts with
    Suspend,
    Resume,
    Update,
    Render,           // a, b: device width and height
    Key,              // a event, b data
    Mouse,            // a event, b data, x, y
    Touch,            // a event, b finger, x, y
    Motion,           // a event, b data, x, y, z
    DiscardGraphics,
    // What the game read back.
    Clock,            // a: the milliseconds returned
    Joystick,         // a port, b present, c index into KrReplay::joysticks
    LoadState,        // a: index into KrReplay::states
    SaveState,        // a: the result returned
    Date,             // a: index into KrReplay::dates
    // The game reopening the window: the key releases the host sent before
    // opening it come between the two.
    WindowBegin,
    WindowEnd,        // a, b: the new window's size, c: 1 for full screen
    // A trait of the host the game asked about (format 2 on): a the trait
    // (KrHostTrait), b its value 0 or 1.
    Trait,
};

// The name a message uses for a kind of record.
const char* KrRecordKindName(KrRecordKind kind);

struct KrRecord {
    KrRecordKind kind = KrRecordKind::Update;
    int a = 0, b = 0, c = 0;
    float x = 0, y = 0, z = 0;
};

// One joystick port as the game's arrays held it after a poll.
struct KrJoyReading {
    float axes[6] = {};  // x pair, y pair, z pair
    std::uint32_t buttons = 0;  // bit i: button i
};

struct KrReplay {
    int version = 0;  // the file's format version
    std::vector<KrRecord> records;
    std::vector<KrJoyReading> joysticks;
    std::vector<std::u16string> states;
    std::vector<std::vector<int>> dates;
};

// Current format version; readers refuse files of a later one. Format 1
// has no trait records: its recordings were all made on hosts whose traits
// are all false (the desktop). Format 2 records the first trait only
// (kReplayFormat2Traits); the later ones were false where it was written.
constexpr int kReplayFormatVersion = 3;
constexpr int kReplayFormat2Traits = 1;

// Limits every reader enforces (the host and the input module rely on them).
constexpr int kReplayMaxWindowSide = 32768;
constexpr int kReplayMaxDateFields = 7;
constexpr int kReplayMaxTrait = 15;
constexpr std::size_t kReplayMaxStateUnits = 1u << 24;
constexpr float kReplayMaxPosition = 1e6f;

// Parses a whole replay held in memory. On failure returns false and sets
// *error to one line saying what is wrong (without the file name).
bool KrParseReplay(const std::uint8_t* data, std::size_t size, KrReplay* out, std::string* error);

// Reads and parses the file at path; errors as for KrParseReplay, naming what
// could not be read.
bool KrReadReplayFile(const std::string& path, KrReplay* out, std::string* error);

// Builds a replay file in memory, record by record. The header is written
// at construction, the end record and checksum by Finish. The caller may
// take the pending bytes at any time (Drain) to write them out.
class KrReplayEncoder {
public:
    KrReplayEncoder();

    void Add(const KrRecord& record);  // any record without side data
    void AddJoystick(int port, bool present, const KrJoyReading& reading);
    void AddLoadState(const std::u16string& state);
    void AddDate(const std::vector<int>& values);
    void Finish();

    // The bytes not yet drained; Drain empties them.
    const std::vector<std::uint8_t>& Pending() const { return bytes_; }
    std::vector<std::uint8_t> Drain();

private:
    void Byte(std::uint8_t b);
    void Unsigned(std::uint64_t v);
    void Signed(std::int64_t v);
    void Float(float v);

    std::vector<std::uint8_t> bytes_;
    std::uint32_t crc_ = 0;
    int lastClock_ = 0;
    int renderWidth_ = -1, renderHeight_ = -1;
};

// The whole replay as file bytes.
std::vector<std::uint8_t> KrEncodeReplay(const KrReplay& replay);

// CRC-32 (the IEEE polynomial, as zlib computes it), continued from crc.
std::uint32_t KrCrc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);
