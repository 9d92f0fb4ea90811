// SPDX-License-Identifier: Zlib
// Records a session while it is played, on any host: every call the host
// makes into the game and every value the game reads back pass the host's
// session tap (KrGame::SetSessionTap), which writes them into a replay
// (host/replay/file.h) as they happen. The game is played exactly as
// without recording.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/game.h"
#include "host/replay/file.h"
#include "host/replay/player.h"

class KrSessionRecorder : public KrSessionTap {
public:
    // Into a file: opens path for writing; null, with *error set, when it
    // cannot. The file is completed (end record and checksum) when the
    // program ends, however it ends short of being killed; its last line
    // names the game's state as describe gives it, as a replay's last line
    // does.
    static KrSessionRecorder* ToFile(const std::string& path, KrDescribeState describe, std::string* error);
    // In memory, for a page to hand out: at most maxBytes; a session that
    // grows past them is ended there, so what is kept replays to that point.
    static KrSessionRecorder* InMemory(std::size_t maxBytes);

    // Watches `host` from now on.
    void Attach(KrGame* host);

    // The whole recording so far as replay file bytes (end record and
    // checksum included); recording goes on.
    std::vector<std::uint8_t> Snapshot() const;
    // Writes the end record, closes the file and says how it went. Runs once.
    void Finish();
    long long Updates() const { return updates_; }

    void Called(Call call, int a, int b, int c, float x, float y, float z) override;
    void Clock(int millisecs) override;
    void Joystick(int port, bool present, const Array<float>& axesX, const Array<float>& axesY,
                  const Array<float>& axesZ, const Array<bool>& buttons) override;
    void StateLoaded(const String& state) override;
    void StateSaved(int result) override;
    void Date(const Array<int>& date) override;
    void Trait(int trait, bool value) override;

private:
    KrSessionRecorder(std::FILE* file, std::string path, KrDescribeState describe, std::size_t maxBytes)
        : file_(file), path_(std::move(path)), describe_(describe), maxBytes_(maxBytes) {}
    void Write(const KrRecord& record);
    void Written();
    void Flush();

    std::FILE* file_;
    std::string path_;
    KrDescribeState describe_;
    std::size_t maxBytes_;  // in memory only; 0 for a file
    KrReplayEncoder encoder_;
    long long updates_ = 0;
    bool writeFailed_ = false;
    bool finished_ = false;
};
