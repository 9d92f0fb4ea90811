// The host under a real X server: the probe application (apps/window_probe)
// opens its window through the real host and framework and logs what
// reaches it; the tests drive the window with xdotool, Xlib and openbox.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/x_session.h"
#include "tests/support/process.h"

namespace {

using xsession::Child;
using xsession::XServer;

std::vector<std::string> Matching(const std::vector<std::string>& lines, size_t from, size_t to,
                                  const std::string& prefix) {
    std::vector<std::string> out;
    for (size_t i = from; i < to && i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0) out.push_back(lines[i]);
    return out;
}

// Sum of the counts of "hit <key> <count>" lines for one key.
int TotalHits(const std::vector<std::string>& lines, int key) {
    int total = 0;
    std::string prefix = "hit " + std::to_string(key) + " ";
    for (const std::string& line : Matching(lines, 0, lines.size(), prefix))
        total += std::stoi(line.substr(prefix.size()));
    return total;
}

// The probe running in its own X session, its window found.
class ProbeSession {
public:
    explicit ProbeSession(bool windowManager = false, xsession::Env extra = {})
        : x(windowManager), probe({testsupport::TestAppPath("window_probe")}, Merge(x.Environment(), extra)) {
        created = probe.WaitForLine("size 640 480", 20) >= 0;
        window = x.FindWindow("Vornhelm");
    }

    void Xdotool(std::vector<std::string> args) {
        args.insert(args.begin(), "xdotool");
        x.Tool(args);
    }

    // Sends keys, then a final z, and waits until the probe saw z released.
    std::vector<std::string> KeysThenSentinel(const std::vector<std::string>& keys) {
        size_t from = probe.Lines().size();
        std::vector<std::string> args = {"key", "--delay", "30"};
        args.insert(args.end(), keys.begin(), keys.end());
        args.push_back("z");
        Xdotool(args);
        int end = probe.WaitForLine("key 2 90", 10, from);
        EXPECT_GE(end, 0) << "the probe never saw the final key";
        const auto& lines = probe.Lines();
        return std::vector<std::string>(lines.begin() + from, end >= 0 ? lines.begin() + end + 1 : lines.end());
    }

