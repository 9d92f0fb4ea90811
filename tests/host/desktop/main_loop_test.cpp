// SPDX-License-Identifier: Zlib
// The main loop's scheduling, driven by a clock that the test controls; the
// dispatchers, guards and loop are the real host's.
#include <gtest/gtest.h>

#include <string>

#include "host/desktop/glfw_game.h"

namespace {

struct LoggingDelegate : KrGameDelegate {
    std::string* log;
    explicit LoggingDelegate(std::string* log) : log(log) {}
    void UpdateGame() override { *log += "U "; }
    void RenderGame() override { *log += "R "; }
};

struct ScriptedHost : KrGlfwGame {
    double clock = 0;
    std::string log;
    ScriptedHost() { SetDelegate(new LoggingDelegate(&log)), StartGame(); }
    std::string Passes(int n) {
        log.clear();
        for (int i = 0; i < n; ++i) RunPass();
        return log;
    }

    double Now() override { return clock; }
    void Sleep(double seconds) override { log += "sleep ", clock += seconds; }
    void PollEvents() override {}
    void WaitEvents() override { log += "wait "; }
    bool WindowOpen() override { return true; }
    bool WindowIconified() override { return iconified; }
    bool WindowActive() override { return active; }
    bool active = true, iconified = false;
};

TEST(MainLoop, Scheduling) {
    struct Case { const char* name; int rate; double start; int passes; const char* log; } cases[] = {
        // A pass before the update is due only sleeps; it does not render.
        {"early", 60, 0, 1, "sleep "},
        {"steady", 64, 0, 4, "sleep U R sleep U R "},
        // After a stall: four updates, one render, and a schedule reset (the
        // next update is due at once, then one per interval).
        {"stall", 60, 1.0, 4, "U U U U R U R sleep U R "},
        {"negative rate", -5, 0, 2, "R wait R wait "}};
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHost host;
        host.SetUpdateRate(c.rate);
        host.clock = c.start;
        EXPECT_EQ(host.Passes(c.passes), c.log);
    }
}

// Suspended while the window is inactive or iconified, for ten seconds; on
// resuming, the first update is due at once and the next an interval later:
// the time away is not made up.
TEST(MainLoop, ResumeStartsAFreshSchedule) {
    // An iconified window stays suspended even when it reports focus.
    struct Case { const char* name; bool focus, iconified; const char* away; } cases[] = {
        {"focus lost", false, false, "R wait R wait "}, {"iconified", false, true, "wait wait "},
        {"iconified with focus", true, true, "wait wait "}};
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHost host;
        host.SetUpdateRate(64);
        EXPECT_EQ(host.Passes(2), "sleep U R ");
        host.active = c.focus, host.iconified = c.iconified;
        EXPECT_EQ(host.Passes(2), c.away);
        host.clock += 10;
        host.active = true, host.iconified = false;
        EXPECT_EQ(host.Passes(3), "U R sleep U R ");
        EXPECT_EQ(host.Passes(2), "sleep U R ");
    }
}

}  // namespace
