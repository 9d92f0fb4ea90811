// Installing into a temporary prefix: the files land where the desktop looks
// for them, and the installed launcher runs the game from the player's own
// folder (made on the first run, the data folder linked in), where the state
// file appears once the game loses the focus.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

TEST(Install, FilesLandWhereTheDesktopLooksAndTheLauncherKeepsThePlayersFolder) {
    const std::string dir = ScratchFolder(false), prefix = dir + "/prefix", home = dir + "/home", work = dir + "/work";
    fs::create_directories(home), fs::create_directories(work);
    auto result = RunProcess({"cmake", "--install", VORNHELM_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    struct stat st;
    for (const char* program : {"/bin/vornhelm", "/libexec/vornhelm/vornhelm"})
        EXPECT_TRUE(stat((prefix + program).c_str(), &st) == 0 && (st.st_mode & S_IXUSR)) << program;
    EXPECT_TRUE(fs::exists(prefix + "/share/vornhelm/data/gfx.png"));
    EXPECT_FALSE(fs::exists(prefix + "/share/vornhelm/data/preview")) << "contact sheets are no game data";
    EXPECT_TRUE(fs::exists(prefix + "/share/man/man6/vornhelm.6.gz"));
    int metainfo = 0;
    for (const auto& f : fs::directory_iterator(prefix + "/share/metainfo")) metainfo += f.path().string().ends_with(".metainfo.xml");
    EXPECT_EQ(metainfo, 1);
    EXPECT_FALSE(fs::exists(prefix + "/share/doc")) << "the copyright and changelog go with the package";
    for (int size : {64, 128, 256})
        EXPECT_TRUE(fs::exists(prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/vornhelm.png"));
    const std::string entry = ReadFile(prefix + "/share/applications/vornhelm.desktop");
    for (const std::string& line : std::vector<std::string>{"Type=Application", "Name=Vornhelm", "Icon=vornhelm", "Exec=" + prefix + "/bin/vornhelm"})
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;

    // No display needed: a replay file that is not one is refused before the
    // window opens, and the message shows the launcher made the name absolute.
    std::ofstream(work + "/bad.vhr") << "not a replay";
    const std::string xdg = dir + "/xdg";
    ProcessOptions options;
    options.workDir = work;
    options.env = {{"HOME", home}, {"XDG_DATA_HOME", xdg}, {"DISPLAY", ":65432"}};
    result = RunProcess({prefix + "/bin/vornhelm", "--fast", "--replay", "bad.vhr"}, options);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vornhelm: cannot replay " + work + "/bad.vhr: it is not a Vornhelm replay\n");
    EXPECT_EQ(fs::read_symlink(xdg + "/vornhelm/data"), fs::path(prefix + "/share/vornhelm/data"));
    EXPECT_FALSE(fs::exists(home + "/.local")) << "XDG_DATA_HOME is the place when set";
    // A folder the player put in place of the link is left alone.
    fs::remove(xdg + "/vornhelm/data");
    fs::create_directory(xdg + "/vornhelm/data");
    EXPECT_EQ(RunProcess({prefix + "/bin/vornhelm", "--help"}, options).exitCode, 0);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(xdg + "/vornhelm/data")));

    // Without XDG_DATA_HOME the folder is under HOME; the state goes there
    // when another window takes the focus.
    int wm = StartDesktop();
    int game = Spawn({prefix + "/bin/vornhelm"}, work, "/dev/null", {{"HOME", home}, {"ALSOFT_DRIVERS", "null"}});
    const std::string window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    const std::string folder = home + "/.local/share/vornhelm";
    EXPECT_EQ(fs::read_symlink(folder + "/data"), fs::path(prefix + "/share/vornhelm/data"));
    Tool({"xdotool", "windowactivate", "--sync", window});
    Pause(1.0);
    EXPECT_FALSE(fs::exists(folder + "/.tandorstate"));
    int other = Spawn({"xmessage", "other"}, "", "/dev/null");
    Tool({"xdotool", "windowactivate", "--sync", Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder + "/.tandorstate"); })) << "no state file";
    EXPECT_GT(fs::file_size(folder + "/.tandorstate"), 0u);
    EXPECT_FALSE(fs::exists(work + "/.tandorstate"));
    for (int* pid : {&game, &other, &wm}) Kill(*pid);
    fs::remove_all(dir);
}

}  // namespace
