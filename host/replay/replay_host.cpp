#include "host/replay/replay_host.h"

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "host/glfw2/glfw2.h"
#include "host/glfw2/hooks.h"
#include "host/desktop/screenshot.h"
#include "host/desktop/window_fit.h"

using namespace glfw2;

namespace {

using K = KrRecordKind;

KrReplayHost* replaying = nullptr;
bool leaveAsked = false;

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

// Only leaving reaches a replay from the keyboard and the window.
void OnReplayKey(int key, int action) {
    if (key == GLFW_KEY_F4 && action == GLFW_PRESS) leaveAsked = true;
}

int OnReplayClose() {
    leaveAsked = true;
    return 0;
}

// The only calls the host makes while it opens a window.
bool IsKeyEvent(K kind) { return kind == K::Key; }

}  // namespace

KrReplayHost* KrReplayHost::Create(const KrReplayOptions& options, Describe describe, std::string* error) {
    KrReplay replay;
    if (!KrReadReplayFile(options.path, &replay, error)) return nullptr;
    auto* host = new KrReplayHost(std::move(replay), options, describe);
    host->totalUpdates_ = std::count_if(host->replay_.records.begin(), host->replay_.records.end(),
                                        [](const KrRecord& r) { return r.kind == K::Update; });
    return host;
}

