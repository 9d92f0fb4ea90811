// The game window under a private Xvfb: the probe application (apps/
// window_probe) logs what reaches it while xdotool, Xlib and openbox drive it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/display.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>

namespace {

using Lines = std::vector<std::string>;

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

pid_t Spawn(const char* program, const char* arg, const char* out) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed test
        dup2(open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open("/dev/null", O_WRONLY), 2);
        execlp(program, program, arg, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// The probe (and optionally openbox) on a private X server of this process.
class Session {
public:
    explicit Session(bool windowManager) {
        unsetenv("DISPLAY");
        display = testsupport::EnsureDisplay();
        if (windowManager) {
            wm = Spawn("openbox", "--sm-disable", "/dev/null");
            for (int i = 0; i < 100 && Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") ==
                                           std::string::npos; ++i)
                Pause(0.1);
        }
        probe = Spawn(testsupport::TestAppPath("window_probe").c_str(), nullptr, log.c_str());
        window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    }
    ~Session() {
        for (pid_t pid : {probe, wm})
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        unlink(log.c_str());
    }
    Lines Read() {
        Lines lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Index of the first line equal to `line` at or after `from`; -1 if none comes.
    int WaitFor(const std::string& line, size_t from = 0, double timeout = 10) {
        for (double t = 0; t < timeout; t += 0.05, Pause(0.05)) {
            Lines lines = Read();
            for (size_t i = from; i < lines.size(); ++i)
                if (lines[i] == line) return static_cast<int>(i);
        }
        return -1;
    }
    // Lines from `from` on that start with `prefix`.
    Lines Matching(const std::string& prefix, size_t from = 0) {
        Lines out;
        Lines lines = Read();
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) out.push_back(lines[i]);
        return out;
    }
    // Suspended after line `from`, no updates for a second, resumed after activation.
    void ExpectSuspendAndResume(size_t from) {
        int suspended = WaitFor("suspend", from);
        ASSERT_GE(suspended, 0);
        Pause(1.0);
        EXPECT_EQ(Matching("update", suspended).size(), 0u);
        Tool({"xdotool", "windowactivate", "--sync", window});
        int resumed = WaitFor("resume", suspended);
        ASSERT_GE(resumed, 0);
        Pause(0.5);
        EXPECT_GT(Matching("update", resumed).size(), 5u);
    }

    std::string display, window, log = "/tmp/vornhelm-probe-" + std::to_string(getpid());
    pid_t wm = 0, probe = 0;
};

TEST(Window, OpensTakesKeysAndClicksAndClosesWithZero) {
    Session s(false);
    ASSERT_GE(s.WaitFor("size 640 480"), 0);
    ASSERT_FALSE(s.window.empty());
    EXPECT_EQ(Tool({"xdotool", "getwindowname", s.window}), "Vornhelm");
    std::string info = testsupport::RunProcess({"xwininfo", "-id", s.window}).out;
    EXPECT_NE(info.find("Width: 640\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480\n"), std::string::npos) << info;

    // Keypad digits, Alt and F13 give no key events; Shift and Control are
    // checked apart, since xdotool may hold one while typing another.
    Tool({"xdotool", "key", "--delay", "30", "Escape", "Left", "Delete", "F1", "F12", "KP_1", "Alt_L", "F13",
          "Shift_R", "Control_R", "a", "shift+b", "z"});
    ASSERT_GE(s.WaitFor("key 2 90"), 0);
    Lines keys;
    for (const std::string& l : s.Matching("key "))
        if (l.rfind("key 3 ", 0) != 0 && l.find(" 16") == std::string::npos && l.find(" 17") == std::string::npos)
            keys.push_back(l);
    EXPECT_EQ(keys, (Lines{"key 1 27", "key 2 27", "key 1 37", "key 2 37", "key 1 46", "key 2 46", "key 1 112",
                           "key 2 112", "key 1 123", "key 2 123", "key 1 65", "key 2 65", "key 1 66", "key 2 66",
                           "key 1 90", "key 2 90"}));
    EXPECT_EQ(s.Matching("key 3 "), (Lines{"key 3 27", "key 3 65573", "key 3 127", "key 3 49", "key 3 97",
                                          "key 3 66", "key 3 122"}));
    for (const char* m : {"key 1 16", "key 2 16", "key 1 17", "key 2 17"})
        EXPECT_GE(s.WaitFor(m), 0) << m;

    Tool({"xdotool", "mousemove", "--window", s.window, "100", "200", "click", "1"});
    Tool({"xdotool", "mousemove", "--window", s.window, "300", "50", "click", "3"});
    Tool({"xdotool", "click", "2"});
    Tool({"xdotool", "mousemove", "--window", s.window, "639", "479", "click", "1"});
    ASSERT_GE(s.WaitFor("mouse 5 0 639 479"), 0);
    EXPECT_EQ(s.Matching("mouse "), (Lines{"mouse 4 0 100 200", "mouse 5 0 100 200", "mouse 4 1 300 50",
                                          "mouse 5 1 300 50", "mouse 4 2 300 50", "mouse 5 2 300 50",
                                          "mouse 4 0 639 479", "mouse 5 0 639 479"}));

    // The window manager's delete request, as a close button sends it.
    Display* dpy = XOpenDisplay(s.display.c_str());
    ASSERT_NE(dpy, nullptr);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = std::stoul(s.window);
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XSendEvent(dpy, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(dpy);
    int status = -1;
    for (int i = 0; i < 200 && waitpid(s.probe, &status, WNOHANG) == 0; ++i) Pause(0.05);
    s.probe = 0;
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(s.Matching("key ").back(), "key 1 432");
}

TEST(Window, IconifyOrFocusLossSuspendsAndGettingThemBackResumes) {
    Session s(true);
    ASSERT_GE(s.WaitFor("update"), 0);
    size_t from = s.Read().size();
    Tool({"xdotool", "windowminimize", "--sync", s.window});
    s.ExpectSuspendAndResume(from);
    from = s.Read().size();
    pid_t other = Spawn("xmessage", "other", "/dev/null");
    Tool({"xdotool", "windowactivate", "--sync", Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
    s.ExpectSuspendAndResume(from);
    kill(other, SIGKILL), waitpid(other, nullptr, 0);
}

// No display, or a display without OpenGL: one line on standard output, exit -1.
TEST(Window, WithoutADisplayOrOpenGLTheProgramSaysSoAndExitsMinusOne) {
    testsupport::ProcessOptions noDisplay;
    noDisplay.env = {{"DISPLAY", ":65432"}};
    auto result = testsupport::RunProcess({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, noDisplay);
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.out, "glfwInit failed\n");

    result = testsupport::RunProcess({"xvfb-run", "-a", "-s", "-screen 0 640x480x24 -extension GLX",
                                      testsupport::TestAppPath("window_probe")});
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.out.rfind("Could not open the game window: ", 0), 0u) << result.out;
    EXPECT_EQ(result.out.find('\n'), result.out.size() - 1) << result.out;
}

}  // namespace
