// A small application on the real host and framework that logs, one line at
// a time on standard output, what reaches it: the host's events as the
// delegate receives them, suspend and resume, and per update the presses
// and characters the input module reports. Tests drive its window with real
// X input and read the log.
//
// The update rate comes from PROBE_RATE (default 60); with PROBE_RENDERS set
// every render is logged too.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "framework/framework.h"
#include "host/glfw2.h"
#include "host/glfw_game.h"

namespace {

void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

void logLine(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    krPrint(String(line));
}

class ProbeDelegate : public c_GameDelegate {
public:
    ProbeDelegate() {}
    void StartGame() override {
        logLine("start");
        c_GameDelegate::StartGame();
    }
    void SuspendGame() override {
        logLine("suspend");
        c_GameDelegate::SuspendGame();
    }
    void ResumeGame() override {
        logLine("resume");
        c_GameDelegate::ResumeGame();
    }
    void KeyEvent(int event, int data) override {
        logLine("key %d %d", event, data);
        c_GameDelegate::KeyEvent(event, data);
    }
    void MouseEvent(int event, int data, float x, float y) override {
        if (event != kr_event::MouseMove) logLine("mouse %d %d %g %g", event, data, x, y);
        c_GameDelegate::MouseEvent(event, data, x, y);
    }
};

class ProbeApp : public c_App {
public:
    ProbeApp() {}
    int updates = 0;
    int renders = 0;

    int p_OnCreate() override {
        const char* rate = std::getenv("PROBE_RATE");
        int hertz = rate ? std::atoi(rate) : 60;
        int width = 0, height = 0;
        glfw2::glfwGetWindowSize(&width, &height);
        logLine("create devices=%d%d%d", kr_graphics_device != nullptr, kr_audio_device != nullptr,
                kr_input_device != nullptr);
        logLine("size %d %d", width, height);
        kr_app_SetUpdateRate(hertz);
        return 0;
    }
    int p_OnUpdate() override {
        ++updates;
        for (int key = 1; key < 512; ++key)
            if (int hits = kr_input_KeyHit(key)) logLine("hit %d %d", key, hits);
        while (int chr = kr_input_GetChar()) logLine("char %d", chr);
        logLine("update %d", updates);
        return 0;
    }
    int p_OnRender() override {
        ++renders;
        if (std::getenv("PROBE_RENDERS")) logLine("render %d", renders);
        return 0;
    }
};

}  // namespace

int krMain() {
    (new ProbeApp)->m_new();
    // The logging delegate takes the framework delegate's place.
    gc_assign(kr_app__delegate, (new ProbeDelegate)->m_new());
    kr_app__game->SetDelegate(kr_app__delegate);
    return 0;
}

int main(int argc, char** argv) {
    KrTandorGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
