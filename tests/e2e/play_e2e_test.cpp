// A whole game with the real program, under a private Xvfb with openbox and
// OpenAL's wave-file output: from the menu into a game by the keyboard, a
// flight with the guns firing, pause and resume, giving up, the game-over
// overlay, the menu again, the score in ./.tandorstate, and the effects in the
// sound that was played. The window is read back through Xlib.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/display.h"
#include "tests/support/game_host.h"
#include "tests/support/process.h"
// Last: Xlib defines macros that clash with the test library.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;

void Sleep(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

struct Rgb {
    int r, g, b;
    bool Near(Rgb o, int tol) const {
        return std::abs(r - o.r) <= tol && std::abs(g - o.g) <= tol && std::abs(b - o.b) <= tol;
    }
};

// One picture of the 640 x 480 window.
struct Shot {
    static constexpr int kW = 640, kH = 480;
    std::vector<Rgb> px = std::vector<Rgb>(kW * kH);
    Rgb At(int x, int y) const { return px[y * kW + x]; }
    // Kept as a PPM picture in the folder VORNHELM_E2E_SHOTS names, if any,
    // to look at when a check fails.
    const Shot& Keep(const std::string& name) const {
        if (const char* folder = std::getenv("VORNHELM_E2E_SHOTS")) Save(std::string(folder) + "/" + name + ".ppm");
        return *this;
    }
    void Save(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << kW << " " << kH << "\n255\n";
        for (Rgb c : px) out.put(char(c.r)).put(char(c.g)).put(char(c.b));
    }
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& is) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += is(At(x, y));
        return n;
    }
};

// What the screen shows, by the game's own colours.
const Rgb kSky{0, 175, 250}, kStatusBar{0, 0, 120}, kRadarPad{0, 125, 255};
bool Greenish(Rgb c) { return c.g > 100 && c.g > c.b + 40 && c.r < 120; }  // ground, maybe under sea
// The helicopter's red and dark paint, seen through the pad's beacon; sky,
// beacon, ground and pad are none of it.
bool HeliPaint(Rgb c) { return !Greenish(c) && c.b < 200 && (c.r > c.g + 30 || c.r + c.g + c.b < 300); }

// The most helicopter paint in any 96 x 96 square of the play area.
int HeliPaintPeak(const Shot& s) {
    int best = 0;
    for (int y = 40; y + 96 <= Shot::kH; y += 16)
        for (int x = 0; x + 96 <= Shot::kW; x += 16) best = std::max(best, s.Count(x, y, x + 96, y + 96, HeliPaint));
    return best;
}

bool ShowsPlay(const Shot& s) {
    int bar = s.Count(0, 0, Shot::kW, 38, [](Rgb c) { return c.Near(kStatusBar, 4); });
    int sky = s.Count(0, 40, Shot::kW, 200, [](Rgb c) { return c.Near(kSky, 6); });
    int ground = s.Count(0, 40, Shot::kW, Shot::kH, Greenish);
    int heli = s.Count(112, 200, 208, 272, HeliPaint);
    return bar > Shot::kW * 38 / 3 && sky > Shot::kW * 160 / 4 && ground > 500 && heli > 150;
}

// The status bar and the helicopter anywhere in view (the ground may be out
// of sight after a flight).
bool ShowsPlayAnywhere(const Shot& s) {
    int bar = s.Count(0, 0, Shot::kW, 38, [](Rgb c) { return c.Near(kStatusBar, 4); });
    return bar > Shot::kW * 38 / 3 && HeliPaintPeak(s) > 150;
}

// The x of the home pad's mark on the radar, or -1.
double RadarPadX(const Shot& s) {
    double sum = 0;
    int n = 0;
    for (int y = 22; y < 34; ++y)
        for (int x = 160; x < 480; ++x)
            if (s.At(x, y).Near(kRadarPad, 12)) sum += x, ++n;
    return n ? sum / n : -1;
}