void KrReplayHost::Run() {
    replaying = this;
    std::atexit(AtExitHandler);
    // Nor does it need a sound system (an unpaced replay is silent anyway):
    // OpenAL's null device stands in. The choice must be made before the
    // game starts, which opens the audio device.
    if (Headless()) setenv("ALSOFT_DRIVERS", "null", 1);
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

void KrReplayHost::Play(const KrRecord& r) {
    switch (r.kind) {
        case K::Start:
            if (!windowOpen_) Mismatch("the window to be opened before the start");
            hooks::SetReportedSize(r.a, r.b);
            StartGame();
            // Unpaced replays would only garble the sound.
            if (Unpaced()) alListenerf(AL_GAIN, 0);
            break;
        case K::Suspend: SuspendGame(); break;
        case K::Resume: ResumeGame(); break;
        case K::Update:
            Pace();
            ++updates_;
            UpdateGame();
            break;
        case K::Render:
            hooks::SetReportedSize(r.a, r.b);
            if (!options_.fast) FitWindow(r.a, r.b);
            if (options_.screenshotAt >= 0 && updates_ >= options_.screenshotAt && !capturing_) {
                capturing_ = true;
                KrCaptureNextFrame(options_.screenshotPath);
            }
            RenderGame();
            AfterRender();
            break;
        case K::Key: KeyEvent(r.a, r.b); break;
        case K::Mouse: MouseEvent(r.a, r.b, r.x, r.y); break;
        case K::Touch: TouchEvent(r.a, r.b, r.x, r.y); break;
        case K::Motion: MotionEvent(r.a, r.b, r.x, r.y, r.z); break;
        case K::DiscardGraphics: DiscardGraphics(); break;
        default:
            --next_;  // report the record where it stands
            Mismatch("a call into the game");
    }
}

// A capture runs as the frame is presented, inside the render.
void KrReplayHost::AfterRender() {
    if (!capturing_ || KrCapturePending()) return;
    done_ = true;
    std::exit(KrLastCaptureSaved() ? 0 : 1);
}

const KrRecord& KrReplayHost::Take(K kind) {
    if (next_ >= replay_.records.size() || replay_.records[next_].kind != kind)
        Mismatch(std::string("a ") + KrRecordKindName(kind));
    return replay_.records[next_++];
}

void KrReplayHost::Mismatch(const std::string& wanted) {
    std::string found = next_ < replay_.records.size()
                            ? std::string("a ") + KrRecordKindName(replay_.records[next_].kind)
                            : std::string("nothing more");
    std::fprintf(stderr, "vornhelm: the replay %s does not match this game: at update %lld the game needs %s, the recording has %s\n",
                 options_.path.c_str(), updates_, wanted.c_str(), found.c_str());
    done_ = true;
    std::exit(1);
}

void KrReplayHost::EndedBeforeShot() const {
    std::fprintf(stderr, "vornhelm: the replay %s ends at update %lld, before the frame of update %lld\n",
                 options_.path.c_str(), updates_, options_.screenshotAt);
}

void KrReplayHost::Finished() {
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
void KrReplayHost::AtExit() {
    if (done_) return;
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

// Windowed replays run at the game's update rate; fast ones and those that
// make a screenshot run flat out, the latter looking at the window now and
// then.
void KrReplayHost::Pace() {
    if (Unpaced()) {
        if (!Headless() && updates_ % kFastPollEvery == 0) CheckLeave();
        return;
    }
    CheckLeave();
    if (_updateRate <= 0) return;
    double now = Now();
    if (_updateDue - now > kResyncSeconds || now - _updateDue > kResyncSeconds) _updateDue = now;
    for (double delay; (delay = _updateDue - Now()) > 0;) {
        Sleep(std::min(delay, kPollSeconds));
        CheckLeave();
    }
    _updateDue += _updateInterval;
}

void KrReplayHost::CheckLeave() {
    if (windowOpen_) PollEvents();
    if (!leaveAsked && (!windowOpen_ || WindowOpen())) return;
    done_ = true;
    std::printf("Replay left at update %lld of %lld\n", updates_, totalUpdates_);
    std::fflush(stdout);
    std::exit(0);
}

// The window as the recording opened it; the key releases sent before it
// opened are played in between. A headless replay only plays the records.
void KrReplayHost::OpenRecordedWindow() {
    Take(K::WindowBegin);
    while (next_ < replay_.records.size() && IsKeyEvent(replay_.records[next_].kind)) Play(replay_.records[next_++]);
    const KrRecord& end = Take(K::WindowEnd);
    if (!Headless()) OpenWindow(end.a, end.b, end.c != 0);
    windowOpen_ = true;
}

void KrReplayHost::SetGlfwWindow(int, int, int, int, int, int, int, int, bool) { OpenRecordedWindow(); }

// Full screen only where the desktop has the recorded size; otherwise a
// window of that size. The window takes no input but F4 and its close
// button, and keeps its size.
void KrReplayHost::OpenWindow(int width, int height, bool fullscreen) {
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    glfwCloseWindow();
    glfwOpenWindowHint(GLFW_WINDOW_NO_RESIZE, 1);
    bool full = fullscreen && desktop.Width == width && desktop.Height == height;
    if (!glfwOpenWindow(width, height, 8, 8, 8, 0, 0, 0, full ? GLFW_FULLSCREEN : GLFW_WINDOW)) {
        done_ = true;
        const char* reason = glfwGetLastError();
        std::printf("Could not open the game window: %s\n", *reason ? reason : "unknown reason");
        std::fflush(stdout);
        glfwTerminate();
        std::exit(-1);
    }
    if (!full) glfwSetWindowPos((desktop.Width - width) / 2, (desktop.Height - height) / 2);
    glfwSetWindowTitle("Vornhelm replay");  // full screen too: it tells a replay from the game
    ++glfwGraphicsSeq;
    glfwDisable(GLFW_AUTO_POLL_EVENTS);
    glfwSetKeyCallback(OnReplayKey);
    glfwSetCharCallback(nullptr);
    glfwSetMouseButtonCallback(nullptr);
    glfwSetMousePosCallback(nullptr);
    glfwSetWindowCloseCallback(OnReplayClose);
}

// The recording's window changed size (the player resized it): the game is
// shown the recorded size anyway; the window follows where it can.
void KrReplayHost::FitWindow(int width, int height) {
    int w, h;
    KrFramebufferSize(&w, &h);
    if (w != width || h != height) KrRequestFramebufferSize(width, height);
}

int KrReplayHost::Millisecs() { return Take(K::Clock).a; }

// The game's clock comes from the recording; this one only times the
// schedule of a paced replay. Without the window system there is no GLFW
// timer, so a headless replay keeps its own.
double KrReplayHost::Now() {
    if (!Headless()) return KrTandorGame::Now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool KrReplayHost::PollJoystick(int port, Array<float> axesX, Array<float> axesY, Array<float> axesZ,
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

String KrReplayHost::LoadState() {
    const std::u16string& state = replay_.states[Take(K::LoadState).a];
    return String(state.data(), static_cast<int>(state.size()));
}

// Nothing is written: the player's own state file stays as it is.
int KrReplayHost::SaveState(String) { return Take(K::SaveState).a; }

void KrReplayHost::GetDate(Array<int> date) {
    const std::vector<int>& values = replay_.dates[Take(K::Date).a];
    for (int i = 0; i < date.Length() && i < static_cast<int>(values.size()); ++i) date[i] = values[i];
}
