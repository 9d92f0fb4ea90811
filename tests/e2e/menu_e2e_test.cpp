// The title menu as a player meets it: the real game, run from a scratch
// folder that holds the data folder, on a private Xvfb without a window
// manager, driven with xdotool and watched through screenshots of its window.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/display.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

struct Rgb {
    double r, g, b;
    double Distance(const Rgb& o) const {
        return std::sqrt((r - o.r) * (r - o.r) + (g - o.g) * (g - o.g) + (b - o.b) * (b - o.b));
    }
};

// A screenshot of the game's window.
struct Shot {
    int w = 0, h = 0;
    std::vector<Rgb> px;

    const Rgb& At(int x, int y) const { return px[y * w + x]; }

    Rgb Mean(int x0, int y0, int x1, int y1) const {
        Rgb sum{0, 0, 0};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) sum.r += At(x, y).r, sum.g += At(x, y).g, sum.b += At(x, y).b;
        }
        double n = static_cast<double>((x1 - x0) * (y1 - y0));
        return {sum.r / n, sum.g / n, sum.b / n};
    }

    // Pixels in the box within `tolerance` of the colour.
    int Count(int x0, int y0, int x1, int y1, Rgb colour, double tolerance) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) n += At(x, y).Distance(colour) <= tolerance;
        }
        return n;
    }
};

// The game in its scratch folder; its window and its exit.
class Game {
public:
    Game() {
        unsetenv("DISPLAY");
        std::string display = testsupport::EnsureDisplay();
        char dirTemplate[] = "/tmp/vornhelm-menu-XXXXXX";
        dir_ = mkdtemp(dirTemplate);
        std::string data = std::string(VORNHELM_BUILD_DIR) + "/data";
        if (symlink(data.c_str(), (dir_ + "/data").c_str()) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed test
            int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            if (chdir(dir_.c_str()) != 0) _exit(126);
            std::string game = std::string(VORNHELM_BUILD_DIR) + "/vornhelm";
            execl(game.c_str(), game.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        dpy_ = XOpenDisplay(display.c_str());
        FindWindow();
    }

    ~Game() {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (dpy_) XCloseDisplay(dpy_);
        for (const char* name : {"/data", "/.tandorstate"}) unlink((dir_ + name).c_str());
        rmdir(dir_.c_str());
    }

    // The game's window, new after every switch between window and full
    // screen.
    void FindWindow() { window_ = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"}); }

    bool Ready() const { return dpy_ && !window_.empty(); }

    Shot Grab() {
        Shot shot;
        Window w = std::stoul(window_);
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy_, w, &a)) return shot;
        XImage* image = XGetImage(dpy_, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        if (!image) return shot;
        shot.w = a.width;
        shot.h = a.height;
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                shot.px.push_back({double((p >> 16) & 255), double((p >> 8) & 255), double(p & 255)});
            }
        }
        XDestroyImage(image);
        return shot;
    }

    std::string Geometry() { return Tool({"xdotool", "getwindowgeometry", window_}); }

    // Held for a few updates, as a person presses: the game reads keys and
    // buttons as held, not as events.
    void Key(const std::string& name) {
        Tool({"xdotool", "mousemove", "--window", window_, "600", "460"});
        Tool({"xdotool", "keydown", name});
        Pause(0.1);
        Tool({"xdotool", "keyup", name});
        Pause(0.1);
    }

    void Click(int x, int y) {
        Tool({"xdotool", "mousemove", "--window", window_, std::to_string(x), std::to_string(y)});
        Tool({"xdotool", "mousedown", "1"});
        Pause(0.1);
        Tool({"xdotool", "mouseup", "1"});
        Tool({"xdotool", "mousemove", "--window", window_, "600", "460"});
        Pause(0.1);
    }

    // The exit code, or -1 while it still runs after `seconds`.
    int Exit(double seconds) {
        int status = 0;
        for (double t = 0; t < seconds; t += 0.05, Pause(0.05)) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
        }
        return -1;
    }

    bool Saved() const {
        struct stat st;
        return stat((dir_ + "/.tandorstate").c_str(), &st) == 0 && st.st_size > 0;
    }

private:
    std::string dir_;
    pid_t pid_ = 0;
    Display* dpy_ = nullptr;
    std::string window_;
};

