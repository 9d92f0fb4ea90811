// SPDX-License-Identifier: Zlib
// The game window of the real host under a private desktop: the probe
// program (apps/window_probe) logs what reaches it while xdotool and the
// window manager drive it.
#include <gtest/gtest.h>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;

TEST(Window, TakesKeysAndClicksSuspendsWhenIconifiedAndClosesWithZero) {
    int wm = StartDesktop();
    const std::string log = "/tmp/vornhelm-probe-" + std::to_string(getpid());
    int probe = Spawn({TestAppPath("window_probe")}, "", log);
    const std::string window = ActivateWindow(probe);
    ASSERT_FALSE(window.empty());
    auto has = [&](const std::string& line) { return WaitUntil([&] { return ("\n" + ReadFile(log)).find("\n" + line + "\n") != std::string::npos; }); };
    EXPECT_TRUE(has("size 640 480"));
    Tool({"xdotool", "key", "Escape", "F12"});
    Tool({"xdotool", "mousemove", "--window", window, "300", "50", "click", "3"});
    for (const char* line : {"key 1 27", "key 2 27", "key 3 27", "key 1 123", "key 2 123", "mouse 4 1 300 50", "mouse 5 1 300 50"})
        EXPECT_TRUE(has(line)) << line;

    // Iconified, it suspends and stops updating; activated again, it resumes.
    Tool({"xdotool", "windowminimize", "--sync", window});
    ASSERT_TRUE(has("suspend"));
    Pause(0.5);
    const std::string quiet = ReadFile(log);
    EXPECT_EQ(quiet.substr(quiet.rfind("suspend")).find("update"), std::string::npos);
    Tool({"xdotool", "windowactivate", "--sync", window});
    EXPECT_TRUE(has("resume"));

    CloseButton(window);
    EXPECT_EQ(WaitExit(probe), 0);
    Kill(probe), Kill(wm);
    unlink(log.c_str());
}

// A display without OpenGL: one line on standard output, exit -1.
TEST(Window, WithoutOpenGLTheProgramSaysSoAndExitsMinusOne) { ExpectNoWindowWithoutOpenGL(TestAppPath("window_probe")); }

}  // namespace
