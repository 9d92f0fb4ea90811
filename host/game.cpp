// SPDX-License-Identifier: Zlib
// The host's shared operations: the plain accessors, the values the game
// reads back (through the session tap), the device size, screenshots and the
// guarded dispatchers into the delegate.
#include "host/game.h"

#include <cstdlib>
#include <ctime>

#include "host/decode/decode.h"

KrGame* KrGame::_game = nullptr;

KrGame::KrGame() { _game = this; }

KrGame::~KrGame() {
    if (_game == this) _game = nullptr;
}

// ---- Accessors -------------------------------------------------------------

void KrGame::SetDelegate(KrGameDelegate* delegate) { _delegate = delegate; }
KrGameDelegate* KrGame::Delegate() { return _delegate; }
void KrGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool KrGame::KeyboardEnabled() { return _keyboardEnabled; }
int KrGame::UpdateRate() { return _updateRate; }
bool KrGame::Started() { return _started; }
bool KrGame::Suspended() { return _suspended; }

// Rates of 0 or below switch timed updates off.
void KrGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
    if (hertz <= 0) return;
    _updateInterval = 1.0 / hertz;
    _updateDue = Now() + _updateInterval;
}

void KrGame::OpenUrl(String) {}
void KrGame::SetMouseVisible(bool) {}
String KrGame::PathToFilePath(String path) { return path; }
Array<KrGlfwVideoMode*> KrGame::GetGlfwVideoModes() { return Array<KrGlfwVideoMode*>(0); }

KrGlfwVideoMode* KrGame::GetGlfwDesktopMode() {
    auto* mode = new KrGlfwVideoMode;
    mode->Width = kKrStartWindowWidth;
    mode->Height = kKrStartWindowHeight;
    mode->RedBits = mode->GreenBits = mode->BlueBits = 8;
    return mode;
}

unsigned char* KrGame::LoadImageData(String path, int* width, int* height, int* bytesPerPixel) {
    return KrDecodeImage(this, path, width, height, bytesPerPixel);
}

unsigned char* KrGame::LoadAudioData(String path, int* frameCount, int* channelCount, int* bytesPerSample,
                                     int* sampleRate) {
    return KrDecodeAudio(this, path, frameCount, channelCount, bytesPerSample, sampleRate);
}

void KrGame::Die(ThrowableObject*) {
    krPrint(String("Tandor Runtime Error : Uncaught Tandor Exception"));
    std::exit(-1);
}

void KrGame::gc_collect() {
    gc_mark(static_cast<gc_object*>(_delegate));
    ::gc_collect();
}

// ---- Values the game reads back ------------------------------------------

int KrGame::Millisecs() {
    if (_source) return _source->Clock();
    int millisecs = ReadClock();
    if (_tap) _tap->Clock(millisecs);
    return millisecs;
}

void KrGame::GetDate(Array<int> date) {
    if (_source) return _source->Date(date);
    int n = date.Length();
    if (n > 0) {
        std::time_t now = std::time(nullptr);
        std::tm local = *std::localtime(&now);
        const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min,         local.tm_sec,     0};
        for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
    }
    if (_tap) _tap->Date(date);
}

// A replay writes nothing: the player's own state stays as it is.
int KrGame::SaveState(String state) {
    if (_source) return _source->SaveState();
    int result = WriteState(state);
    if (_tap) _tap->StateSaved(result);
    return result;
}

String KrGame::LoadState() {
    if (_source) return _source->LoadState();
    String state = ReadState();
    if (_tap) _tap->StateLoaded(state);
    return state;
}

bool KrGame::Trait(KrHostTrait trait) {
    if (_source) return _source->Trait(trait);
    bool value = HasTrait(trait);
    if (_tap) _tap->Trait(trait, value);
    return value;
}

// The game's window: the tap sees the key releases the host sends before it
// opens between its begin and end; a replay opens the recorded one instead.
void KrGame::SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                           int stencil, bool fullscreen) {
    if (_source) return _source->WindowAsked();
    if (_tap) _tap->Called(KrSessionTap::WindowBegin);
    KrWindowRequest request;
    request.width = width, request.height = height, request.fullscreen = fullscreen;
    request.red = red, request.green = green, request.blue = blue;
    request.alpha = alpha, request.depth = depth, request.stencil = stencil;
    OpenWindow(request);
    if (!_tap) return;
    int w = 0, h = 0;
    FramebufferSize(&w, &h);
    _tap->Called(KrSessionTap::WindowEnd, w, h, fullscreen ? 1 : 0);
}

