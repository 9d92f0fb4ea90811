// SPDX-License-Identifier: Zlib
// A small application on the real host and framework that logs on standard
// output what reaches it: its window size, key and mouse events, suspend,
// resume and updates, 60 a second.
// F11 switches between a 640 x 480 window and full screen, as the game
// does, and logs the switch and the window size after it.
// PROBE_FULLSCREEN="WxH WxH ..." asks for full-screen modes of those sizes
// instead of the desktop's, one per switch to full screen, the last one
// again once they run out.
#include <cstdio>
#include <cstdlib>

#include "framework/framework.h"
#include "host/desktop/glfw_game.h"
#include "host/glfw2/glfw2.h"

namespace {

const int kF11 = 122;

void logLine(const char* format, int a = 0, int b = 0, int c = 0, int d = 0) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b, c, d);
    krPrint(String(line));
}

void logSize() {
    int width = 0, height = 0;
    glfw2::glfwGetWindowSize(&width, &height);
    logLine("size %d %d", width, height);
}

class ProbeDelegate : public c_GameDelegate {
public:
    void SuspendGame() override { logLine("suspend"), c_GameDelegate::SuspendGame(); }
    void ResumeGame() override { logLine("resume"), c_GameDelegate::ResumeGame(); }
    void KeyEvent(int event, int data) override { logLine("key %d %d", event, data), c_GameDelegate::KeyEvent(event, data); }
    void MouseEvent(int event, int data, float x, float y) override {
        if (event != kr_event::MouseMove) logLine("mouse %d %d %d %d", event, data, int(x), int(y));
        c_GameDelegate::MouseEvent(event, data, x, y);
    }
};

class ProbeApp : public c_App {
public:
    int p_OnCreate() override {
        logSize();
        kr_app_SetUpdateRate(60);
        return 0;
    }
    int p_OnUpdate() override {
        logLine("update");
        if (kr_input_KeyHit(kF11)) Switch();
        return 0;
    }

private:
    void Switch() {
        fullscreen = !fullscreen;
        KrGlfwGame* host = KrGlfwGame::_glfwGame;
        KrGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
        int width = desktop->Width, height = desktop->Height;
        if (const char* sizes = std::getenv("PROBE_FULLSCREEN"); sizes && fullscreen) {
            int n = 0;
            for (int i = 0; i <= fullSwitches && std::sscanf(sizes, " %dx%d%n", &width, &height, &n) == 2; ++i) sizes += n;
            ++fullSwitches;
        }
        logLine(fullscreen ? "switch fullscreen" : "switch windowed");
        host->SetGlfwWindow(fullscreen ? width : 640, fullscreen ? height : 480, desktop->RedBits, desktop->GreenBits,
                            desktop->BlueBits, 0, 0, 0, fullscreen);
        logSize();
    }
    bool fullscreen = false;
    int fullSwitches = 0;
};

}  // namespace

int krMain() {
    (new ProbeApp)->m_new();
    gc_assign(kr_app__delegate, (new ProbeDelegate)->m_new());
    kr_app__game->SetDelegate(kr_app__delegate);
    return 0;
}

int main(int argc, char** argv) {
    KrGame::Main(argc, const_cast<const char**>(argv), new KrTandorGame);
    return 0;
}
