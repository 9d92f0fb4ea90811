// The real game binary started from a scratch folder under a private Xvfb
// with openbox, driven by xdotool, its window read back through Xlib: the
// loading screen, F1, F11, the state written on losing focus, F4; and the
// line a player sees when the data folder is missing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/display.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

// Polls `done` every 20 ms for up to `timeout` seconds.
bool WaitUntil(const std::function<bool()>& done, double timeout = 10) {
    for (double t = 0; t < timeout; t += 0.02, Pause(0.02)) {
        if (done()) return true;
    }
    return done();
}

// Starts a program in `dir` with its standard output in `out`; it dies with
// the test.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& out) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open("/dev/null", O_WRONLY), 2);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The state string of a first run off OUYA: settings 5 = 1, 10 = 64,
// 11 = 64, 12 = 10, 14 = 1 and their checksum 1483, then 72 zeros.
std::string FirstRunState() {
    std::string s;
    const int settings[25] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 1};
    for (int v : settings) s += std::to_string(v) + "|";
    s += "1483|";
    for (int i = 0; i < 72; ++i) s += "0|";
    return s;
}

// Within 3 of a colour on every channel.
bool Near(const Rgb& p, const Rgb& c) {
    return std::abs(p[0] - c[0]) <= 3 && std::abs(p[1] - c[1]) <= 3 && std::abs(p[2] - c[2]) <= 3;
}

// The game in a scratch folder whose data/ links to the built data folder,
// with openbox on a private X server.
class GameStart : public ::testing::Test {
   protected:
    void SetUp() override {
        unsetenv("DISPLAY");
        display = testsupport::EnsureDisplay();
        setenv("ALSOFT_DRIVERS", "null", 1);  // no sound card: OpenAL mixes into nothing
        char name[] = "/tmp/vornhelm_start_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name;
        wm = Spawn({"openbox", "--sm-disable"}, "", "/dev/null");
        ASSERT_TRUE(WaitUntil([] {
            return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                   std::string::npos;
        }));
        dpy = XOpenDisplay(display.c_str());
        ASSERT_NE(dpy, nullptr);
    }
    void TearDown() override {
        for (pid_t pid : {game, wm, other})
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        if (dpy) XCloseDisplay(dpy);
        fs::remove_all(dir);
    }
    void StartGame() {
        game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, dir + "/out.txt");
        window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
        ASSERT_FALSE(window.empty());
    }
    void Activate() { Tool({"xdotool", "windowactivate", "--sync", window}); }
    void Key(const std::string& key) {
        Activate();
        Tool({"xdotool", "key", key});
    }
    std::array<int, 2> Size() {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy, std::stoul(window), &a);
        return {a.width, a.height};
    }
    // The window's pixels, row by row from the top.
    std::vector<Rgb> Grab(int& w, int& h) {
        auto [width, height] = Size();
        w = width, h = height;
        std::vector<Rgb> pixels;
        XImage* image = XGetImage(dpy, std::stoul(window), 0, 0, w, h, AllPlanes, ZPixmap);
        if (!image) return pixels;
        pixels.resize(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                unsigned long p = image->bits_per_pixel == 32
                                      ? reinterpret_cast<const std::uint32_t*>(
                                            image->data + y * image->bytes_per_line)[x]
                                      : XGetPixel(image, x, y);
                pixels[y * w + x] = {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
            }
        }
        XDestroyImage(image);
        return pixels;
    }
    // Pixels that `match`, in the rectangle x0..x1, y0..y1 (exclusive).
    int Count(const std::function<bool(const Rgb&)>& match, int x0 = 0, int y0 = 0,
              int x1 = 1 << 20, int y1 = 1 << 20) {
        int w = 0, h = 0, n = 0;
        std::vector<Rgb> pixels = Grab(w, h);
        for (int y = y0; y < std::min(y1, h); ++y)
            for (int x = x0; x < std::min(x1, w); ++x) n += match(pixels[y * w + x]);
        return n;
    }
    // Waits for the game's window to take a size. F11 opens a new window,
    // untitled in full screen, which takes the focus.
    bool WaitForSize(int w, int h) {
        return WaitUntil([&] {
            window = Tool({"xdotool", "getwindowfocus"});
            return !window.empty() && Size() == std::array<int, 2>{w, h};
        });
    }
    int WaitForExit() {
        int status = -1;
        WaitUntil([&] { return waitpid(game, &status, WNOHANG) == game; });
        game = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
    }

    std::string display, dir, window;
    Display* dpy = nullptr;
    pid_t wm = 0, game = 0, other = 0;
};

// The loading screen over the clear colour (40, 40, 80): the yellow disc at
// alpha 0.8 and the orange band at alpha 0.7.
constexpr Rgb kBackground = {40, 40, 80}, kDisc = {212, 212, 16}, kBand = {187, 124, 66};
// The font's light glyphs.
bool Light(const Rgb& p) { return p[0] > 220 && p[1] > 220 && p[2] > 220; }

TEST_F(GameStart, LoadingScreenKeysFocusAndExit) {
    fs::create_directory_symlink(fs::path(VORNHELM_BUILD_DIR) / "data", fs::path(dir) / "data");
    StartGame();
    // One read holds the band, the disc and the background.
    ASSERT_TRUE(WaitUntil([&] {
        int band = 0, disc = 0, background = 0;
        Count([&](const Rgb& p) {
            band += Near(p, kBand), disc += Near(p, kDisc), background += Near(p, kBackground);
            return false;
        });
        return band > 640 * 30 && disc > 1000 && background > 640 * 100;
    })) << "the loading screen";

    // F1: a light debug line appears along the bottom left.
    auto debugLine = [&] { return Count(Light, 0, 440, 200, 480); };
    Pause(1.0);  // loaded and settled
    const int before = debugLine();
    Key("F1");
    EXPECT_TRUE(WaitUntil([&] { return debugLine() > before + 40; })) << before;
    Key("F1");

    // F11: full screen at the desktop's size, and back to 640 x 480.
    Key("F11");
    EXPECT_TRUE(WaitForSize(1024, 768));
    Key("F11");
    EXPECT_TRUE(WaitForSize(640, 480));
    EXPECT_EQ(Tool({"xdotool", "getwindowname", window}), "Vornhelm");

    // Another window takes the focus: the game suspends and saves.
    other = Spawn({"xmessage", "other"}, "", "/dev/null");
    Tool({"xdotool", "windowactivate", "--sync",
          Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
    const std::string state = dir + "/.tandorstate";
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(state); }, 5)) << "no state file";
    EXPECT_EQ(Read(state), FirstRunState());

    Key("F4");
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Read(dir + "/out.txt"), "") << "nothing to report";
}

// Started away from its data: one line names the folder it looked in, and
// the game runs on with empty image slots.
TEST_F(GameStart, MissingDataFolderIsNamed) {
    StartGame();
    const std::string expected = "Data folder not found: " + fs::canonical(dir).string() +
                                 "/data/ (start the game from the folder that holds data/)\n";
    EXPECT_TRUE(WaitUntil([&] { return Read(dir + "/out.txt") == expected; }, 5))
        << Read(dir + "/out.txt");
    Pause(0.5);
    EXPECT_GT(Count([](const Rgb& p) { return p != Rgb{0, 0, 0}; }), 640 * 240)
        << "the game goes on drawing";
    Key("F4");
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Read(dir + "/out.txt"), expected);
}

}  // namespace
