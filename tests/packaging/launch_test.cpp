// The package's launcher, run as a player runs it: unpacked into a temporary
// root with dpkg-deb -x, started from another folder with a temporary HOME
// on a private desktop. The game reaches its title menu, running from the
// player's folder under $XDG_DATA_HOME with the packaged data linked in, and
// the state file lands there when another window takes the focus. And the
// command line as the manual page tells it: --help, --version and an unknown
// option, with their output and exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/packaging/package.h"
#include "vornhelm_version.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

TEST(PackagedLauncher, ReachesTheMenuAndKeepsTheStateInThePlayersFolder) {
    const std::string dir = UnpackPackage(), root = dir + "/root", home = dir + "/home", xdg = dir + "/xdg",
                      work = dir + "/work";
    fs::create_directories(home), fs::create_directories(work);
    int wm = StartDesktop();
    int game = Spawn({root + "/usr/games/vornhelm"}, work, dir + "/out.txt",
                     {{"HOME", home}, {"XDG_DATA_HOME", xdg}, {"ALSOFT_DRIVERS", "null"}});
    const std::string window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    Tool({"xdotool", "windowactivate", "--sync", window});
    EXPECT_TRUE(WaitUntil([&] { return ShowsMenu(Grab(window)); })) << "no title menu\n" << ReadFile(dir + "/out.txt");

    const std::string folder = xdg + "/vornhelm";
    EXPECT_EQ(fs::read_symlink(folder + "/data"), fs::path(root + "/usr/share/games/vornhelm"));
    EXPECT_FALSE(fs::exists(folder + "/.tandorstate"));
    int other = Spawn({"xmessage", "other"}, "", "/dev/null");
    Tool({"xdotool", "windowactivate", "--sync", Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder + "/.tandorstate"); })) << "no state file";
    EXPECT_GT(fs::file_size(folder + "/.tandorstate"), 0u);
    for (const std::string& elsewhere : {work, home, root + "/usr/share/games/vornhelm"}) EXPECT_FALSE(fs::exists(elsewhere + "/.tandorstate")) << elsewhere;
    EXPECT_FALSE(fs::exists(home + "/.local")) << "XDG_DATA_HOME is the place when set";
    for (int* pid : {&game, &other, &wm}) Kill(*pid);
    fs::remove_all(dir);
}

TEST(PackagedLauncher, HelpVersionAndAnUnknownOption) {
    const std::string dir = UnpackPackage(), launcher = dir + "/root/usr/games/vornhelm";
    ProcessOptions options;
    options.env = {{"HOME", dir}, {"XDG_DATA_HOME", dir + "/xdg"}, {"DISPLAY", ":65432"}};
    const std::string usage = RunProcess({launcher, "--help"}, options).out;
    ASSERT_EQ(usage.rfind("usage: vornhelm [--record FILE]\n", 0), 0u) << usage;
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
    fs::remove_all(dir);
}

}  // namespace
