// SPDX-License-Identifier: Zlib
// Installing into a temporary prefix: the files land where the desktop looks
// for them, and the installed launcher runs the game on the installed data
// from the folder it was started in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/game_run.h"
#include "tests/support/process.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

TEST(Install, FilesLandWhereTheDesktopLooksAndTheLauncherFindsThem) {
    const std::string dir = ScratchFolder(false), prefix = dir + "/prefix", home = dir + "/home", work = dir + "/work";
    fs::create_directories(home), fs::create_directories(work);
    auto result = RunProcess({"cmake", "--install", VORNHELM_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    // The layout the build was configured with (the default, or Debian's games).
    const std::string launcher = prefix + "/" VORNHELM_INSTALL_BIN_DIR "/vornhelm", data = prefix + "/" VORNHELM_INSTALL_DATA_DIR;
    for (const std::string& program : {launcher, prefix + "/libexec/vornhelm/vornhelm"})
        EXPECT_TRUE((fs::status(program).permissions() & fs::perms::owner_exec) != fs::perms::none) << program;
    EXPECT_TRUE(fs::exists(data + "/gfx.png"));
    EXPECT_FALSE(fs::exists(data + "/preview")) << "contact sheets are no game data";
    EXPECT_FALSE(fs::exists(prefix + "/share/doc")) << "the copyright and changelog go with the package";
    // The entry starts the launcher where this prefix put it (its other
    // fields are the packaging tests' validators').
    EXPECT_NE(ReadFile(prefix + "/share/applications/vornhelm.desktop").find("\nExec=" + launcher + "\n"), std::string::npos);

    // No display needed: a replay file that is not one is refused before the
    // window opens; the game runs in the folder it was started from, so the
    // name means what the player typed; the launcher made no folder.
    std::ofstream(work + "/bad.vhr") << "not a replay";
    const std::string xdg = dir + "/xdg";
    ProcessOptions options;
    options.workDir = work;
    options.env = {{"HOME", home}, {"XDG_DATA_HOME", xdg}, {"DISPLAY", ":65432"}};
    result = RunProcess({launcher, "--fast", "--replay", "bad.vhr"}, options);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vornhelm: cannot replay bad.vhr: it is not a Vornhelm replay\n");
    EXPECT_FALSE(fs::exists(xdg));
    EXPECT_TRUE(fs::is_empty(home));
    fs::remove_all(dir);
}

}  // namespace
