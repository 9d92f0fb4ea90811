#include "host/replay/recording_host.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "host/glfw2/glfw2.h"
#include "host/glfw2/hooks.h"
#include "host/stop_signals.h"

namespace {

using K = KrRecordKind;

// Bytes gathered before they go to the file.
constexpr std::size_t kFlushBytes = 1 << 16;

KrRecordingHost* recording = nullptr;

void FinishAtExit() {
    if (recording) recording->Finish();
}

KrRecord Call(K kind, int a = 0, int b = 0, int c = 0, float x = 0, float y = 0, float z = 0) {
    return KrRecord{kind, a, b, c, x, y, z};
}

float Element(const Array<float>& pair, int i) { return i < pair.Length() ? pair[i] : 0; }

}  // namespace

KrRecordingHost* KrRecordingHost::Create(const std::string& path, KrReplayHost::Describe describe,
                                         std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = std::strerror(errno);
        return nullptr;
    }
    recording = new KrRecordingHost(file, path, describe);
    std::atexit(FinishAtExit);
    KrWatchStopSignals();
    return recording;
}

void KrRecordingHost::Run() {
    KrSetStopWakesLoop(true);
    KrPlayHost::Run();
    KrSetStopWakesLoop(false);
}

void KrRecordingHost::PollEvents() {
    StopIfAsked();
    KrPlayHost::PollEvents();
}

void KrRecordingHost::WaitEvents() {
    KrPlayHost::WaitEvents();
    StopIfAsked();
}

// Ends from the main loop, between two calls into the game.
void KrRecordingHost::StopIfAsked() {
    if (int sig = KrStopSignal()) std::exit(128 + sig);
}

void KrRecordingHost::Write(const KrRecord& record) {
    encoder_.Add(record);
    if (encoder_.Pending().size() >= kFlushBytes) Flush();
}

void KrRecordingHost::Flush() {
    std::vector<std::uint8_t> bytes = encoder_.Drain();
    if (file_ && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        writeFailed_ = true;
}

void KrRecordingHost::Finish() {
    if (finished_) return;
    finished_ = true;
    encoder_.Finish();
    Flush();
    if (file_ && std::fclose(file_) != 0) writeFailed_ = true;
    file_ = nullptr;
    if (writeFailed_) std::printf("The recording %s could not be written completely\n", path_.c_str());
    else
        std::printf("Recorded %lld updates to %s: %s\n", updates_, path_.c_str(),
                    describe_ ? describe_().c_str() : "");
    std::fflush(stdout);
}

// The window manager may resize the window at any moment, so the size is
// read once, recorded, and held for the graphics device to read during the
// call: the device sees exactly what a replay will show it.
template <class Dispatch>
void KrRecordingHost::WithDeviceSize(K kind, Dispatch dispatch) {
    int width = 0, height = 0;
    glfw2::glfwGetWindowSize(&width, &height);
    Write(Call(kind, width, height));
    glfw2::hooks::SetReportedSize(width, height);
    dispatch();
    glfw2::hooks::SetReportedSize(0, 0);
}

// The graphics device is made, and reads the window's size, during the start.
void KrRecordingHost::StartGame() {
    WithDeviceSize(K::Start, [this] { KrPlayHost::StartGame(); });
}

void KrRecordingHost::SuspendGame() {
    Write(Call(K::Suspend));
    KrPlayHost::SuspendGame();
}

void KrRecordingHost::ResumeGame() {
    Write(Call(K::Resume));
    KrPlayHost::ResumeGame();
}

void KrRecordingHost::UpdateGame() {
    Write(Call(K::Update));
    ++updates_;
    KrPlayHost::UpdateGame();
}

void KrRecordingHost::RenderGame() {
    WithDeviceSize(K::Render, [this] { KrPlayHost::RenderGame(); });
}

void KrRecordingHost::KeyEvent(int event, int data) {
    Write(Call(K::Key, event, data));
    KrPlayHost::KeyEvent(event, data);
}

void KrRecordingHost::MouseEvent(int event, int data, float x, float y) {
    Write(Call(K::Mouse, event, data, 0, x, y));
    KrPlayHost::MouseEvent(event, data, x, y);
}

void KrRecordingHost::TouchEvent(int event, int data, float x, float y) {
    Write(Call(K::Touch, event, data, 0, x, y));
    KrPlayHost::TouchEvent(event, data, x, y);
}

void KrRecordingHost::MotionEvent(int event, int data, float x, float y, float z) {
    Write(Call(K::Motion, event, data, 0, x, y, z));
    KrPlayHost::MotionEvent(event, data, x, y, z);
}

void KrRecordingHost::DiscardGraphics() {
    Write(Call(K::DiscardGraphics));
    KrPlayHost::DiscardGraphics();
}

int KrRecordingHost::Millisecs() {
    int now = KrPlayHost::Millisecs();
    Write(Call(K::Clock, now));
    return now;
}

// What is recorded is what the game's arrays hold after the poll, all of
// it: an absent joystick or missing buttons leave earlier values in place,
// and a replay reproduces the arrays either way.
bool KrRecordingHost::PollJoystick(int port, Array<float> axesX, Array<float> axesY,
                                   Array<float> axesZ, Array<bool> buttons) {
    bool present = KrPlayHost::PollJoystick(port, axesX, axesY, axesZ, buttons);
    KrJoyReading reading;
    const Array<float>* pairs[3] = {&axesX, &axesY, &axesZ};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 2; ++i) reading.axes[2 * p + i] = Element(*pairs[p], i);
    for (int i = 0; i < 32 && i < buttons.Length(); ++i)
        if (buttons[i]) reading.buttons |= 1u << i;
    encoder_.AddJoystick(port, present, reading);
    return present;
}

String KrRecordingHost::LoadState() {
    String state = KrPlayHost::LoadState();
    encoder_.AddLoadState(std::u16string(state.Data(), state.Length()));
    return state;
}

int KrRecordingHost::SaveState(String state) {
    int result = KrPlayHost::SaveState(state);
    Write(Call(K::SaveState, result));
    return result;
}

void KrRecordingHost::GetDate(Array<int> date) {
    KrPlayHost::GetDate(date);
    std::vector<int> values;
    for (int i = 0; i < date.Length() && i < kReplayMaxDateFields; ++i) values.push_back(date[i]);
    encoder_.AddDate(values);
}

// The key releases the host sends before opening the window are recorded
// between the two records, by KeyEvent.
void KrRecordingHost::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                                    int depth, int stencil, bool fullscreen) {
    Write(Call(K::WindowBegin));
    KrPlayHost::SetGlfwWindow(width, height, red, green, blue, alpha, depth, stencil, fullscreen);
    int w = 0, h = 0;
    glfw2::glfwGetWindowSize(&w, &h);
    Write(Call(K::WindowEnd, w, h, fullscreen ? 1 : 0));
}
