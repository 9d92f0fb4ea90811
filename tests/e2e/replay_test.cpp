// Recording and replaying the real game binary under a private Xvfb with
// openbox, driven by xdotool: a session played windowed and full screen at
// 1280 x 720 replays to the same last line windowed, fast and on another
// screen, whatever real input reaches the replay's window; its F12
// screenshot equals the replay's --screenshot-at frame; the player's state
// file is read into the recording and never written by a replay; F4 and the
// close button leave a replay; bad files and foreign games give one line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stb/stb_image.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/replay_file.h"
#include "tests/support/display.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>

namespace {

namespace fs = std::filesystem;
using K = KrRecordKind;

const std::string kGame = std::string(VORNHELM_BUILD_DIR) + "/vornhelm";

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

bool WaitUntil(const std::function<bool()>& done, double timeout = 10) {
    for (double t = 0; t < timeout; t += 0.02, Pause(0.02))
        if (done()) return true;
    return done();
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A program started in a folder, its output in files there; it dies with the test.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::string& dir, const std::string& name)
        : out_(dir + "/" + name + ".out"), err_(dir + "/" + name + ".err") {
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (chdir(dir.c_str()) != 0) _exit(126);
            dup2(open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    }
    // The exit code, or -1 if it still runs after `seconds`.
    int Exit(double seconds = 60) {
        int status = 0;
        if (!WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, seconds)) return -1;
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_t Pid() const { return pid_; }
    std::string Out() const { return Read(out_); }
    std::string Err() const { return Read(err_); }
    // Its last line on standard output without what says who printed it.
    std::string State() const {
        std::vector<std::string> lines = Lines(Out());
        if (lines.empty()) return "";
        return std::regex_replace(lines.back(), std::regex("^(Recorded|Replay ended after) [0-9]+ updates[^:]*: "), "");
    }

private:
    std::string out_, err_;
    pid_t pid_ = 0;
};

// A scratch folder whose data/ links to the built data folder, on a private
// X server of the given size with openbox.
class Replays : public ::testing::Test {
protected:
    void Start(const std::string& screen) {
        unsetenv("DISPLAY");
        display_ = testsupport::EnsureDisplay(screen);
        setenv("ALSOFT_DRIVERS", "null", 1);
        char name[] = "/tmp/vornhelm_replay_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name;
        fs::create_directory_symlink(fs::path(VORNHELM_BUILD_DIR) / "data", fs::path(dir) / "data");
        wm_ = std::make_unique<Child>(std::vector<std::string>{"openbox", "--sm-disable"}, dir, "openbox");
        ASSERT_TRUE(WaitUntil([] {
            return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos;
        }));
    }
    void TearDown() override {
        wm_.reset();
        if (!dir.empty()) fs::remove_all(dir);
    }

    std::string FindWindow(const std::string& title) {
        return Tool({"xdotool", "search", "--sync", "--name", "^" + title + "$"});
    }
    // xdotool gives up when a window vanishes under its search (another
    // replay reopening its own): it is asked again.
    std::string WindowOf(const Child& child) {
        std::string window;
        WaitUntil([&] {
            window = Tool({"xdotool", "search", "--all", "--onlyvisible", "--pid", std::to_string(child.Pid()),
                           "--name", "^Vornhelm replay$"});
            return !window.empty();
        });
        return window;
    }
    // Keys are held for a few updates, as a person presses: the game reads
    // keys as held, not as events.
    void Hold(const std::vector<std::string>& keys, double seconds) {
        for (const std::string& k : keys) Tool({"xdotool", "keydown", k});
        Pause(seconds);
        for (const std::string& k : keys) Tool({"xdotool", "keyup", k});
    }
    void Tap(const std::string& key) { Hold({key}, 0.1), Pause(0.1); }
    void Activate(const std::string& window) { Tool({"xdotool", "windowactivate", "--sync", window}); }
    // The window manager's delete request, as a close button sends it. A
    // window gone meanwhile is no error of the test's.
    void Close(const std::string& window) {
        ASSERT_FALSE(window.empty());
        Display* dpy = XOpenDisplay(display_.c_str());
        ASSERT_NE(dpy, nullptr);
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = std::stoul(window);
        e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
        XSendEvent(dpy, e.xclient.window, False, NoEventMask, &e);
        XSync(dpy, False);
        XCloseDisplay(dpy);
    }

