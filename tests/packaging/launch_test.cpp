// SPDX-License-Identifier: Zlib
// The packaged game run as a player runs it: unpacked into a temporary root
// with dpkg-deb -x, started from another folder with a temporary HOME on a
// private desktop.
// - Every way it ends leaves standard error empty: the sound device and its
//   context are closed on the way out (OpenAL complains of a device left
//   open), whether the player quits from the menu, presses F4 or the close
//   button, a recording or a replay ends, a fast replay ends with no
//   display, or the window cannot be opened at all.
// - Its window says who it is, as docks and task switchers read it with
//   xprop: its class is the one the desktop entry names in StartupWMClass,
//   it is titled "Vornhelm" and it carries the packaged icons, pixel for
//   pixel; in a window and again in full screen, which opens a new window.
// - It reaches its title menu on the packaged data whatever old data the
//   player's folder holds; it keeps its state in the player's folder under
//   $XDG_DATA_HOME (under HOME when that is unset or relative), where a state
//   file from earlier runs is read; F12 saves in the pictures folder the
//   desktop names, else ~/Pictures, and names the file.
// - The launcher's command line: --help, --version and an unknown option
//   make no folder (their other forms are the host's command-line tests);
//   without HOME or XDG_DATA_HOME, one line and exit code 1.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// The unpacked launcher, started from work/ with HOME at home/ and sound
// going to the null backend; its output in out.txt and err.txt.
class PackagedGame : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(home), fs::create_directories(work); }
    void TearDown() override { Kill(game), Kill(wm); }
    // `env` beside HOME; `prefix` runs the launcher (env -u ...).
    void Start(const std::vector<std::string>& args, const Env& env = {}, std::vector<std::string> prefix = {}) {
        prefix.push_back(launcher);
        prefix.insert(prefix.end(), args.begin(), args.end());
        Env all = {{"HOME", home}, {"ALSOFT_DRIVERS", "null"}};
        all.insert(all.end(), env.begin(), env.end());
        game = Spawn(prefix, work, out, all, err);
    }
    // Its exit code; standard error must have stayed empty.
    int Exit(double timeout = kWaitSeconds) {
        const int code = WaitExit(game, timeout);
        EXPECT_EQ(ReadFile(err), "");
        return code;
    }
    const Unpacked package;
    const std::string launcher = package.root + "/usr/games/vornhelm", home = package.dir + "/home",
                      work = package.dir + "/work", out = package.dir + "/out.txt", err = package.dir + "/err.txt";
    int wm = 0, game = 0;
};

void Press(const std::string& key) { Hold({key}); }

struct Way {
    const char* way;
    std::vector<std::string> args;
    Env env;
    // What ends the game once its menu is up; null: it ends by itself.
    std::function<void(const std::string& window)> end;
    int code;
    // The first line on standard output, when the exit says why.
    std::string says;
};

TEST_F(PackagedGame, EveryWayOutLeavesStandardErrorEmpty) {
    wm = StartDesktop();
    const std::string replays = VORNHELM_SOURCE_DIR "/tests/replays";
    const Env noDisplay = {{"DISPLAY", ":65432"}};
    // Rows run in order: the recording row writes the file the replays read.
    const std::vector<Way> ways = {
        {"quit from the menu", {}, {}, [](const std::string&) { Press("Escape"); }, 0},
        {"F4", {}, {}, [](const std::string&) { Press("F4"); }, 0},
        {"the close button", {}, {}, CloseButton, 0},
        {"a recording ended by F4", {"--record", "short.vhr"}, {}, [](const std::string&) { Press("F4"); }, 0},
        {"a replay", {"--replay", "short.vhr"}, {}, nullptr, 0},
        {"a replay that saves a frame", {"--replay", "short.vhr", "--screenshot-at", "5", "shot.png"}, {}, nullptr, 0,
         "Screenshot saved as shot.png"},
        {"a fast replay without a display", {"--replay", replays + "/mode3-dive.vhr", "--fast"}, noDisplay, nullptr, 0},
        {"no display", {}, noDisplay, nullptr, 255, "glfwInit failed"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.way);
        Start(way.args, way.env);
        std::string window;
        if (way.end) {
            ASSERT_TRUE(AtTheMenu(game, &window));
            way.end(window);
        }
        EXPECT_EQ(Exit(60), way.code) << ReadFile(out);
        const std::string said = ReadFile(out);
        if (!way.says.empty()) EXPECT_EQ(said.substr(0, said.find('\n')), way.says);
        Kill(game);
    }
    ExpectNoWindowWithoutOpenGL(launcher, {.env = {{"HOME", home}, {"ALSOFT_DRIVERS", "null"}}, .workDir = work});
}