    XServer x;
    Child probe;
    bool created = false;
    unsigned long window = 0;

private:
    static xsession::Env Merge(xsession::Env a, const xsession::Env& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }
};

TEST(Window, OpensAt640x480TitledVornhelmWithTheDevicesCreated) {
    ProbeSession s;
    ASSERT_TRUE(s.created);
    ASSERT_NE(s.window, 0u);
    std::string id = std::to_string(s.window);
    EXPECT_EQ(s.x.Tool({"xdotool", "getwindowname", id}), "Vornhelm");
    std::string info = s.x.Tool({"xwininfo", "-id", id});
    EXPECT_NE(info.find("Width: 640\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 480\n"), std::string::npos) << info;
    // Graphics, audio and input devices exist before the application's start.
    EXPECT_GE(s.probe.WaitForLine("create devices=111", 1), 0);
    // Timed updates run once the application set its rate.
    EXPECT_GE(s.probe.WaitForLine("update 3", 5), 0);
}

TEST(Window, KeyPressesArriveAsProgramKeyCodes) {
    ProbeSession s;
    ASSERT_TRUE(s.created);
    auto lines = s.KeysThenSentinel({"Escape", "Left", "Delete", "F1", "F12", "KP_1", "Alt_L", "F13",
                                     "Shift_L", "Shift_R", "Control_L", "Control_R", "a", "shift+b"});

    // Down and up events of every key but the modifiers, in order. Keypad
    // digits, Alt and F13 give none at all.
    std::vector<std::string> downUp, modifiers;
    for (const std::string& l : lines) {
        if (l.rfind("key 1 ", 0) != 0 && l.rfind("key 2 ", 0) != 0) continue;
        int code = std::stoi(l.substr(6));
        (code == 16 || code == 17 ? modifiers : downUp).push_back(l);
    }
    std::vector<std::string> expected = {"key 1 27",  "key 2 27",  "key 1 37",  "key 2 37", "key 1 46",
                                         "key 2 46",  "key 1 112", "key 2 112", "key 1 123", "key 2 123",
                                         "key 1 65",  "key 2 65",  "key 1 66",  "key 2 66", "key 1 90",
                                         "key 2 90"};
    EXPECT_EQ(downUp, expected);
    // Both Shift keys are 16 and both Control keys 17, each press released.
    // (xdotool may hold a second modifier while typing the right-hand ones.)
    for (const char* m : {"key 1 16", "key 2 16", "key 1 17", "key 2 17"})
        EXPECT_GE(std::count(modifiers.begin(), modifiers.end(), m), 2) << m;
    EXPECT_EQ(std::count(modifiers.begin(), modifiers.end(), "key 1 16"),
              std::count(modifiers.begin(), modifiers.end(), "key 2 16"));

    // Characters: special keys make their own; letters come as typed text,
    // the keypad digit too.
    std::vector<std::string> chars = Matching(lines, 0, lines.size(), "key 3 ");
    std::vector<std::string> expectedChars = {"key 3 27", "key 3 65573", "key 3 127", "key 3 49",
                                              "key 3 97", "key 3 66",    "key 3 122"};
    EXPECT_EQ(chars, expectedChars);

    // The input module counted one press of each and queued the characters.
    ASSERT_GE(s.probe.WaitForLine("hit 90 1", 5), 0);
    const auto& all = s.probe.Lines();
    for (int key : {27, 37, 46, 112, 123, 65, 66, 90}) EXPECT_EQ(TotalHits(all, key), 1) << key;
    EXPECT_EQ(TotalHits(all, 18), 0);  // Alt
    for (const char* c : {"char 27", "char 65573", "char 127", "char 97", "char 66"})
        EXPECT_NE(std::find(all.begin(), all.end(), c), all.end()) << c;
}

TEST(Window, HeldKeyRepeatsItsCharacterButCountsOnePress) {
    ProbeSession s;
    ASSERT_TRUE(s.created);
    size_t from = s.probe.Lines().size();
    s.Xdotool({"keydown", "Left"});
    xsession::SleepSeconds(1.2);
    s.Xdotool({"keyup", "Left"});
    s.Xdotool({"key", "z"});
    ASSERT_GE(s.probe.WaitForLine("hit 90 1", 10, from), 0);
    const auto& lines = s.probe.Lines();
    size_t downs = Matching(lines, from, lines.size(), "key 1 37").size();
    EXPECT_GT(downs, 2u) << "the key did not repeat";
    EXPECT_EQ(Matching(lines, from, lines.size(), "key 3 65573").size(), downs);
    EXPECT_EQ(Matching(lines, from, lines.size(), "key 2 37").size(), 1u);
    EXPECT_EQ(TotalHits(lines, 37), 1);
}

TEST(Window, MouseClicksArriveWithButtonAndPosition) {
    ProbeSession s;
    ASSERT_TRUE(s.created);
    std::string id = std::to_string(s.window);
    size_t from = s.probe.Lines().size();
    s.Xdotool({"mousemove", "--window", id, "100", "200", "click", "1"});
    s.Xdotool({"mousemove", "--window", id, "300", "50", "click", "3"});
    s.Xdotool({"click", "2"});
    s.Xdotool({"click", "8"});  // a fourth button
    s.Xdotool({"mousemove", "--window", id, "639", "479", "click", "1"});
    ASSERT_GE(s.probe.WaitForLine("mouse 5 0 639 479", 10, from), 0);

    const auto& lines = s.probe.Lines();
    std::vector<std::string> expected = {"mouse 4 0 100 200", "mouse 5 0 100 200", "mouse 4 1 300 50",
                                         "mouse 5 1 300 50",  "mouse 4 2 300 50",  "mouse 5 2 300 50",
                                         "mouse 4 0 639 479", "mouse 5 0 639 479"};
    EXPECT_EQ(Matching(lines, from, lines.size(), "mouse "), expected);

    // The left button is also the first touch; right and middle are keys 2, 3.
    ASSERT_GE(s.probe.WaitForLine("hit 1 1", 5, from), 0);
    EXPECT_EQ(TotalHits(s.probe.Lines(), 1), 2);
    EXPECT_EQ(TotalHits(s.probe.Lines(), 384), 2);
    EXPECT_EQ(TotalHits(s.probe.Lines(), 2), 1);
    EXPECT_EQ(TotalHits(s.probe.Lines(), 3), 1);
}

TEST(Window, CloseRequestFromOutsideEndsWithExitCodeZero) {
    ProbeSession s;
    ASSERT_TRUE(s.created);
    ASSERT_GE(s.probe.WaitForLine("update 1", 5), 0);
    ASSERT_TRUE(xsession::SendDeleteWindow(s.x.Display(), s.window));
    EXPECT_EQ(s.probe.Wait(10), 0);
    // The request reached the application as the close key going down.
    const auto& lines = s.probe.Lines();
    auto keys = Matching(lines, 0, lines.size(), "key ");
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.back(), "key 1 432");
}

// Lines after `from` that report an update.
size_t UpdatesAfter(Child& probe, size_t from) {
    const auto& lines = probe.Lines();
    return Matching(lines, from, lines.size(), "update ").size();
}

TEST(Window, LosingFocusSuspendsUpdatesAndFocusResumesThem) {
    ProbeSession s(true);
    ASSERT_TRUE(s.created);
    ASSERT_GE(s.probe.WaitForLine("update 5", 5), 0);

    xsession::OtherWindow other(s.x.Display());
    s.Xdotool({"windowactivate", "--sync", std::to_string(other.Id())});
    int suspended = s.probe.WaitForLine("suspend", 10);
    ASSERT_GE(suspended, 0);
    xsession::SleepSeconds(1.0);
    EXPECT_EQ(UpdatesAfter(s.probe, suspended), 0u);

    s.Xdotool({"windowactivate", "--sync", std::to_string(s.window)});
    int resumed = s.probe.WaitForLine("resume", 10, suspended);
    ASSERT_GE(resumed, 0);
    xsession::SleepSeconds(0.5);
    EXPECT_GT(UpdatesAfter(s.probe, resumed), 5u);
}