// The orange pause panel, left and right of its buttons.
bool ShowsPausePanel(const Shot& s) {
    auto orange = [](Rgb c) { return c.r > 170 && c.g > 90 && c.g < 160 && c.b < 90; };
    return s.Count(190, 285, 250, 298, orange) > 500 && s.Count(390, 285, 450, 298, orange) > 500;
}

// The yellow bar growing from the left and the orange one from the right.
bool ShowsGameOver(const Shot& s) {
    auto yellow = [](Rgb c) { return c.r > 120 && c.g > 120 && c.b < 90; };
    auto orange = [](Rgb c) { return c.r > 120 && c.g > 50 && c.g < 130 && c.b < 90; };
    return s.Count(0, 210, 40, 222, yellow) > 300 && s.Count(600, 258, 640, 270, orange) > 300;
}

// Share of the menu's upper left part (logo and backdrop; not the score
// panel or the mode strip) that looks as it did in `before`.
double MenuLikeness(const Shot& before, const Shot& now) {
    int same = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 490; ++x) same += now.At(x, y).Near(before.At(x, y), 10);
    return same / (200.0 * 490);
}

// A state string as the game saves it: first-run settings but effects only
// (no tune, so what sounds during play is effects), and mode 3's last ten
// scores 9, 8, .. 0.
String SeededState() {
    GameTestHost host;
    c_MyApp* app = StartBareGame(host);
    const int settings[][2] = {{5, 2}, {10, 64}, {11, 64}, {12, 10}, {14, 1}};
    for (auto [slot, value] : settings) app->m_Opt[slot] = value;
    for (int j = 0; j < 10; ++j) app->m_Hi[50 + j] = 9 - j;
    app->p_Save();
    return host.state;
}

// The tables of a saved state, as the game reads them back.
std::vector<int> SavedTables(const fs::path& file) {
    GameTestHost host;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return {};
    host.state = String::Load(f);
    std::fclose(f);
    c_MyApp* app = StartBareGame(host);
    app->p_Load();
    std::vector<int> tables(&app->m_Hi[0], &app->m_Hi[0] + 60);
    tables.push_back(app->m_Opt[5]);
    return tables;
}

// Per 10 ms of a 16-bit stereo wave file: whether anything sounded.
std::vector<bool> SoundingBlocks(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<bool> blocks;
    constexpr std::size_t kBlock = 441 * 4;
    for (std::size_t w = b.find("data") + 8; w > 8 && w + kBlock <= b.size(); w += kBlock) {
        double energy = 0;
        for (std::size_t i = w; i < w + kBlock; i += 2) {
            double v = static_cast<std::int16_t>((b[i] & 0xFF) | b[i + 1] << 8) / 32768.0;
            energy += v * v;
        }
        blocks.push_back(std::sqrt(energy / (kBlock / 2)) > 0.01);
    }
    return blocks;
}

double SoundingShare(const std::vector<bool>& blocks, double from, double to) {
    int n = 0, on = 0;
    for (int i = static_cast<int>(from * 100); i < static_cast<int>(to * 100); ++i, ++n)
        on += i >= 0 && i < static_cast<int>(blocks.size()) && blocks[i];
    return n ? static_cast<double>(on) / n : 0;
}