// _NET_WM_ICON as numbers: width, height, then width x height ARGB pixels,
// for each icon in turn; each icon's height last, to be checked too.
std::map<int, std::vector<unsigned long>> WindowIcons(const std::string& window) {
    // xprop cuts a property off at some 250 kB unless told a longer length.
    std::string text = RunProcess({"xprop", "-len", "4000000", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "_NET_WM_ICON"}).out;
    std::map<int, std::vector<unsigned long>> icons;
    std::istringstream numbers(text.substr(std::min(text.size(), text.find('=') + 1)));
    std::vector<unsigned long> all;
    for (std::string n; std::getline(numbers, n, ',');) all.push_back(std::stoul(n));
    for (std::size_t at = 0; at + 2 <= all.size();) {
        const unsigned long w = all[at], h = all[at + 1], end = at + 2 + w * h;
        if (end > all.size()) break;
        icons[static_cast<int>(w)] = std::vector<unsigned long>(all.begin() + at + 2, all.begin() + end);
        icons[static_cast<int>(w)].push_back(h);
        at = end;
    }
    return icons;
}

// A packaged icon PNG as ARGB, its height last as WindowIcons gives it.
std::vector<unsigned long> PackagedIcon(const std::string& path) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load(path.c_str(), &w, &h, &n, 4);
    std::vector<unsigned long> argb;
    for (int i = 0; px && i < w * h; ++i)
        argb.push_back(static_cast<unsigned long>(px[4 * i + 3]) << 24 | px[4 * i] << 16 | px[4 * i + 1] << 8 | px[4 * i + 2]);
    stbi_image_free(px);
    argb.push_back(static_cast<unsigned long>(h));
    return argb;
}

TEST_F(PackagedGame, ItsWindowSaysWhoItIsInAWindowAndInFullScreen) {
    const std::string share = package.root + "/usr/share";
    std::smatch entry;
    const std::string desktop = ReadFile(share + "/applications/vornhelm.desktop");
    ASSERT_TRUE(std::regex_search(desktop, entry, std::regex("\nStartupWMClass=(.*)\n")));
    const std::string wmClass = entry[1];
    wm = StartDesktop();
    Start({});
    std::string window = ActivateWindow(game);
    ASSERT_FALSE(window.empty());
    for (auto [how, nextWidth] : {std::pair{"in a window", 1024}, std::pair{"in full screen", 640}}) {
        SCOPED_TRACE(how);
        EXPECT_EQ(Tool({"xprop", "-id", window, "WM_CLASS"}), "WM_CLASS(STRING) = \"" + wmClass + "\", \"" + wmClass + "\"");
        EXPECT_EQ(Tool({"xdotool", "getwindowname", window}), "Vornhelm");
        const auto icons = WindowIcons(window);
        EXPECT_EQ(icons.size(), 3u);
        for (int size : {64, 128, 256}) {
            const std::string file = share + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/vornhelm.png";
            EXPECT_TRUE(icons.count(size) && icons.at(size) == PackagedIcon(file)) << "the window's " << size << " pixel icon is not " << file;
        }
        // F11 closes this window and opens the other kind, which takes the focus.
        Tool({"xdotool", "key", "F11"});
        ASSERT_TRUE(WaitUntil([&, width = nextWidth] {
            window = Tool({"xdotool", "getwindowfocus"});
            return Grab(window).w == width;
        })) << "F11 opened no new window";
    }
    Tool({"xdotool", "key", "F4"});
    EXPECT_EQ(Exit(), 0);
}

// Where a run keeps its things, below the scratch folder.
struct Place {
    const char* says;
    Env env;              // the player's XDG variables
    std::string player;   // the player's folder
    std::string pictures; // where F12 saves
    bool namedPictures;   // the desktop names a pictures folder (user-dirs.dirs)
    bool oldData;         // a data folder copied by hand into the player's folder
};

