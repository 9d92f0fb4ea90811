// SPDX-License-Identifier: Zlib
#include "host/replay/player.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

using K = KrRecordKind;

KrReplayPlayer* replaying = nullptr;

// Updates between two looks at the window's events in an unpaced replay
// with a window (one that makes a screenshot).
constexpr long long kFastPollEvery = 256;
// A paced replay that falls this far behind or ahead starts a new schedule
// (after a suspension, which the recording spent waiting).
constexpr double kResyncSeconds = 0.25;
// The longest sleep between two looks at the window's events.
constexpr double kPollSeconds = 0.05;

void AtExitHandler() {
    if (replaying) replaying->AtExit();
}

// The only calls the host makes while it opens a window.
bool IsKeyEvent(K kind) { return kind == K::Key; }

}  // namespace

// ---- Reading and driving ---------------------------------------------------

KrReplayPlayer* KrReplayPlayer::Create(const KrReplayOptions& options, KrDescribeState describe, std::string* error) {
    KrReplay replay;
    if (!KrReadReplayFile(options.path, &replay, error)) return nullptr;
    auto* player = new KrReplayPlayer(std::move(replay), options, describe);
    player->totalUpdates_ = std::count_if(player->replay_.records.begin(), player->replay_.records.end(),
                                          [](const KrRecord& r) { return r.kind == K::Update; });
    return player;
}

// An unpaced replay would only garble the sound, and one that shows nothing
// needs no sound system: OpenAL's null device stands in for both. The
// choice must be made before the game opens the audio device.
void KrReplayPlayer::Attach(KrGame* host) {
    host_ = host;
    host->SetSessionSource(this);
    replaying = this;
    std::atexit(AtExitHandler);
    if (options_.Unpaced()) setenv("ALSOFT_DRIVERS", "null", 1);
}

void KrReplayPlayer::Run() {
    while (next_ < replay_.records.size()) {
        const KrRecord& record = replay_.records[next_];
        if (record.kind == K::WindowBegin) {
            OpenRecordedWindow();
            continue;
        }
        ++next_;
        Play(record);
    }
    Finished();
}

void KrReplayPlayer::Play(const KrRecord& r) {
    switch (r.kind) {
        case K::Start:
            if (!windowOpen_) Mismatch("the window to be opened before the start");
            host_->SetReportedSize(r.a, r.b);
            host_->StartGame();
            break;
        case K::Suspend: host_->SuspendGame(); break;
        case K::Resume: host_->ResumeGame(); break;
        case K::Update:
            Pace();
            ++updates_;
            host_->UpdateGame();
            break;
        case K::Render:
            host_->SetReportedSize(r.a, r.b);
            if (!options_.fast) FitWindow(r.a, r.b);
            if (options_.screenshotAt >= 0 && updates_ >= options_.screenshotAt && !capturing_) {
                capturing_ = true;
                host_->CaptureNextFrame(options_.screenshotPath);
            }
            host_->RenderGame();
            AfterRender();
            break;
        case K::Key: host_->KeyEvent(r.a, r.b); break;
        case K::Mouse: host_->MouseEvent(r.a, r.b, r.x, r.y); break;
        case K::Touch: host_->TouchEvent(r.a, r.b, r.x, r.y); break;
        case K::Motion: host_->MotionEvent(r.a, r.b, r.x, r.y, r.z); break;
        case K::DiscardGraphics: host_->DiscardGraphics(); break;
        default:
            --next_;  // report the record where it stands
            Mismatch("a call into the game");
    }
}

// ---- Ending ----------------------------------------------------------------

// A capture runs as the frame is presented, inside the render.
void KrReplayPlayer::AfterRender() {
    if (!capturing_ || host_->CapturePending()) return;
    done_ = true;
    std::exit(host_->LastCaptureSaved() ? 0 : 1);
}

const KrRecord& KrReplayPlayer::Take(K kind) {
    if (next_ >= replay_.records.size() || replay_.records[next_].kind != kind)
        Mismatch(std::string("a ") + KrRecordKindName(kind));
    return replay_.records[next_++];
}

void KrReplayPlayer::Mismatch(const std::string& wanted) {
    std::string found = next_ < replay_.records.size()
                            ? std::string("a ") + KrRecordKindName(replay_.records[next_].kind)
                            : std::string("nothing more");
    std::fprintf(stderr, "vornhelm: the replay %s does not match this game: at update %lld the game needs %s, the recording has %s\n",
                 options_.path.c_str(), updates_, wanted.c_str(), found.c_str());
    done_ = true;
    std::exit(1);
}

void KrReplayPlayer::EndedBeforeShot() const {
    std::fprintf(stderr, "vornhelm: the replay %s ends at update %lld, before the frame of update %lld\n",
                 options_.path.c_str(), updates_, options_.screenshotAt);
}

void KrReplayPlayer::Finished() {
    done_ = true;
    if (options_.screenshotAt >= 0) {
        EndedBeforeShot();
        std::exit(1);
    }
    std::printf("Replay ended after %lld updates: %s\n", updates_, describe_ ? describe_().c_str() : "");
    std::fflush(stdout);
}