// Where the menu puts things in the 640 x 480 window (one virtual pixel per
// window pixel): the strip's centre, the studio logo, the options gear when
// item 1 is in the middle, the options box's display row.
constexpr int kStripX = 250, kStripY = 312;
constexpr int kLogoX = 570, kLogoY = 32;
constexpr int kDisplayRowX = 200, kDisplayRowY = 258;

// The middle item's colour: the selected button, drawn large in the middle.
Rgb Middle(const Shot& s) { return s.Mean(kStripX - 16, kStripY - 8, kStripX + 16, kStripY + 8); }

constexpr double kSettle = 0.8;  // the strip eases and panels slide in well within this

TEST(MenuE2E, LoadsIntoTheMenuWhoseSelectionFollowsKeysAndClicks) {
    Game game;
    ASSERT_TRUE(game.Ready());
    Pause(2.5);  // loading, then the slide-in
    Shot menu = game.Grab();
    ASSERT_EQ(menu.w, 640);
    // The score panel's titles in their colour, and neither the loading
    // screen's orange band nor its yellow disc.
    EXPECT_GT(menu.Count(520, 55, 600, 80, {255, 200, 100}, 30), 20) << "no \"Top 10\"";
    EXPECT_GT(menu.Count(520, 255, 600, 280, {200, 255, 100}, 30), 20) << "no \"Last 10\"";
    EXPECT_LT(menu.Count(0, 200, 640, 280, {250, 160, 60}, 20), 640 * 20);

    Rgb first = Middle(menu);
    game.Key("Right");
    Pause(kSettle);
    Rgb second = Middle(game.Grab());
    EXPECT_GT(second.Distance(first), 40) << "the middle item did not change";
    game.Key("Left");
    Pause(kSettle);
    EXPECT_LT(Middle(game.Grab()).Distance(first), 15) << "item 1 is not back in the middle";

    // A click on item 3 selects it and the strip brings it to the middle.
    game.Click(kStripX + 2 * 88, kStripY);
    Pause(kSettle);
    Rgb third = Middle(game.Grab());
    EXPECT_GT(third.Distance(first), 40);
    EXPECT_GT(third.Distance(second), 40);
    EXPECT_EQ(game.Exit(0), -1);  // a tap on an unselected item starts nothing
}

TEST(MenuE2E, StudioLogoOpensTheCreditsAndAClickClosesThem) {
    Game game;
    ASSERT_TRUE(game.Ready());
    Pause(2.5);
    Rgb corner = game.Grab().Mean(2, 2, 12, 12);
    ASSERT_GT(corner.Distance({0, 0, 0}), 60) << "the menu's corner is dark already";
    game.Click(kLogoX, kLogoY);
    Pause(kSettle);
    Shot credits = game.Grab();
    // The test card's corner tile is black, and the top border holds its
    // colour stripes.
    EXPECT_LT(credits.Mean(2, 2, 12, 12).Distance({0, 0, 0}), 10);
    EXPECT_GT(credits.Count(60, 0, 580, 20, {0, 255, 0}, 40) + credits.Count(60, 0, 580, 20, {255, 0, 0}, 40),
              100);
    game.Click(320, 240);
    Pause(kSettle);
    EXPECT_LT(game.Grab().Mean(2, 2, 12, 12).Distance(corner), 15) << "the credits did not close";
}

TEST(MenuE2E, GearOpensOptionsFullscreenFillsTheDesktopAndEscapeEnds) {
    Game game;
    ASSERT_TRUE(game.Ready());
    Pause(2.5);
    for (int i = 0; i < 3; ++i) game.Key("Right");
    Pause(kSettle);
    Rgb before = game.Grab().Mean(60, 400, 580, 470);
    game.Key("Return");  // the gear is selected: options
    Pause(kSettle);
    Shot options = game.Grab();
    // The brown box has risen over the lower screen.
    EXPECT_GT(options.Mean(60, 400, 580, 470).Distance(before), 30);
    EXPECT_GT(options.Count(60, 400, 580, 470, {150, 75, 0}, 60), 1000);

    game.Click(kDisplayRowX, kDisplayRowY);  // "Fullscreen"
    Pause(1.5);
    game.FindWindow();
    EXPECT_NE(game.Geometry().find("1024x768"), std::string::npos) << game.Geometry();

    game.Key("Escape");  // closes the options, which saves
    Pause(kSettle);
    EXPECT_TRUE(game.Saved());
    EXPECT_EQ(game.Exit(0), -1);
    game.Key("Escape");
    EXPECT_EQ(game.Exit(5), 0);
}

}  // namespace