TEST_F(PackagedGame, RunsOnThePackagedDataAndKeepsThePlayersThingsInTheirFolders) {
    // A state this game did not write itself: the on-screen pad's size 9.
    const std::string earlier = FirstRunState(9);
    const std::string dir = package.dir;
    wm = StartDesktop();
    const std::vector<Place> places = {
        {"XDG_DATA_HOME, pictures named", {{"XDG_DATA_HOME", dir + "/xdg"}}, "xdg/vornhelm", "home/Bilder", true, false},
        {"no XDG_DATA_HOME, an old data folder", {}, "home/.local/share/vornhelm", "home/Pictures", false, true},
        {"a relative XDG_DATA_HOME", {{"XDG_DATA_HOME", "xdg"}}, "home/.local/share/vornhelm", "home/Pictures", false, false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.says);
        for (const char* sub : {"home", "work", "xdg"}) fs::remove_all(dir + "/" + sub);
        const std::string player = dir + "/" + place.player;
        fs::create_directories(home), fs::create_directories(work), fs::create_directories(player);
        std::ofstream(player + "/.tandorstate") << earlier;
        const auto written = fs::last_write_time(player + "/.tandorstate");
        if (place.oldData) fs::create_directories(player + "/data");
        if (place.namedPictures) {
            fs::create_directories(home + "/.config");
            std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
        }
        // The test's own XDG variables are not the player's.
        std::vector<std::string> prefix = {"env", "-u", "XDG_DATA_HOME", "-u", "XDG_CONFIG_HOME"};
        for (const auto& [name, value] : place.env) prefix.push_back(name + "=" + value);
        Start({}, {}, prefix);
        std::string window;
        ASSERT_TRUE(AtTheMenu(game, &window)) << ReadFile(out);

        Tool({"xdotool", "key", "F12"});
        // The last line of the output (before it, the state's blocks say they loaded).
        std::smatch saved;
        const std::regex line("(^|\n)Screenshot saved as (" + dir + "/" + place.pictures + "/vornhelm-[0-9]{8}-[0-9]{6}\\.png)\n$");
        std::string said;
        EXPECT_TRUE(WaitUntil([&] { return std::regex_search(said = ReadFile(out), saved, line); })) << said;
        if (!saved.empty()) EXPECT_TRUE(fs::is_regular_file(saved[2].str()));

        // Another window takes the focus: the game saves the state it read.
        int other = FocusAnotherWindow();
        EXPECT_TRUE(WaitUntil([&] { return fs::last_write_time(player + "/.tandorstate") > written; })) << "no state saved";
        Pause(0.3);
        EXPECT_EQ(ReadFile(player + "/.tandorstate"), earlier);
        Kill(other);
        Tool({"xdotool", "windowactivate", "--sync", window});
        Tool({"xdotool", "key", "F4"});
        EXPECT_EQ(Exit(10), 0);
        // Nothing beside the player's folder and the pictures.
        EXPECT_TRUE(fs::is_empty(work)) << "the game wrote in the folder it was started from";
        EXPECT_EQ(fs::exists(dir + "/xdg"), place.player.rfind("xdg/", 0) == 0) << "a relative XDG_DATA_HOME was used";
        Kill(game);
    }
}

// Each row runs the launcher to its end with no display: an environment
// beside HOME's (or, for the rows without HOME, how the launcher is run),
// its arguments, then its exit code, standard output and standard error.
TEST_F(PackagedGame, HelpVersionAnUnknownOptionAndNoHome) {
    const Env env = {{"HOME", home}, {"XDG_DATA_HOME", package.dir + "/xdg"}, {"DISPLAY", ":65432"}};
    const std::string usage = RunProcess({launcher, "--help"}, {.env = env}).out;
    ASSERT_EQ(usage.rfind("usage: vornhelm [--record FILE] [FOLDERS]\n", 0), 0u) << usage;
    const std::string version = std::string("vornhelm ") + kVornhelmVersion + "\n";
    // Without a home the player's state has no place: one line says so,
    // unless XDG_DATA_HOME names an absolute folder.
    const std::string noHome = "vornhelm: HOME is not set (nor XDG_DATA_HOME): there is no folder to keep the player's state in\n";
    const std::vector<std::string> homeless = {"env", "-u", "HOME", "-u", "XDG_DATA_HOME"};
    auto without = [&](const std::string& xdg) {
        std::vector<std::string> argv = homeless;
        return argv.push_back(xdg), argv;
    };
    const struct { std::vector<std::string> prefix, args; int code; std::string out, err; } rows[] = {
        {{}, {"--help"}, 0, usage, ""},
        {{}, {"--version"}, 0, version, ""},
        {{}, {"--bogus"}, 2, "", "vornhelm: unknown option '--bogus'\n" + usage},
        {homeless, {"--version"}, 1, "", noHome},
        {without("XDG_DATA_HOME=xdg"), {"--version"}, 1, "", noHome},
        {without("XDG_DATA_HOME=" + package.dir + "/xdg"), {"--version"}, 0, version, ""},
    };
    for (const auto& row : rows) {
        std::vector<std::string> argv = row.prefix;
        argv.push_back(launcher);
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        SCOPED_TRACE(testing::PrintToString(argv));
        auto result = RunProcess(argv, {.env = row.prefix.empty() ? env : Env{{"DISPLAY", ":65432"}}, .workDir = package.dir});
        EXPECT_EQ(result.exitCode, row.code);
        EXPECT_EQ(result.out + "|" + result.err, row.out + "|" + row.err);
    }
    EXPECT_FALSE(fs::exists(package.dir + "/xdg")) << "the launcher made the player's folder";
    EXPECT_TRUE(fs::is_empty(home)) << "something was made in the home folder";
}

}  // namespace
