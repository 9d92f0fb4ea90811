// Installing into a temporary prefix: the files land where the desktop
// looks for them, and the installed launcher runs the game from the
// player's own folder (made on the first run, the data folder linked in),
// where the state file appears once the game loses the focus.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/support/display.h"
#include "tests/support/process.h"

namespace {

namespace fs = std::filesystem;

void Pause(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

bool WaitUntil(const std::function<bool()>& done, double timeout = 10) {
    for (double t = 0; t < timeout; t += 0.05, Pause(0.05))
        if (done()) return true;
    return done();
}

std::string Tool(const std::vector<std::string>& argv) {
    std::string out = testsupport::RunProcess(argv).out;
    return out.substr(0, out.find('\n'));
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& path) {
    std::string h = Read(path);
    if (h.size() < 24 || h.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto be32 = [&](int at) {
        return static_cast<unsigned char>(h[at]) << 24 | static_cast<unsigned char>(h[at + 1]) << 16 |
               static_cast<unsigned char>(h[at + 2]) << 8 | static_cast<unsigned char>(h[at + 3]);
    };
    return {be32(16), be32(20)};
}

// Starts argv in dir with the given environment added; it dies with the test.
pid_t Spawn(const std::vector<std::string>& argv, const std::string& dir,
            const std::vector<std::pair<std::string, std::string>>& env) {
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(dir.c_str()) != 0) _exit(126);
        for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1), dup2(devnull, 2);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vornhelm_install_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name, prefix = dir + "/prefix", home = dir + "/home";
        fs::create_directories(home);
        fs::create_directories(dir + "/work");
        auto result = testsupport::RunProcess({"cmake", "--install", VORNHELM_BUILD_DIR, "--prefix", prefix});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    }
    void TearDown() override {
        for (pid_t pid : {game, wm, other})
            if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
        fs::remove_all(dir);
    }
    std::string dir, prefix, home;
    pid_t game = 0, wm = 0, other = 0;
};

TEST_F(Install, FilesLandWhereTheDesktopLooks) {
    struct stat st;
    for (const char* program : {"/bin/vornhelm", "/libexec/vornhelm/vornhelm"}) {
        ASSERT_EQ(stat((prefix + program).c_str(), &st), 0) << program;
        EXPECT_TRUE(st.st_mode & S_IXUSR) << program;
    }
    EXPECT_TRUE(fs::exists(prefix + "/share/vornhelm/data/gfx.png"));
    EXPECT_TRUE(fs::exists(prefix + "/share/vornhelm/data/sfx/choppa.ogg"));
    EXPECT_FALSE(fs::exists(prefix + "/share/vornhelm/data/preview")) << "contact sheets are no game data";
    for (int size : {64, 128, 256}) {
        std::string icon = prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                           "/apps/vornhelm.png";
        EXPECT_EQ(PngSize(icon), std::make_pair(size, size)) << icon;
    }
    std::string entry = Read(prefix + "/share/applications/vornhelm.desktop");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u) << entry;
    for (std::string line : {"Type=Application", "Name=Vornhelm", "Icon=vornhelm", "Terminal=false",
                             "Categories=Game;ArcadeGame;"})
        EXPECT_NE(entry.find("\n" + line + "\n"), std::string::npos) << line;
    EXPECT_NE(entry.find("\nExec=" + prefix + "/bin/vornhelm\n"), std::string::npos) << entry;
}

// No display needed: a replay file that is not one is refused before the
// window opens, and the message shows the launcher made the name absolute.
TEST_F(Install, TheLauncherMakesThePlayersFolderAndPassesArguments) {
    std::ofstream(dir + "/work/bad.vhr") << "not a replay";
    std::string xdg = dir + "/xdg";
    testsupport::ProcessOptions options;
    options.workDir = dir + "/work";
    options.env = {{"HOME", home}, {"XDG_DATA_HOME", xdg}, {"DISPLAY", ":65432"}};
    auto result = testsupport::RunProcess({prefix + "/bin/vornhelm", "--fast", "--replay", "bad.vhr"}, options);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vornhelm: cannot replay " + dir + "/work/bad.vhr: it is not a Vornhelm replay\n");
    EXPECT_EQ(fs::read_symlink(xdg + "/vornhelm/data"), fs::path(prefix + "/share/vornhelm/data"));
    EXPECT_FALSE(fs::exists(home + "/.local")) << "XDG_DATA_HOME is the place when set";

    // A folder the player put in place of the link is left alone.
    fs::remove(xdg + "/vornhelm/data");
    fs::create_directory(xdg + "/vornhelm/data");
    result = testsupport::RunProcess({prefix + "/bin/vornhelm", "--help"}, options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(xdg + "/vornhelm/data")));
    EXPECT_TRUE(fs::is_empty(xdg + "/vornhelm/data"));
}

TEST_F(Install, TheGameKeepsItsStateInThePlayersFolder) {
    unsetenv("DISPLAY");
    std::string display = testsupport::EnsureDisplay();
    wm = Spawn({"openbox", "--sm-disable"}, dir, {});
    ASSERT_TRUE(WaitUntil([] {
        return Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos;
    }));
    game = Spawn({prefix + "/bin/vornhelm"}, dir + "/work", {{"HOME", home}, {"ALSOFT_DRIVERS", "null"}});
    std::string window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    const std::string folder = home + "/.local/share/vornhelm";
    EXPECT_EQ(fs::read_symlink(folder + "/data"), fs::path(prefix + "/share/vornhelm/data"));
    Tool({"xdotool", "windowactivate", "--sync", window});
    Pause(1.0);
    EXPECT_FALSE(fs::exists(folder + "/.tandorstate"));

    // Another window takes the focus: the game suspends and saves.
    other = Spawn({"xmessage", "other"}, dir, {});
    Tool({"xdotool", "windowactivate", "--sync", Tool({"xdotool", "search", "--sync", "--name", "^xmessage$"})});
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder + "/.tandorstate"); })) << "no state file";
    EXPECT_GT(fs::file_size(folder + "/.tandorstate"), 0u);
    EXPECT_FALSE(fs::exists(dir + "/work/.tandorstate"));
    EXPECT_FALSE(fs::exists(prefix + "/share/vornhelm/.tandorstate"));
}

}  // namespace