// The game ended the process itself (F4, the close key, a runtime error):
// fine when that is where the recording ends too.
void KrReplayPlayer::AtExit() {
    if (done_ || opening_) return;
    if (next_ == replay_.records.size() && options_.screenshotAt < 0) {
        Finished();
        return;
    }
    done_ = true;
    std::fflush(stdout);
    if (options_.screenshotAt >= 0 && next_ == replay_.records.size()) {
        EndedBeforeShot();
    } else {
        std::fprintf(stderr, "vornhelm: the replay %s does not match this game: the game ended at update %lld of %lld\n",
                     options_.path.c_str(), updates_, totalUpdates_);
    }
    _exit(1);
}

// ---- Pace and leaving ------------------------------------------------------

// Windowed replays run at the game's update rate; fast ones and those that
// make a screenshot run flat out, the latter looking at the window now and
// then.
void KrReplayPlayer::Pace() {
    if (options_.Unpaced()) {
        if (!options_.Headless() && updates_ % kFastPollEvery == 0) CheckLeave();
        return;
    }
    CheckLeave();
    const int rate = host_->UpdateRate();
    if (rate <= 0) return;
    double now = host_->Now();
    if (updateDue_ - now > kResyncSeconds || now - updateDue_ > kResyncSeconds) updateDue_ = now;
    for (double delay; (delay = updateDue_ - host_->Now()) > 0;) {
        host_->Sleep(std::min(delay, kPollSeconds));
        CheckLeave();
    }
    updateDue_ += 1.0 / rate;
}

// Only a replay that shows a window can be left, by F4 or its close button.
void KrReplayPlayer::CheckLeave() {
    if (!windowOpen_ || options_.Headless()) return;
    host_->PollEvents();
    if (!host_->LeaveAsked() && host_->WindowOpen()) return;
    done_ = true;
    std::printf("Replay left at update %lld of %lld\n", updates_, totalUpdates_);
    std::fflush(stdout);
    std::exit(0);
}

// ---- Windows ---------------------------------------------------------------

// The window as the recording opened it; the key releases sent before it
// opened are played in between. A headless replay only plays the records.
void KrReplayPlayer::OpenRecordedWindow() {
    Take(K::WindowBegin);
    while (next_ < replay_.records.size() && IsKeyEvent(replay_.records[next_].kind)) Play(replay_.records[next_++]);
    const KrRecord& end = Take(K::WindowEnd);
    if (!options_.Headless()) OpenWindow(end.a, end.b, end.c != 0);
    windowOpen_ = true;
}

void KrReplayPlayer::WindowAsked() { OpenRecordedWindow(); }

// Full screen only where the desktop has the recorded size; otherwise a
// window of that size. The window takes no input but F4 and its close
// button, and keeps its size.
void KrReplayPlayer::OpenWindow(int width, int height, bool fullscreen) {
    KrGlfwVideoMode* desktop = host_->GetGlfwDesktopMode();
    KrWindowRequest request;
    request.width = width, request.height = height;
    request.fullscreen = fullscreen && desktop->Width == width && desktop->Height == height;
    request.resizable = false;
    request.title = "Vornhelm replay";
    request.input = KrWindowRequest::LeaveOnly;
    opening_ = true;
    host_->OpenWindow(request);
    opening_ = false;
}

// The recording's window changed size (the player resized it): the game is
// shown the recorded size anyway; the window follows where it can.
void KrReplayPlayer::FitWindow(int width, int height) {
    int w, h;
    host_->FramebufferSize(&w, &h);
    if (w != width || h != height) host_->RequestFramebufferSize(width, height);
}

// ---- Values the game reads back --------------------------------------------

// The game's clock comes from the recording; the host's only times the
// schedule of a paced replay.
int KrReplayPlayer::Clock() { return Take(K::Clock).a; }

bool KrReplayPlayer::Joystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
                                Array<bool> buttons) {
    const KrRecord& r = Take(K::Joystick);
    if (r.a != port) {
        --next_;
        Mismatch("a poll of joystick port " + std::to_string(port));
    }
    if (!r.b) return false;
    const KrJoyReading& reading = replay_.joysticks[r.c];
    Array<float>* pairs[3] = {&axesX, &axesY, &axesZ};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 2 && i < pairs[p]->Length(); ++i) (*pairs[p])[i] = reading.axes[2 * p + i];
    for (int i = 0; i < 32 && i < buttons.Length(); ++i) buttons[i] = (reading.buttons >> i) & 1;
    return true;
}

String KrReplayPlayer::LoadState() {
    const std::u16string& state = replay_.states[Take(K::LoadState).a];
    return String(state.data(), static_cast<int>(state.size()));
}

// Nothing is written: the player's own state file stays as it is.
int KrReplayPlayer::SaveState() { return Take(K::SaveState).a; }

void KrReplayPlayer::Date(Array<int> date) {
    const std::vector<int>& values = replay_.dates[Take(K::Date).a];
    for (int i = 0; i < date.Length() && i < static_cast<int>(values.size()); ++i) date[i] = values[i];
}

// Recordings from before traits were recorded (or before a trait was) were
// all made where it is false.
bool KrReplayPlayer::Trait(int trait) {
    if (replay_.version < 2) return false;
    if (replay_.version < 3 && trait >= kReplayFormat2Traits) return false;
    const KrRecord& r = Take(K::Trait);
    if (r.a != trait) {
        --next_;
        Mismatch("a reading of host trait " + std::to_string(trait));
    }
    return r.b != 0;
}
