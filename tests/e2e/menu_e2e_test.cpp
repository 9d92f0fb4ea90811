// The title menu as a player meets it: the real game, run from a scratch
// folder that holds the data folder, on a private Xvfb without a window
// manager, driven with xdotool and watched through screenshots of its window.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
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

// A screenshot of the game's window, 0xRRGGBB per pixel.
struct Shot {
    int w = 0, h = 0;
    std::vector<unsigned> px;

    Rgb At(int x, int y) const {
        unsigned p = px[y * w + x];
        return {double((p >> 16) & 255), double((p >> 8) & 255), double(p & 255)};
    }

    Rgb Mean(int x0, int y0, int x1, int y1) const {
        Rgb sum{0, 0, 0};
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                Rgb c = At(x, y);
                sum.r += c.r, sum.g += c.g, sum.b += c.b;
            }
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
        // A window replaced under a screenshot is no reason to end the test.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        dpy_ = XOpenDisplay(display.c_str());
        window_ = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
        if (!window_.empty()) Tool({"xdotool", "windowfocus", window_});
    }

    ~Game() {
        if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (dpy_) XCloseDisplay(dpy_);
        for (const char* name : {"/data", "/.tandorstate"}) unlink((dir_ + name).c_str());
        rmdir(dir_.c_str());
    }

    // After a switch to full screen the window is a new one, of the same
    // class, and needs the keyboard focus given back (no window manager
    // here does it).
    bool FindWindowOfSize(const std::string& size, double seconds) {
        for (double t = 0; t < seconds; t += 0.1, Pause(0.1)) {
            std::string list = testsupport::RunProcess({"xdotool", "search", "--class", "GLFW-Application"}).out;
            for (size_t at = 0, end; (end = list.find('\n', at)) != std::string::npos; at = end + 1) {
                std::string id = list.substr(at, end - at);
                if (testsupport::RunProcess({"xdotool", "getwindowgeometry", id}).out.find(size) ==
                    std::string::npos)
                    continue;
                window_ = id;
                Tool({"xdotool", "windowfocus", window_});
                return true;
            }
        }
        return false;
    }

    // The first screenshot after loading that shows the score panel's
    // "Top 10" in its colour; an empty shot if none comes.
    Shot WaitForMenu(double seconds) {
        for (double t = 0; t < seconds; t += 0.2, Pause(0.2)) {
            Shot shot = Grab();
            if (shot.w == 640 && shot.Count(520, 55, 600, 80, {255, 200, 100}, 30) > 20) {
                Pause(0.6);  // the rest of the slide-in
                return Grab();
            }
        }
        return Shot();
    }

    bool Ready() const { return dpy_ && !window_.empty(); }

    Shot Grab() {
        Shot shot;
        Window w = std::stoul(window_);
        XWindowAttributes a;
        if (!XGetWindowAttributes(dpy_, w, &a) || a.width <= 0) return shot;
        XImage* image = XGetImage(dpy_, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        if (!image) return shot;
        shot.w = a.width;
        shot.h = a.height;
        shot.px.resize(static_cast<size_t>(a.width) * a.height);
        for (int y = 0; y < a.height; ++y) {
            const char* row = image->data + static_cast<size_t>(y) * image->bytes_per_line;
            for (int x = 0; x < a.width; ++x) {
                unsigned p = image->bits_per_pixel == 32 ? reinterpret_cast<const unsigned*>(row)[x]
                                                         : static_cast<unsigned>(XGetPixel(image, x, y));
                shot.px[static_cast<size_t>(y) * a.width + x] = p & 0xffffff;
            }
        }
        XDestroyImage(image);
        return shot;
    }

    // Held for a few updates, as a person presses: the game reads keys and
    // buttons as held, not as events.
    void Key(const std::string& name) {
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

    // Screenshots until `done` holds for one, for at most `seconds`; the
    // last one taken.
    template <class F>
    Shot WaitUntil(F done, double seconds) {
        Shot shot;
        for (double t = 0; t < seconds; t += 0.1, Pause(0.1)) {
            shot = Grab();
            if (shot.w > 0 && done(shot)) break;
        }
        return shot;
    }

    // Screenshots until the box's mean colour stops changing, as after an
    // animation; the last one taken.
    Shot Settled(int x0, int y0, int x1, int y1, double seconds) {
        Shot last = Grab();
        for (double t = 0; t < seconds; t += 0.1) {
            Pause(0.1);
            Shot now = Grab();
            bool still = now.w == last.w && now.w > 0 &&
                         now.Mean(x0, y0, x1, y1).Distance(last.Mean(x0, y0, x1, y1)) < 1;
            last = now;
            if (still) break;
        }
        return last;
    }

    // Screenshots until the box changes from one to the next: the game is
    // running its updates (the gears turn), not suspended.
    bool WaitForMotion(int x0, int y0, int x1, int y1, double seconds) {
        Shot last = Grab();
        for (double t = 0; t < seconds; t += 0.1) {
            Pause(0.1);
            Shot now = Grab();
            if (now.w > 0 && now.w == last.w) {
                int changed = 0;
                for (int y = y0; y < y1; ++y) {
                    for (int x = x0; x < x1; ++x) changed += now.At(x, y).Distance(last.At(x, y)) > 20;
                }
                if (changed > 20) return true;
            }
            last = now;
        }
        return false;
    }

    void Focus() { Tool({"xdotool", "windowfocus", window_}); }

    // Setting `index` as the state file holds it, -1 without one.
    int SavedSetting(int index) const {
        std::ifstream in(dir_ + "/.tandorstate");
        std::string field;
        for (int i = 0; std::getline(in, field, '|'); ++i) {
            if (i == index) return std::atoi(field.c_str());
        }
        return -1;
    }

private:
    std::string dir_;
    pid_t pid_ = 0;
    Display* dpy_ = nullptr;
    std::string window_;
};

// Where the menu puts things in the 640 x 480 window (one virtual pixel per
// window pixel): the strip's centre, the studio logo, the options gear when
// item 1 is in the middle, the options box's touch-layout row.
constexpr int kStripX = 250, kStripY = 312;
constexpr int kLogoX = 570, kLogoY = 32;
constexpr int kRowX = 200, kTouchRowY = 178, kDisplayRowY = 258;

// The body colour of the selected button, drawn large in the middle of the
// strip: green, orange and red for the three modes.
Rgb Middle(const Shot& s) { return s.Mean(kStripX - 45, kStripY - 12, kStripX - 35, kStripY + 18); }

bool IsBlack(const Rgb& c) { return c.Distance({0, 0, 0}) < 10; }

TEST(MenuE2E, SelectionFollowsKeysAndClicksAndTheStudioLogoOpensTheCredits) {
    Game game;
    ASSERT_TRUE(game.Ready());
    Shot menu = game.WaitForMenu(10);
    ASSERT_EQ(menu.w, 640) << "no \"Top 10\" in its colour";
    // Both titles of the score panel in their colours, and not the loading
    // screen's orange band.
    EXPECT_GT(menu.Count(520, 255, 600, 280, {200, 255, 100}, 30), 20) << "no \"Last 10\"";
    EXPECT_LT(menu.Count(0, 200, 640, 280, {250, 160, 60}, 20), 640 * 20);

    const Rgb first = Middle(menu);
    game.Key("Right");
    game.WaitUntil([&](const Shot& s) { return Middle(s).Distance(first) > 30; }, 3);
    const Rgb second = Middle(game.Settled(kStripX - 45, kStripY - 12, kStripX - 35, kStripY + 18, 3));
    EXPECT_GT(second.Distance(first), 30) << "the middle item did not change";
    game.Key("Left");
    Shot back = game.WaitUntil([&](const Shot& s) { return Middle(s).Distance(first) < 15; }, 3);
    EXPECT_LT(Middle(back).Distance(first), 15) << "item 1 is not back in the middle";

    // A click on item 3 selects it and the strip brings it to the middle.
    game.Click(kStripX + 2 * 88, kStripY);
    game.WaitUntil([&](const Shot& s) { return Middle(s).Distance(first) > 30; }, 3);
    const Rgb third = Middle(game.Settled(kStripX - 45, kStripY - 12, kStripX - 35, kStripY + 18, 3));
    EXPECT_GT(third.Distance(first), 30);
    EXPECT_GT(third.Distance(second), 30);
    EXPECT_EQ(game.Exit(0), -1);  // a tap on an unselected item starts nothing

    // The studio logo opens the credits: the test card's corner tile is
    // black once the frame has flown in, and the top border holds its
    // colour stripes. A click anywhere closes them again.
    const Rgb corner = game.Grab().Mean(2, 2, 12, 12);
    ASSERT_FALSE(IsBlack(corner));
    game.Click(kLogoX, kLogoY);
    Shot credits = game.WaitUntil([](const Shot& s) { return IsBlack(s.Mean(2, 2, 12, 12)); }, 3);
    EXPECT_TRUE(IsBlack(credits.Mean(2, 2, 12, 12))) << "no credits";
    EXPECT_GT(credits.Count(60, 0, 580, 20, {0, 255, 0}, 40) + credits.Count(60, 0, 580, 20, {255, 0, 0}, 40),
              100);
    game.Click(320, 240);
    Shot closed = game.WaitUntil([&](const Shot& s) { return s.Mean(2, 2, 12, 12).Distance(corner) < 15; }, 3);
    EXPECT_LT(closed.Mean(2, 2, 12, 12).Distance(corner), 15) << "the credits did not close";
}

// The options box's brown in the lower middle of a window of width w.
int Brown(const Shot& s) {
    int x0 = s.w / 4, x1 = s.w * 3 / 4, y0 = s.h * 5 / 6, y1 = s.h * 29 / 30;
    return s.Count(x0, y0, x1, y1, {150, 75, 0}, 60) * 100 / ((x1 - x0) * (y1 - y0));
}

TEST(MenuE2E, GearOpensOptionsFullscreenFillsTheDesktopAndEscapeEnds) {
    Game game;
    ASSERT_TRUE(game.Ready());
    ASSERT_EQ(game.WaitForMenu(10).w, 640);
    ASSERT_LT(Brown(game.Grab()), 10);
    for (int i = 0; i < 3; ++i) game.Key("Right");
    game.Key("Return");  // the gear is selected: options
    Shot options = game.WaitUntil([](const Shot& s) { return Brown(s) > 50; }, 3);
    EXPECT_GT(Brown(options), 50) << "the options box did not rise";
    game.Settled(84, 128, 556, 300, 3);  // fully in: it takes input from now on

    game.Click(kRowX, kTouchRowY);  // "Touch : Left = Move" becomes Right
    game.Click(kRowX, kDisplayRowY);  // "Fullscreen"
    ASSERT_TRUE(game.FindWindowOfSize("1024x768", 5)) << "no window of the desktop's size";
    // The new size reloads every image first; then the box is back.
    Shot again = game.WaitUntil([](const Shot& s) { return Brown(s) > 50; }, 5);
    EXPECT_GT(Brown(again), 50) << "no options box in full screen";
    // The old window's end may have taken the focus, which suspends the
    // game: give it back and see the back gear turn.
    game.Focus();
    EXPECT_TRUE(game.WaitForMotion(60, 0, 260, 200, 3)) << "the game does not run";
    // The button may still have been down when the window was replaced,
    // its release going to the old window; the game then holds it down
    // until it is released in the new one, and the box takes nothing while
    // it is held. A click on an empty spot of the box releases it.
    game.Click(512, 704);

    game.Key("Escape");  // closes the options, which saves
    Shot gone = game.WaitUntil([](const Shot& s) { return Brown(s) < 10; }, 3);
    EXPECT_LT(Brown(gone), 10) << "the options box did not close";
    EXPECT_EQ(game.SavedSetting(17), 1);
    // The box holds the keys until it has slid out completely.
    Pause(0.6);
    EXPECT_EQ(game.Exit(0), -1);
    game.Key("Escape");
    EXPECT_EQ(game.Exit(5), 0);
}

}  // namespace
