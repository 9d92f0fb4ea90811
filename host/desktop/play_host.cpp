#include "host/desktop/play_host.h"

#include <ctime>

#include "host/desktop/screenshot.h"
#include "host/events.h"

namespace {

constexpr int kKeyF12 = 123;

}  // namespace

void KrPlayHost::KeyEvent(int event, int data) {
    if (data == kKeyF12 && event == kr_event::KeyDown && !f12Down_) shotWanted_ = true;
    if (data == kKeyF12 && (event == kr_event::KeyDown || event == kr_event::KeyUp))
        f12Down_ = event == kr_event::KeyDown;
    KrTandorGame::KeyEvent(event, data);
}

// The name is taken when the frame is asked for, so it tells when F12 was
// pressed, not when the frame came.
void KrPlayHost::RenderGame() {
    if (shotWanted_) {
        shotWanted_ = false;
        CaptureNextFrame(KrScreenshotName(std::time(nullptr)));
    }
    KrTandorGame::RenderGame();
}
