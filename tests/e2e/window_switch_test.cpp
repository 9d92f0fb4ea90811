// Switching between a window and full screen, under a private Xvfb with
// openbox: the switch probe (apps/window_switch_probe) switches on F11 as
// the game does and logs each switch, the window size after it and the key
// events that reach it, while xdotool works the keyboard.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/display.h"
#include "tests/support/process.h"

namespace {

using Lines = std::vector<std::string>;

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& out, const std::string& env = "") {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed test
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open("/dev/null", O_WRONLY), 2);
        if (!env.empty()) putenv(const_cast<char*>(env.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// openbox and the probe on this process's own X server; the probe's window
// has the focus.
class Session {
public:
    explicit Session(const std::string& env = "") {
        unsetenv("DISPLAY");
        testsupport::EnsureDisplay();
        wm = Spawn({"openbox", "--sm-disable"}, "/dev/null");
        for (int i = 0; i < 100 && Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") ==
                                       std::string::npos; ++i)
            Pause(0.1);
        probe = Spawn({testsupport::TestAppPath("window_switch_probe")}, log, env);
        window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
        Tool({"xdotool", "windowactivate", "--sync", window});
    }
    ~Session() {
        for (pid_t pid : {probe, wm})
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        unlink(log.c_str());
    }
    Lines Read() const {
        Lines lines;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Index of the first line at or after `from` that starts with `prefix`; -1 if none comes.
    int WaitFor(const std::string& prefix, size_t from = 0, double timeout = 10) const {
        for (double t = 0; t < timeout; t += 0.05, Pause(0.05)) {
            Lines lines = Read();
            for (size_t i = from; i < lines.size(); ++i)
                if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
        }
        return -1;
    }
    Lines Matching(const std::string& prefix) const {
        Lines out;
        for (const std::string& line : Read())
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
    bool Running() const { return waitpid(probe, nullptr, WNOHANG) == 0; }

    std::string window, log = "/tmp/vornhelm-switch-probe-" + std::to_string(getpid());
    pid_t wm = 0, probe = 0;
};

// Every reopen releases the held keys; the keyboard's auto-repeat of a key
// still held must not then count as a new press. Only a real one does.
TEST(WindowSwitch, HoldingF11SwitchesOnceAndOnlyARealPressSwitchesAgain) {
    Session s;
    ASSERT_GE(s.WaitFor("size 640 480"), 0);
    Tool({"xdotool", "keydown", "F11"});
    Pause(1.5);
    Tool({"xdotool", "keyup", "F11"});
    ASSERT_GE(s.WaitFor("switch fullscreen"), 0);
    Pause(0.5);
    EXPECT_EQ(s.Matching("switch "), Lines{"switch fullscreen"});
    EXPECT_EQ(s.Matching("key 1 122").size(), 1u);

    Tool({"xdotool", "key", "F11"});
    int back = s.WaitFor("switch windowed");
    ASSERT_GE(back, 0);
    EXPECT_GE(s.WaitFor("size 640 480", back), 0);
    Pause(0.3);
    EXPECT_EQ(s.Matching("switch ").size(), 2u);
}

// A size beyond what the window system can address (which used to end the
// program in X's error handling) and a full-screen mode larger than any the
// display has: the program goes on in a 640 x 480 window, says so on one
// line, and still takes keys.
TEST(WindowSwitch, ARefusedFullScreenModeLeavesTheProgramRunningInAWindow) {
    Session s("SWITCH_PROBE_FULLSCREEN=65536x480 2048x2048");
    ASSERT_GE(s.WaitFor("size 640 480"), 0);
    for (const char* reason : {"a window of 65536 x 480 is too large to address;",
                               "the display has no full-screen mode of 2048 x 2048, the largest is "}) {
        SCOPED_TRACE(reason);
        size_t from = s.Read().size();
        Tool({"xdotool", "key", "F11"});
        int said = s.WaitFor("Could not reopen", from);
        ASSERT_GE(said, 0);
        const std::string line = s.Read()[said], ending = "; opened a 640 x 480 window instead";
        EXPECT_EQ(line.rfind(std::string("Could not reopen the game window: ") + reason, 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - std::min(line.size(), ending.size())), ending);
        EXPECT_GE(s.WaitFor("size 640 480", said), 0);
        ASSERT_TRUE(s.Running());
        s.window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
        Tool({"xdotool", "windowactivate", "--sync", s.window});
        Tool({"xdotool", "key", "F11"});  // back to "windowed", as the probe sees it
        ASSERT_GE(s.WaitFor("switch windowed", said), 0);
        ASSERT_GE(s.WaitFor("size 640 480", said + 2), 0);
    }
    Tool({"xdotool", "key", "a"});
    EXPECT_GE(s.WaitFor("key 1 65"), 0) << "the loop still runs";
    EXPECT_TRUE(s.Running());
}

}  // namespace
