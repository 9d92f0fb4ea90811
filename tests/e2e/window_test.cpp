// SPDX-License-Identifier: Zlib
// The game window of the real host under a private desktop: the probe
// program (apps/window_probe) logs what reaches it while xdotool and the
// window manager drive it; on F11 it switches to full screen and back, as
// the game does, and logs each switch and the window size after it.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;
using Lines = std::vector<std::string>;

class ProbeWindow : public ::testing::Test {
protected:
    void Start(const Env& env = {}) {
        wm = StartDesktop();
        probe = Spawn({TestAppPath("window_probe")}, "", log, env);
        window = ActivateWindow(probe);
        ASSERT_FALSE(window.empty());
    }
    void TearDown() override { Kill(probe), Kill(wm), unlink(log.c_str()); }
    // The log's lines that start with `prefix`.
    Lines Log(const std::string& prefix = "") {
        Lines out;
        std::istringstream in(ReadFile(log));
        for (std::string line; std::getline(in, line);)
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
    // Waits for a line starting with `prefix` from line `from` on; its index, or -1.
    int WaitFor(const std::string& prefix, size_t from = 0) {
        int at = -1;
        WaitUntil([&] {
            const Lines lines = Log();
            for (size_t i = from; i < lines.size() && at < 0; ++i) at = lines[i].rfind(prefix, 0) == 0 ? int(i) : -1;
            return at >= 0;
        });
        return at;
    }
    // Waits for the line itself.
    bool Has(const std::string& line) { return WaitUntil([&] { return ("\n" + ReadFile(log)).find("\n" + line + "\n") != std::string::npos; }); }
    int wm = 0, probe = 0;
    std::string window, log = "/tmp/vornhelm-probe-" + std::to_string(getpid());
};

TEST_F(ProbeWindow, TakesKeysAndClicksSuspendsWhenIconifiedAndClosesWithZero) {
    Start();
    EXPECT_TRUE(Has("size 640 480"));
    Tool({"xdotool", "key", "Escape", "F12"});
    Tool({"xdotool", "mousemove", "--window", window, "300", "50", "click", "3"});
    for (const char* line : {"key 1 27", "key 2 27", "key 3 27", "key 1 123", "key 2 123", "mouse 4 1 300 50", "mouse 5 1 300 50"})
        EXPECT_TRUE(Has(line)) << line;

    // Iconified, it suspends and stops updating; activated again, it resumes.
    Tool({"xdotool", "windowminimize", "--sync", window});
    ASSERT_TRUE(Has("suspend"));
    Pause(0.5);
    const std::string quiet = ReadFile(log);
    EXPECT_EQ(quiet.substr(quiet.rfind("suspend")).find("update"), std::string::npos);
    Tool({"xdotool", "windowactivate", "--sync", window});
    EXPECT_TRUE(Has("resume"));

    CloseButton(window);
    EXPECT_EQ(WaitExit(probe), 0);
}

// Every reopen releases the held keys; the keyboard's auto-repeat of a key
// still held must not then count as a new press. Only a real one does.
TEST_F(ProbeWindow, HoldingF11SwitchesOnceAndOnlyARealPressSwitchesAgain) {
    Start();
    ASSERT_GE(WaitFor("size 640 480"), 0);
    Tool({"xdotool", "keydown", "F11"}), Pause(1.5), Tool({"xdotool", "keyup", "F11"});
    ASSERT_GE(WaitFor("switch fullscreen"), 0);
    // Every key event before this one has been handled once it shows.
    Tool({"xdotool", "key", "a"});
    ASSERT_GE(WaitFor("key 1 65"), 0);
    EXPECT_EQ(Log("switch "), Lines{"switch fullscreen"});
    EXPECT_EQ(Log("key 1 122").size(), 1u);
    Tool({"xdotool", "key", "F11"});
    int back = WaitFor("switch windowed");
    ASSERT_GE(back, 0);
    EXPECT_GE(WaitFor("size 640 480", back), 0);
}

// A size beyond what the window system can address (which used to end the
// program in X's error handling) and a full-screen mode larger than any the
// display has: the program goes on in a 640 x 480 window and says so on one line.
TEST_F(ProbeWindow, ARefusedFullScreenModeLeavesTheProgramRunningInAWindow) {
    Start({{"PROBE_FULLSCREEN", "65536x480 2048x2048"}});
    ASSERT_GE(WaitFor("size 640 480"), 0);
    for (const char* reason : {"a window of 65536 x 480 is too large to address;",
                               "the display has no full-screen mode of 2048 x 2048, the largest is "}) {
        SCOPED_TRACE(reason);
        size_t from = Log().size();
        Tool({"xdotool", "key", "F11"});
        int said = WaitFor("Could not reopen", from);
        ASSERT_GE(said, 0);
        const std::string line = Log()[said], ending = "; opened a 640 x 480 window instead";
        EXPECT_EQ(line.rfind(std::string("Could not reopen the game window: ") + reason, 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - std::min(line.size(), ending.size())), ending);
        EXPECT_GE(WaitFor("size 640 480", said), 0);
        ActivateWindow(probe);
        Tool({"xdotool", "key", "F11"});  // back to "windowed", as the probe sees it
        ASSERT_GE(WaitFor("size 640 480", WaitFor("switch windowed", said)), 0);
    }
    Tool({"xdotool", "key", "a"});
    EXPECT_GE(WaitFor("key 1 65"), 0) << "the loop still runs";
}

}  // namespace
