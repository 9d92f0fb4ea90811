// SPDX-License-Identifier: Zlib
#include "host/desktop/play_host.h"

#include <ctime>

#include "host/desktop/screenshot.h"
#include "host/events.h"
#include "host/folders.h"

void KrPlayHost::KeyEvent(int event, int data) {
    if (data == kr_key::F12 && event == kr_event::KeyDown && !f12Down_) shotWanted_ = true;
    if (data == kr_key::F12 && (event == kr_event::KeyDown || event == kr_event::KeyUp))
        f12Down_ = event == kr_event::KeyDown;
    KrTandorGame::KeyEvent(event, data);
}

// The name is taken when the frame is asked for, so it tells when F12 was
// pressed, not when the frame came. The screenshot folder is made when
// first needed.
void KrPlayHost::RenderGame() {
    if (shotWanted_) {
        shotWanted_ = false;
        const std::string path = KrScreenshotName(std::time(nullptr));
        KrMakeFolderFor(path);
        CaptureNextFrame(path);
    }
    KrTandorGame::RenderGame();
}
