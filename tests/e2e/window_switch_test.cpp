// SPDX-License-Identifier: Zlib
// The full-screen switch of the real host, through a probe program that
// switches on F11 and logs each switch, the window size and the key events,
// under a private desktop driven by xdotool.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace {

using namespace testsupport;
using Lines = std::vector<std::string>;

class WindowSwitch : public ::testing::Test {
protected:
    void Start(const Env& env = {}) {
        wm = StartDesktop();
        probe = Spawn({TestAppPath("window_switch_probe")}, "", log, env);
        ActivateWindow(probe);
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
    int wm = 0, probe = 0;
    std::string log = "/tmp/vornhelm-switch-probe-" + std::to_string(getpid());
};

// Every reopen releases the held keys; the keyboard's auto-repeat of a key
// still held must not then count as a new press. Only a real one does.
TEST_F(WindowSwitch, HoldingF11SwitchesOnceAndOnlyARealPressSwitchesAgain) {
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
TEST_F(WindowSwitch, ARefusedFullScreenModeLeavesTheProgramRunningInAWindow) {
    Start({{"SWITCH_PROBE_FULLSCREEN", "65536x480 2048x2048"}});
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
