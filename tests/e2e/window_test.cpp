// SPDX-License-Identifier: Zlib
// The game window of the real host under a private desktop: the probe
// program (apps/window_probe) logs what reaches it while xdotool and the
// window manager drive it.
#include <gtest/gtest.h>

#include "tests/support/game_run.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>

namespace {

using namespace testsupport;

TEST(Window, TakesKeysAndClicksSuspendsWhenIconifiedAndClosesWithZero) {
    int wm = StartDesktop();
    const std::string log = "/tmp/vornhelm-probe-" + std::to_string(getpid());
    int probe = Spawn({TestAppPath("window_probe")}, "", log);
    const std::string window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    auto has = [&](const std::string& line) { return WaitUntil([&] { return ("\n" + ReadFile(log)).find("\n" + line + "\n") != std::string::npos; }); };
    EXPECT_TRUE(has("size 640 480"));
    Tool({"xdotool", "windowactivate", "--sync", window});
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

    // The window manager's delete request, as a close button sends it.
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::stoul(window);
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XSendEvent(dpy, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(dpy);
    EXPECT_EQ(WaitExit(probe), 0);
    Kill(probe), Kill(wm);
    unlink(log.c_str());
}

// A display without OpenGL: one line on standard output, exit -1. The probe's
// own exit code is printed after it, because xvfb-run now and then fails to
// remove its temporary folder and then exits with a code of its own.
TEST(Window, WithoutOpenGLTheProgramSaysSoAndExitsMinusOne) {
    auto result = RunProcess({"xvfb-run", "-a", "-s", "-screen 0 640x480x24 -extension GLX", "sh", "-c",
                              "\"$0\"; echo \"exit $?\"", TestAppPath("window_probe")});
    const std::string tail = "exit 255\n";
    ASSERT_GE(result.out.size(), tail.size()) << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail) << result.out;
    const std::string said = result.out.substr(0, result.out.size() - tail.size());
    EXPECT_EQ(said.rfind("Could not open the game window: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

}  // namespace
