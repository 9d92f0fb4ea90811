#include "host/game.h"

#include <cstdlib>
#include <ctime>

KrGame* KrGame::_game = nullptr;
int glfwGraphicsSeq = 0;

KrGame::KrGame() { _game = this; }

KrGame::~KrGame() {
    if (_game == this) _game = nullptr;
}

void KrGame::SetDelegate(KrGameDelegate* delegate) { _delegate = delegate; }
KrGameDelegate* KrGame::Delegate() { return _delegate; }
void KrGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool KrGame::KeyboardEnabled() { return _keyboardEnabled; }
void KrGame::SetUpdateRate(int hertz) { _updateRate = hertz; }
int KrGame::UpdateRate() { return _updateRate; }
bool KrGame::Started() { return _started; }
bool KrGame::Suspended() { return _suspended; }
int KrGame::Millisecs() { return 0; }

void KrGame::GetDate(Array<int> date) {
    int n = date.Length();
    if (n == 0) return;
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
}

bool KrGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void KrGame::OpenUrl(String) {}
void KrGame::SetMouseVisible(bool) {}
String KrGame::PathToFilePath(String path) { return path; }

void KrGame::Die(ThrowableObject*) {
    krPrint(String("Tandor Runtime Error : Uncaught Tandor Exception"));
    std::exit(-1);
}

void KrGame::gc_collect() {
    gc_mark(static_cast<gc_object*>(_delegate));
    ::gc_collect();
}

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

void KrGame::StartGame() {
    if (_started) return;
    _started = true;
    KR_DISPATCH(StartGame());
}

void KrGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    KR_DISPATCH(SuspendGame());
}

void KrGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    KR_DISPATCH(ResumeGame());
}

void KrGame::UpdateGame() {
    if (!_started || _suspended) return;
    KR_DISPATCH(UpdateGame());
}

void KrGame::RenderGame() {
    if (!_started) return;
    KR_DISPATCH(RenderGame());
}

void KrGame::KeyEvent(int event, int data) {
    if (!_started) return;
    KR_DISPATCH(KeyEvent(event, data));
}

void KrGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    KR_DISPATCH(MouseEvent(event, data, x, y));
}

void KrGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    KR_DISPATCH(TouchEvent(event, data, x, y));
}

void KrGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    KR_DISPATCH(MotionEvent(event, data, x, y, z));
}

void KrGame::DiscardGraphics() {
    if (!_started) return;
    KR_DISPATCH(DiscardGraphics());
}
