// SPDX-License-Identifier: Zlib
// The folders the command line names, as the desktop host uses them: data
// paths lead into the data folder, the state file lives in the player's
// folder (made by the first save, read from there), F12's names are in the
// screenshot folder; unnamed, each is the folder the game runs in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/desktop/glfw_game.h"
#include "host/desktop/screenshot.h"
#include "host/folders.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

std::string Utf8(const String& s) { return kr_utf16_to_utf8(s.Data(), s.Length()); }

class Folders : public InScratchFolder {
protected:
    void TearDown() override { KrSetFolders({}), InScratchFolder::TearDown(); }
    KrGlfwGame host;
};

TEST_F(Folders, EachPathLeadsIntoItsFolder) {
    const std::time_t when = 1709190309;
    const std::string name = KrScreenshotName(when);  // "vornhelm-<date>-<time>.png"
    ASSERT_EQ(name.rfind("vornhelm-", 0), 0u);
    struct Case {
        const char* says;
        KrFolders folders;
        std::string data, state, shotFolder;
    } cases[] = {
        {"none named", {}, "./data/gfx.png", "./.tandorstate", ""},
        {"all named", {"/usr/share/games/vornhelm", "/h/.local/share/vornhelm", "/h/Bilder/"},
         "/usr/share/games/vornhelm/gfx.png", "/h/.local/share/vornhelm/.tandorstate", "/h/Bilder/"},
        {"named in UTF-8", {"/d\xc3\xa4ta/", "p", "s"}, "/d\xc3\xa4ta/gfx.png", "p/.tandorstate", "s/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        KrSetFolders(c.folders);
        EXPECT_EQ(Utf8(host.PathToFilePath(String("tandor://data/gfx.png"))), c.data);
        EXPECT_EQ(KrStateFilePath(), c.state);
        EXPECT_EQ(KrScreenshotName(when), c.shotFolder + name);
    }
    EXPECT_EQ(Utf8(host.PathToFilePath(String("tandor://other/x"))), "");
}

TEST_F(Folders, TheFirstSaveMakesThePlayersFolderAndLoadingReadsFromIt) {
    const std::string player = dir + "/home/j\xc3\xb6rg/.local/share/vornhelm";
    KrSetFolders({"", player, ""});
    EXPECT_TRUE(host.LoadState() == String());
    EXPECT_EQ(host.SaveState(String("1|2|")), 0);
    std::ifstream in(player + "/.tandorstate");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1|2|");
    EXPECT_TRUE(host.LoadState() == String("1|2|"));
    EXPECT_FALSE(fs::exists(".tandorstate")) << "saved in the working folder too";
    // A player's folder that cannot be made: the save fails, nothing else.
    std::ofstream(dir + "/file") << "x";
    KrSetFolders({"", dir + "/file/vornhelm", ""});
    EXPECT_EQ(host.SaveState(String("3|")), -1);
}

}  // namespace
