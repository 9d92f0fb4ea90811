// SPDX-License-Identifier: Zlib
// The package's launcher, run as a player runs it: unpacked into a temporary
// root with dpkg-deb -x, started from another folder with a temporary HOME
// on a private desktop. The game reaches its title menu on the packaged data
// whatever old data the player's folder holds; it keeps its state in the
// player's folder under $XDG_DATA_HOME (under HOME when that is unset or
// relative), where a state file from earlier runs is read; F12 saves in the
// pictures folder the desktop names, else ~/Pictures, and names the file.
// And the command line as the manual page tells it: --help, --version and an
// unknown option, with their output and exit codes, which make no folder;
// without HOME or XDG_DATA_HOME, one line and exit code 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// The state of a first run with setting 12 at 9 instead of 10, its
// checksum 12 less: a state this game did not write itself.
std::string EarlierState() {
    std::string s = "0|0|0|0|0|1|0|0|0|0|64|64|9|0|1|";
    for (int i = 0; i < 10 + 1 + 72; ++i) s += i == 10 ? "1471|" : "0|";
    return s;
}

// Where a run keeps its things, below its scratch folder.
struct Place {
    const char* says;
    Env env;              // beside HOME (the scratch folder's home/)
    std::string player;   // the player's folder
    std::string pictures; // where F12 saves
    bool namedPictures;   // the desktop names a pictures folder (user-dirs.dirs)
    bool oldData;         // a data folder copied by hand into the player's folder
};