// ---- The device size and screenshots -------------------------------------

void KrGame::DeviceSize(int* width, int* height) {
    if (_reportedWidth > 0 && _reportedHeight > 0) {
        *width = _reportedWidth, *height = _reportedHeight;
        return;
    }
    FramebufferSize(width, height);
}

// A second request before the frame comes replaces the first.
void KrGame::CaptureNextFrame(const std::string& path) {
    _capturePath = path;
    _capturePending = true;
}

void KrGame::FrameCaptured(int width, int height, const std::vector<unsigned char>& rgb) {
    _capturePending = false;
    _lastCaptureSaved = width > 0 && height > 0 && KrWritePng(_capturePath, width, height, rgb);
    std::printf(_lastCaptureSaved ? "Screenshot saved as %s\n" : "Screenshot could not be saved as %s\n",
                _capturePath.c_str());
    std::fflush(stdout);
}

// ---- Dispatchers -----------------------------------------------------------

// Runs one delegate call under the handler for thrown runtime objects, then
// one collection step, whether or not anything was thrown. A dispatch made
// from inside another one (the application reopening the window during an
// update releases the held keys through KeyEvent) skips the step: the outer
// call's local references are not roots, so collecting there could free
// objects it still uses. The outer dispatch collects when it returns.
#define KR_DISPATCH(call)                 \
    do {                                  \
        ++_dispatchDepth;                 \
        try {                             \
            _delegate->call;              \
        } catch (ThrowableObject* ex) {   \
            Die(ex);                      \
        }                                 \
        if (--_dispatchDepth == 0) gc_collect(); \
    } while (0)

// The window manager may resize the window at any moment, so while a
// session is recorded the size is read once, noted, and held for the
// graphics device to read during the call: the device sees exactly what a
// replay will show it. The graphics device is made, and reads the size,
// during the start.
template <class Dispatch>
void KrGame::WithDeviceSize(KrSessionTap::Call call, Dispatch dispatch) {
    if (!_tap) return dispatch();
    int width = 0, height = 0;
    FramebufferSize(&width, &height);
    _tap->Called(call, width, height);
    SetReportedSize(width, height);
    dispatch();
    SetReportedSize(0, 0);
}

void KrGame::StartGame() {
    if (_started) return;
    _started = true;
    WithDeviceSize(KrSessionTap::Start, [this] { KR_DISPATCH(StartGame()); });
}

void KrGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    if (_tap) _tap->Called(KrSessionTap::Suspend);
    KR_DISPATCH(SuspendGame());
}

void KrGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    if (_tap) _tap->Called(KrSessionTap::Resume);
    KR_DISPATCH(ResumeGame());
}

void KrGame::UpdateGame() {
    if (!_started || _suspended) return;
    if (_tap) _tap->Called(KrSessionTap::Update);
    KR_DISPATCH(UpdateGame());
}

void KrGame::RenderGame() {
    if (!_started) return;
    WithDeviceSize(KrSessionTap::Render, [this] { KR_DISPATCH(RenderGame()); });
}

void KrGame::KeyEvent(int event, int data) {
    if (!_started) return;
    if (_tap) _tap->Called(KrSessionTap::Key, event, data);
    KR_DISPATCH(KeyEvent(event, data));
}

void KrGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    if (_tap) _tap->Called(KrSessionTap::Mouse, event, data, 0, x, y);
    KR_DISPATCH(MouseEvent(event, data, x, y));
}

void KrGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    if (_tap) _tap->Called(KrSessionTap::Touch, event, data, 0, x, y);
    KR_DISPATCH(TouchEvent(event, data, x, y));
}

void KrGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    if (_tap) _tap->Called(KrSessionTap::Motion, event, data, 0, x, y, z);
    KR_DISPATCH(MotionEvent(event, data, x, y, z));
}

void KrGame::DiscardGraphics() {
    if (!_started) return;
    if (_tap) _tap->Called(KrSessionTap::DiscardGraphics);
    KR_DISPATCH(DiscardGraphics());
}