TEST(Window, IconifyingSuspendsUpdatesAndRestoringResumesThem) {
    ProbeSession s(true);
    ASSERT_TRUE(s.created);
    ASSERT_GE(s.probe.WaitForLine("update 5", 5), 0);

    s.Xdotool({"windowminimize", "--sync", std::to_string(s.window)});
    int suspended = s.probe.WaitForLine("suspend", 10);
    ASSERT_GE(suspended, 0);
    xsession::SleepSeconds(1.0);
    EXPECT_EQ(UpdatesAfter(s.probe, suspended), 0u);

    s.Xdotool({"windowactivate", "--sync", std::to_string(s.window)});
    int resumed = s.probe.WaitForLine("resume", 10, suspended);
    ASSERT_GE(resumed, 0);
    xsession::SleepSeconds(0.5);
    EXPECT_GT(UpdatesAfter(s.probe, resumed), 5u);
}

// Processor time (user + system) the process has used, in seconds.
double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return static_cast<double>(utime + stime) / sysconf(_SC_CLK_TCK);
}

// Share of one core the process uses over `seconds`.
double CpuShare(pid_t pid, double seconds) {
    double before = CpuSeconds(pid);
    xsession::SleepSeconds(seconds);
    return (CpuSeconds(pid) - before) / seconds;
}

// Suspended, the loop blocks in the event wait instead of spinning: an
// iconified game renders nothing, so only its processor time can tell.
TEST(Window, SuspendedGameUsesNoProcessorTime) {
    ProbeSession s(true);
    ASSERT_TRUE(s.created);
    ASSERT_GE(s.probe.WaitForLine("update 5", 5), 0);

    s.Xdotool({"windowminimize", "--sync", std::to_string(s.window)});
    int suspended = s.probe.WaitForLine("suspend", 10);
    ASSERT_GE(suspended, 0);
    xsession::SleepSeconds(0.5);
    EXPECT_LT(CpuShare(s.probe.Pid(), 2.0), 0.05) << "iconified";

    s.Xdotool({"windowactivate", "--sync", std::to_string(s.window)});
    int resumed = s.probe.WaitForLine("resume", 10, suspended);
    ASSERT_GE(resumed, 0);
    xsession::OtherWindow other(s.x.Display());
    s.Xdotool({"windowactivate", "--sync", std::to_string(other.Id())});
    ASSERT_GE(s.probe.WaitForLine("suspend", 10, resumed), 0);
    xsession::SleepSeconds(0.5);
    EXPECT_LT(CpuShare(s.probe.Pid(), 2.0), 0.05) << "without focus";
}

TEST(Window, AtRateZeroNothingUpdatesAndEventsStillRender) {
    ProbeSession s(false, {{"PROBE_RATE", "0"}, {"PROBE_RENDERS", "1"}});
    ASSERT_TRUE(s.created);
    xsession::SleepSeconds(1.0);
    size_t from = s.probe.Lines().size();
    EXPECT_EQ(UpdatesAfter(s.probe, 0), 0u);
    // Idle: no renders while nothing happens.
    xsession::SleepSeconds(0.5);
    EXPECT_EQ(s.probe.Lines().size(), from);

    s.Xdotool({"key", "a"});
    int key = s.probe.WaitForLine("key 1 65", 5, from);
    ASSERT_GE(key, 0);
    // The event woke the loop, which rendered and waits again.
    xsession::SleepSeconds(0.3);
    const auto& lines = s.probe.Lines();
    EXPECT_FALSE(Matching(lines, key, lines.size(), "render ").empty());
    EXPECT_EQ(UpdatesAfter(s.probe, 0), 0u);
}

TEST(Window, WithoutOpenGLTheProgramSaysSoOnOneLineAndExitsMinusOne) {
    XServer x(false, {"-extension", "GLX"});
    testsupport::ProcessOptions options;
    options.env = x.Environment();
    options.timeoutSeconds = 20;
    auto result = testsupport::RunProcess({testsupport::TestAppPath("window_probe")}, options);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 255);
    ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1) << result.out;
    EXPECT_EQ(result.out.rfind("Could not open the game window: ", 0), 0u) << result.out;
}

TEST(Window, WithoutADisplayTheGameReportsGlfwInitFailed) {
    testsupport::ProcessOptions options;
    options.env = {{"DISPLAY", ":65432"}};
    options.timeoutSeconds = 20;
    auto result = testsupport::RunProcess({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, options);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.out, "glfwInit failed\n");
}

}  // namespace
