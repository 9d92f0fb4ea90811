// SPDX-License-Identifier: Zlib
// A small application on the real host and framework that logs on standard
// output what reaches it: its window size, key and mouse events, suspend,
// resume and updates. The update rate comes from PROBE_RATE (default 60).
#include <cstdio>
#include <cstdlib>

#include "framework/framework.h"
#include "host/glfw2/glfw2.h"
#include "host/desktop/glfw_game.h"

namespace {

void logLine(const char* format, int a = 0, int b = 0, int c = 0, int d = 0) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b, c, d);
    krPrint(String(line));
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
        int width = 0, height = 0;
        glfw2::glfwGetWindowSize(&width, &height);
        logLine("size %d %d", width, height);
        const char* rate = std::getenv("PROBE_RATE");
        kr_app_SetUpdateRate(rate ? std::atoi(rate) : 60);
        return 0;
    }
    int p_OnUpdate() override { return logLine("update"), 0; }
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