    std::string dir;

private:
    std::string display_;
    std::unique_ptr<Child> wm_;
};

// The update after which the frame F12 saved was rendered: F12 goes down,
// then updates run, then the frame.
long long UpdateOfScreenshot(const KrReplay& replay) {
    long long updates = 0;
    bool pressed = false;
    for (const KrRecord& r : replay.records) {
        if (r.kind == K::Update) ++updates;
        if (r.kind == K::Key && r.a == 1 && r.b == 123) pressed = true;
        if (r.kind == K::Render && pressed) return updates;
    }
    return -1;
}

// Pixels of a PNG as RGB bytes, and its size.
std::vector<unsigned char> Png(const std::string& path, int* w, int* h) {
    int n = 0;
    unsigned char* data = stbi_load(path.c_str(), w, h, &n, 3);
    if (!data) return {};
    std::vector<unsigned char> rgb(data, data + static_cast<std::size_t>(*w) * *h * 3);
    stbi_image_free(data);
    return rgb;
}

// One recorded session serves every replay: they run side by side where
// they can, to keep the test short.
TEST_F(Replays, AGameReplaysToTheSameEndWindowedFastAndElsewhere) {
    Start("1280x720x24");
    Write(dir + "/.tandorstate", "1|2|3|");
    std::string recorded;
    {
        Child game({kGame, "--record", "game.vhr"}, dir, "record");
        std::string window = FindWindow("Vornhelm");
        ASSERT_FALSE(window.empty());
        Activate(window);
        Pause(2.5);  // loading, then the menu slides in
        Tap("Return");  // the selected item: a game
        Pause(0.5);
        Hold({"Right", "space"}, 0.8);
        Tap("F12");
        Pause(0.3);
        Tap("F11");  // full screen at the desktop's size
        Pause(0.8);
        Hold({"Left", "Up"}, 0.5);
        Tap("F4");
        ASSERT_EQ(game.Exit(), 0) << game.Out();
        recorded = game.State();
        EXPECT_NE(recorded.find("mode 10, score "), std::string::npos) << game.Out();
    }
    std::vector<std::string> shots;
    for (const auto& e : fs::directory_iterator(dir))
        if (std::regex_match(e.path().filename().string(), std::regex(R"(vornhelm-\d{8}-\d{6}\.png)")))
            shots.push_back(e.path().string());
    ASSERT_EQ(shots.size(), 1u);

    KrReplay replay;
    std::string error;
    ASSERT_TRUE(KrReadReplayFile(dir + "/game.vhr", &replay, &error)) << error;
    // The window manager may take a moment to give the full-screen window
    // the whole screen; the renders see it.
    bool full = false, wide = false;
    for (const KrRecord& r : replay.records) {
        full |= r.kind == K::WindowEnd && r.c == 1;
        wide |= r.kind == K::Render && r.a == 1280 && r.b == 720;
    }
    EXPECT_TRUE(full && wide) << "the session never went full screen";
    long long update = UpdateOfScreenshot(replay);
    ASSERT_GT(update, 0);

    // The player's file changes: replays see the recorded state all the
    // same, and leave the file as it is.
    Write(dir + "/.tandorstate", "changed");

    Child windowed({kGame, "--replay", "game.vhr"}, dir, "windowed");
    Child fast({kGame, "--replay", "game.vhr", "--fast"}, dir, "fast");
    // On a smaller screen, where full screen cannot be had.
    Child elsewhere({"xvfb-run", "-a", "-s", "-screen 0 800x600x24", kGame, "--replay", "game.vhr", "--fast"},
                    dir, "elsewhere");
    // The frame F12 saved, made again.
    Child shot({kGame, "--replay", "game.vhr", "--screenshot-at", std::to_string(update), "shot.png"}, dir, "shot");
    // The replay probe is another program: it asks the host for other things.
    Child probe({testsupport::TestAppPath("replay_probe"), "--replay", "game.vhr", "--fast"}, dir, "probe");
    // F4 and the close button leave a replay.
    Child leftByKey({kGame, "--replay", "game.vhr"}, dir, "key");
    Child leftByClose({kGame, "--replay", "game.vhr"}, dir, "close");

    // The windowed replay takes no real input. A replay reopens its window
    // where the recording did, so each is looked up just before use.
    Activate(WindowOf(windowed));
    Tool({"xdotool", "mousemove", "--window", WindowOf(windowed), "300", "200", "click", "1"});
    Hold({"Down", "space", "Escape"}, 0.3);
    Activate(WindowOf(leftByKey));
    Tap("F4");
    Close(WindowOf(leftByClose));
    for (Child* early : {&leftByKey, &leftByClose}) {
        SCOPED_TRACE(early == &leftByKey ? "F4" : "close button");
        EXPECT_EQ(early->Exit(10), 0);
        EXPECT_TRUE(std::regex_match(early->Out(), std::regex(R"(Replay left at update \d+ of \d+\n)")))
            << early->Out();
    }

    EXPECT_EQ(fast.Exit(), 0) << fast.Err();
    EXPECT_EQ(fast.State(), recorded);
    EXPECT_EQ(elsewhere.Exit(), 0) << elsewhere.Err();
    EXPECT_EQ(elsewhere.State(), recorded);
    EXPECT_EQ(windowed.Exit(), 0) << windowed.Err();
    EXPECT_EQ(windowed.State(), recorded);

    EXPECT_EQ(shot.Exit(), 0) << shot.Err();
    EXPECT_EQ(shot.Out(), "Screenshot saved as shot.png\n");
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    std::vector<unsigned char> played = Png(shots[0], &w1, &h1), replayed = Png(dir + "/shot.png", &w2, &h2);
    EXPECT_EQ(w1, 640);
    EXPECT_EQ(h1, 480);
    EXPECT_EQ(w2, 640);
    EXPECT_EQ(h2, 480);
    EXPECT_TRUE(played == replayed) << "the replayed frame differs from the one F12 saved";

    EXPECT_EQ(probe.Exit(), 1);
    std::vector<std::string> ours;  // OpenAL may add its own lines at exit
    for (const std::string& line : Lines(probe.Err()))
        if (line.rfind("vornhelm: ", 0) == 0) ours.push_back(line);
    ASSERT_EQ(ours.size(), 1u) << probe.Err();
    EXPECT_TRUE(std::regex_match(ours[0], std::regex(R"(vornhelm: the replay game.vhr does not match this game: .*)")))
        << ours[0];

    EXPECT_EQ(Read(dir + "/.tandorstate"), "changed");
}

// Refused before any window opens: no display is needed.
TEST(ReplayFiles, ABadFileGivesOneLineAndExitCodeOne) {
    KrReplay r;
    r.records = {KrRecord{K::WindowBegin}, KrRecord{K::WindowEnd, 640, 480}, KrRecord{K::Start, 640, 480}};
    std::vector<std::uint8_t> good = KrEncodeReplay(r);
    std::string valid(good.begin(), good.end());
    char name[] = "/tmp/vornhelm_badreplay_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    std::string dir = name;
    std::string future = valid;
    future[4] = 2;
    std::string damaged = valid;
    damaged[7] ^= 0x10;
    struct Case {
        const char* name;
        const char* content;  // null: no file
        std::string bytes;
        const char* says;
    } cases[] = {
        {"truncated.vhr", "", valid.substr(0, valid.size() - 3), "truncated"},
        {"damaged.vhr", "", damaged, "corrupt"},
        {"future.vhr", "", future, "newer than this build reads"},
        {"empty.vhr", "", "", "it is empty"},
        {"folder", nullptr, "", "it is a directory"},
        {"missing.vhr", nullptr, "", "No such file or directory"},
    };
    fs::create_directory(dir + "/folder");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir + "/" + c.name;
        if (c.content) Write(path, c.bytes);
        testsupport::ProcessOptions noDisplay;
        noDisplay.env = {{"DISPLAY", ":65432"}};
        auto result = testsupport::RunProcess({kGame, "--replay", path, "--fast"}, noDisplay);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("vornhelm: cannot replay " + path + ": ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    fs::remove_all(dir);
}

}  // namespace
