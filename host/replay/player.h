// SPDX-License-Identifier: Zlib
// Plays a recorded session back (host/replay/file.h) on any host. The records
// drive the game in their recorded order, and every value the game reads
// from the host (clock, joysticks, saved state, date, device size) comes from
// the recording, so the game runs exactly as it did, update for update. No
// real input reaches the game and nothing is saved; F4 or closing the window
// leaves a replay that shows one. A fast replay runs on a host without a
// window (host/headless/).
#pragma once

#include <string>

#include "host/game.h"
#include "host/replay/file.h"

struct KrReplayOptions {
    std::string path;
    // As fast as the machine allows, showing nothing: no window, no OpenGL
    // context and the silent (null) sound device. The game's renders still
    // run in full through the graphics device, which makes no OpenGL call
    // without a context.
    bool fast = false;
    // When 0 or more: save the frame rendered after this update as
    // screenshotPath and end (every frame up to it is drawn, none is paced).
    long long screenshotAt = -1;
    std::string screenshotPath;

    // Fast replays and those that make a screenshot run flat out, silent.
    bool Unpaced() const { return fast || screenshotAt >= 0; }
    // A fast replay without a screenshot shows nothing, so it has no window.
    bool Headless() const { return fast && screenshotAt < 0; }
};

// Describes the game's state for the last line of a finished replay or
// recording.
using KrDescribeState = std::string (*)();

class KrReplayPlayer : public KrSessionSource {
public:
    // Reads and checks the whole file; null, with *error set to one line,
    // when it cannot be played.
    static KrReplayPlayer* Create(const KrReplayOptions& options, KrDescribeState describe, std::string* error);

    // Plays on `host` from now on: the host's values come from the recording.
    void Attach(KrGame* host);
    // Plays every record, then prints the last line.
    void Run();

    // Called when the process ends inside the game (the game quits itself):
    // the last line if every record was played, otherwise why not.
    void AtExit();

    int Clock() override;
    bool Joystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ, Array<bool> buttons) override;
    String LoadState() override;
    int SaveState() override;
    void Date(Array<int> date) override;
    bool Trait(int trait) override;
    void WindowAsked() override;

protected:
    KrReplayPlayer(KrReplay replay, KrReplayOptions options, KrDescribeState describe)
        : replay_(std::move(replay)), options_(std::move(options)), describe_(describe) {}
    // Waits until the next update is due (a paced replay) and schedules the
    // one after it; a schedule missed or ahead by far is started afresh.
    void Pace();

    KrGame* host_ = nullptr;  // the host played on

private:
    const KrRecord& Take(KrRecordKind kind);
    [[noreturn]] void Mismatch(const std::string& wanted);
    void Play(const KrRecord& record);
    void OpenRecordedWindow();
    void OpenWindow(int width, int height, bool fullscreen);
    void FitWindow(int width, int height);
    void CheckLeave();
    void AfterRender();
    void Finished();
    void EndedBeforeShot() const;

    KrReplay replay_;
    KrReplayOptions options_;
    KrDescribeState describe_;
    std::size_t next_ = 0;  // the next record to play
    long long updates_ = 0;
    long long totalUpdates_ = 0;
    double updateDue_ = 0;  // when a paced replay plays its next update
    bool windowOpen_ = false;  // the recorded window is open (when headless, as far as the records go)
    bool done_ = false;  // the last line (or an error) has been printed
    bool capturing_ = false;
    bool opening_ = false;  // a window is being opened: its failure is its own message
};