pid_t Spawn(const std::vector<std::string>& argv, const fs::path& dir, const fs::path& out,
            const std::vector<std::pair<std::string, std::string>>& env) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a crashed test
        if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open("/dev/null", O_WRONLY), 2);
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// The game in a scratch folder holding data/ and a seeded state file, its
// sound going to a wave file there, on this process's own X server.
class Game {
public:
    Game() {
        char name[] = "/tmp/vornhelm-play-XXXXXX";
        dir = mkdtemp(name);
        fs::create_directory_symlink(fs::path(VORNHELM_BUILD_DIR) / "data", dir / "data");
        std::FILE* f = std::fopen((dir / ".tandorstate").c_str(), "wb");
        SeededState().Save(f);
        std::fclose(f);
        std::ofstream(dir / "alsoft.conf") << "channels = stereo\nsample-type = int16\nfrequency = 44100\n"
                                           << "hrtf = false\n[wave]\nfile = " << (dir / "sound.wav").string()
                                           << "\n";

        unsetenv("DISPLAY");
        testsupport::EnsureDisplay();
        wm = Spawn({"openbox", "--sm-disable"}, {}, "/dev/null", {});
        for (int i = 0; i < 100 && Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") ==
                                       std::string::npos; ++i)
            Sleep(0.1);
        game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, dir / "out.txt",
                     {{"ALSOFT_DRIVERS", "wave"}, {"ALSOFT_CONF", (dir / "alsoft.conf").string()}});
        window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
        Tool({"xdotool", "windowactivate", "--sync", window});
        dpy = XOpenDisplay(nullptr);
    }
    ~Game() {
        if (dpy) XCloseDisplay(dpy);
        for (pid_t pid : {game, wm})
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Seconds of sound the wave file holds so far: a clock that runs with the
    // audio device (16-bit stereo at 44100 Hz).
    double SoundClock() const {
        std::error_code ec;
        auto bytes = fs::file_size(dir / "sound.wav", ec);
        return ec ? 0 : static_cast<double>(bytes) / (44100 * 4);
    }

    Shot Capture() const {
        Shot s;
        XImage* img = XGetImage(dpy, std::stoul(window), 0, 0, Shot::kW, Shot::kH, AllPlanes, ZPixmap);
        if (!img) return s;
        for (int y = 0; y < Shot::kH; ++y)
            for (int x = 0; x < Shot::kW; ++x) {
                unsigned long p = XGetPixel(img, x, y);
                s.px[y * Shot::kW + x] = {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
            }
        XDestroyImage(img);
        return s;
    }
    // Captures until `is` holds; the last capture either way.
    Shot WaitFor(const std::function<bool(const Shot&)>& is, double timeout = 8) const {
        Shot s = Capture();
        for (double t = 0; !is(s) && t < timeout; t += 0.1) Sleep(0.1), s = Capture();
        return s;
    }

    void Hold(const std::string& key) const { Tool({"xdotool", "keydown", key}); }
    void Release(const std::string& key) const { Tool({"xdotool", "keyup", key}); }
    // Down for a few updates, then up: the game reads keys as held.
    void Press(const std::string& key) const { Hold(key), Sleep(0.12), Release(key), Sleep(0.12); }

    // The process's exit code once it has ended, or -1000.
    int WaitForExit(double timeout) {
        for (double t = 0; t < timeout; t += 0.05, Sleep(0.05)) {
            int status = 0;
            if (waitpid(game, &status, WNOHANG) == game) {
                game = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            }
        }
        return -1000;
    }

    fs::path dir;
    pid_t wm = -1, game = -1;
    std::string window;
    Display* dpy = nullptr;
};

TEST(PlayE2E, AGameFromTheMenuToTheScoreTables) {
    Game g;
    ASSERT_FALSE(g.window.empty()) << "no game window";
    ASSERT_NE(g.dpy, nullptr);
    // Loading (its screen is cleared to 40, 40, 80) and the menu's slide-in.
    Shot menu = g.Capture();
    for (double t = 0; t < 20; t += 0.3) {
        Sleep(0.3);
        Shot next = g.Capture();
        bool settled = !next.At(5, 5).Near({40, 40, 80}, 2) && MenuLikeness(menu, next) > 0.97;
        menu = next;
        if (settled) break;
    }
    menu.Keep("menu");
    ASSERT_FALSE(menu.At(5, 5).Near({40, 40, 80}, 2)) << "the menu after loading";

    // Mode 3 (the third item of the strip) by the keyboard.
    g.Press("Right"), g.Press("Right"), g.Press("space");
    Shot play = g.WaitFor(ShowsPlay);
    play.Keep("play");
    ASSERT_TRUE(ShowsPlay(play)) << "sky, ground, helicopter and status bar";
    double landedAt = g.SoundClock();
    double padX = RadarPadX(play);
    EXPECT_NEAR(padX, 318, 3) << "the radar shows the pad under the helicopter";
    Sleep(1.5);

    // A little up off the pad (not so high that the sky darkens), then right
    // with the guns firing.
    double fireFrom = g.SoundClock();
    g.Hold("Up");
    Sleep(0.6);
    g.Release("Up");
    g.Hold("Right"), g.Hold("space");
    Shot flying = g.WaitFor([&](const Shot& s) { return RadarPadX(s) >= 0 && RadarPadX(s) < padX - 8; });
    Sleep(1.5);
    g.Release("space"), g.Release("Right");
    double fireTo = g.SoundClock();
    flying.Keep("flying");
    EXPECT_LT(RadarPadX(flying), padX - 8) << "the helicopter flew right, away from the pad";
    EXPECT_GT(HeliPaintPeak(flying), 150) << "the helicopter is still in view";

    // Pause with Escape, and resume with Escape.
    g.Press("Escape");
    EXPECT_TRUE(ShowsPausePanel(g.WaitFor(ShowsPausePanel).Keep("paused"))) << "pause panel";
    Sleep(0.3);
    g.Press("Escape");
    auto resumed = [](const Shot& s) { return !ShowsPausePanel(s) && ShowsPlayAnywhere(s); };
    EXPECT_TRUE(resumed(g.WaitFor(resumed).Keep("resumed"))) << "resumed";

    // Give up: pause, select give-up, fire.
    g.Press("Escape");
    g.WaitFor(ShowsPausePanel);
    g.Press("Left"), g.Press("space");
    EXPECT_TRUE(ShowsGameOver(g.WaitFor(ShowsGameOver).Keep("game-over"))) << "game-over overlay";
    Shot back = g.WaitFor([&](const Shot& s) { return MenuLikeness(menu, s) > 0.9; });
    EXPECT_GT(MenuLikeness(menu, back.Keep("menu-again")), 0.9) << "the menu again";

    // The finished game is the newest of mode 3's last scores; a score above
    // 0 also heads its top ten. Effects only, as the state said.
    std::vector<int> saved;
    for (double t = 0; t < 5 && (saved.size() < 61 || saved[51] != 9); t += 0.1, Sleep(0.1))
        saved = SavedTables(g.dir / ".tandorstate");
    ASSERT_EQ(saved.size(), 61u);
    int score = saved[50];
    EXPECT_EQ(std::vector<int>(saved.begin() + 51, saved.begin() + 60),
              (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(saved[20], score);
    EXPECT_EQ(saved[60], 2);
    std::printf("the game scored %d\n", score);

    // Escape in the menu ends the program.
    g.Press("Escape");
    EXPECT_EQ(g.WaitForExit(5), 0);

    // With the tune off, the helicopter standing on the pad was quiet and the
    // shots sounded in flight. Times are the wave file's own; the windows
    // examined keep 0.3 s away from the key presses they lie between.
    std::vector<bool> sound = SoundingBlocks(g.dir / "sound.wav");
    ASSERT_GT(sound.size(), static_cast<size_t>(fireTo * 100)) << "the wave file covers the game";
    ASSERT_GT(fireFrom - landedAt, 1.0);
    double quiet = SoundingShare(sound, landedAt + 0.3, fireFrom - 0.3);
    double shots = SoundingShare(sound, fireFrom + 0.9, fireTo - 0.3);
    std::printf("sounding: %.0f%% on the pad, %.0f%% in flight\n", 100 * quiet, 100 * shots);
    EXPECT_LT(quiet, 0.1) << "quiet on the pad";
    EXPECT_GT(shots, 0.25) << "shots sounded";
}

}  // namespace