TEST(PackagedLauncher, RunsOnThePackagedDataAndKeepsThePlayersThingsInTheirFolders) {
    const std::string dir = UnpackPackage(), root = dir + "/root";
    int wm = StartDesktop();
    const std::vector<Place> places = {
        {"XDG_DATA_HOME, pictures named", {{"XDG_DATA_HOME", dir + "/xdg"}}, "xdg/vornhelm", "home/Bilder", true, false},
        {"no XDG_DATA_HOME, an old data folder", {}, "home/.local/share/vornhelm", "home/Pictures", false, true},
        {"a relative XDG_DATA_HOME", {{"XDG_DATA_HOME", "xdg"}}, "home/.local/share/vornhelm", "home/Pictures", false, false},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.says);
        for (const char* sub : {"home", "work", "xdg"}) fs::remove_all(dir + "/" + sub);
        const std::string home = dir + "/home", work = dir + "/work", player = dir + "/" + place.player;
        fs::create_directories(home), fs::create_directories(work), fs::create_directories(player);
        std::ofstream(player + "/.tandorstate") << EarlierState();
        const auto written = fs::last_write_time(player + "/.tandorstate");
        if (place.oldData) fs::create_directories(player + "/data");
        if (place.namedPictures) {
            fs::create_directories(home + "/.config");
            std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
        }
        // The test's own XDG variables are not the player's.
        std::vector<std::string> argv = {"env", "-u", "XDG_DATA_HOME", "-u", "XDG_CONFIG_HOME"};
        for (const auto& [name, value] : place.env) argv.push_back(name + "=" + value);
        argv.push_back(root + "/usr/games/vornhelm");
        int game = Spawn(argv, work, dir + "/out.txt", {{"HOME", home}, {"ALSOFT_DRIVERS", "null"}}, dir + "/err.txt");
        const std::string window = Tool({"xdotool", "search", "--sync", "--onlyvisible", "--pid", std::to_string(game), "--name", "^Vornhelm$"});
        ASSERT_FALSE(window.empty());
        Tool({"xdotool", "windowactivate", "--sync", window});
        EXPECT_TRUE(WaitUntil([&] { return ShowsMenu(Grab(window)); })) << "no title menu\n" << ReadFile(dir + "/out.txt");

        Tool({"xdotool", "key", "F12"});
        // The last line of the output (before it, the state's blocks say they loaded).
        std::smatch saved;
        const std::regex line("(^|\n)Screenshot saved as (" + dir + "/" + place.pictures + "/vornhelm-[0-9]{8}-[0-9]{6}\\.png)\n$");
        std::string out;
        EXPECT_TRUE(WaitUntil([&] { return std::regex_search(out = ReadFile(dir + "/out.txt"), saved, line); })) << out;
        if (!saved.empty()) EXPECT_TRUE(fs::is_regular_file(saved[2].str()));

        // Another window takes the focus: the game saves the state it read.
        int other = Spawn({"xmessage", "other"}, "", "/dev/null");
        Tool({"xdotool", "windowactivate", "--sync", Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
        EXPECT_TRUE(WaitUntil([&] { return fs::last_write_time(player + "/.tandorstate") > written; }))
            << "no state saved";
        Pause(0.3);
        EXPECT_EQ(ReadFile(player + "/.tandorstate"), EarlierState());
        Kill(other);
        Tool({"xdotool", "windowactivate", "--sync", window});
        Tool({"xdotool", "key", "F4"});
        EXPECT_EQ(WaitExit(game, 10), 0);
        EXPECT_EQ(ReadFile(dir + "/err.txt"), "");
        // Nothing beside the player's folder and the pictures.
        EXPECT_TRUE(fs::is_empty(work)) << "the game wrote in the folder it was started from";
        EXPECT_EQ(fs::exists(dir + "/xdg"), place.player.rfind("xdg/", 0) == 0) << "a relative XDG_DATA_HOME was used";
        Kill(game);
    }
    Kill(wm);
    fs::remove_all(dir);
}

TEST(PackagedLauncher, HelpVersionAndAnUnknownOption) {
    const std::string dir = UnpackPackage(), launcher = dir + "/root/usr/games/vornhelm", home = dir + "/home";
    fs::create_directories(home);
    ProcessOptions options;
    options.env = {{"HOME", home}, {"XDG_DATA_HOME", dir + "/xdg"}, {"DISPLAY", ":65432"}};
    const std::string usage = RunProcess({launcher, "--help"}, options).out;
    ASSERT_EQ(usage.rfind("usage: vornhelm [--record FILE] [FOLDERS]\n", 0), 0u) << usage;
    const std::vector<std::tuple<std::vector<std::string>, int, std::string, std::string>> cases = {
        {{"--help"}, 0, usage, ""},
        {{"-h"}, 0, usage, ""},
        {{"--record", "a.vhr", "--help"}, 0, usage, ""},
        {{"--version"}, 0, std::string("vornhelm ") + kVornhelmVersion + "\n", ""},
        {{"--bogus"}, 2, "", "vornhelm: unknown option '--bogus'\n" + usage},
        {{"--replay"}, 2, "", "vornhelm: --replay needs a file name\n" + usage},
        {{"--fast"}, 2, "", "vornhelm: --fast goes with --replay\n" + usage},
    };
    for (auto [args, exitCode, out, err] : cases) {
        SCOPED_TRACE(args[0]);
        args.insert(args.begin(), launcher);
        auto result = RunProcess(args, options);
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_EQ(result.out + "|" + result.err, out + "|" + err);
    }
    EXPECT_FALSE(fs::exists(dir + "/xdg")) << "the launcher made the player's folder";
    EXPECT_TRUE(fs::is_empty(home)) << "something was made in the home folder";

    // Without a home the player's state has no place: one line says so,
    // unless XDG_DATA_HOME names an absolute folder.
    const std::string noHome = "vornhelm: HOME is not set (nor XDG_DATA_HOME): there is no folder to keep the player's state in\n";
    const std::vector<std::tuple<std::string, int, std::string, std::string>> homeless = {
        {"", 1, "", noHome},
        {"XDG_DATA_HOME=xdg", 1, "", noHome},
        {"XDG_DATA_HOME=" + dir + "/xdg", 0, std::string("vornhelm ") + kVornhelmVersion + "\n", ""},
    };
    for (const auto& [xdg, exitCode, out, err] : homeless) {
        SCOPED_TRACE("HOME unset, " + xdg);
        std::vector<std::string> argv = {"env", "-u", "HOME", "-u", "XDG_DATA_HOME"};
        if (!xdg.empty()) argv.push_back(xdg);
        argv.insert(argv.end(), {launcher, "--version"});
        auto result = RunProcess(argv, {.env = {{"DISPLAY", ":65432"}}, .workDir = dir});
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_EQ(result.out + "|" + result.err, out + "|" + err);
    }
    EXPECT_FALSE(fs::exists(dir + "/xdg"));
    fs::remove_all(dir);
}

}  // namespace
