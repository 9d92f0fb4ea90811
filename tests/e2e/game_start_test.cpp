// SPDX-License-Identifier: Zlib
// The real game binary started from a scratch folder under a private Xvfb
// with openbox, driven by xdotool, its window read back: the loading screen,
// the menu, the state written on losing focus, F4; and the line a player
// sees when the data folder is missing. (F11 and the window's name are the
// window and packaging tests'; the menu's clicks the game tests'.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// Within 3 of a colour on every channel.
std::function<bool(unsigned)> Near(int r, int g, int b) {
    return [=](unsigned p) { return std::abs(R(p) - r) <= 3 && std::abs(G(p) - g) <= 3 && std::abs(B(p) - b) <= 3; };
}

class GameStart : public ::testing::Test {
protected:
    void SetUp() override { wm = StartDesktop(); }
    void TearDown() override {
        for (int* pid : {&game, &wm, &other}) Kill(*pid);
        fs::remove_all(dir);
    }
    void StartGame(bool withData) {
        dir = ScratchFolder(withData);
        game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, dir + "/out.txt", {{"ALSOFT_DRIVERS", "null"}});
        window = ActivateWindow(game);
        ASSERT_FALSE(window.empty());
    }
    void Key(const std::string& key) {
        Tool({"xdotool", "windowactivate", "--sync", window});
        Tool({"xdotool", "key", key});
    }
    std::string dir, window;
    int wm = 0, game = 0, other = 0;
};

TEST_F(GameStart, LoadingScreenMenuFocusAndExit) {
    StartGame(true);
    // One shot holds the orange band at alpha 0.7 and the yellow disc at 0.8
    // over the clear colour.
    ASSERT_TRUE(WaitUntil([&] {
        Shot s = Grab(window);
        return s.Count(0, 0, 640, 480, Near(187, 124, 66)) > 640 * 30 && s.Count(0, 0, 640, 480, Near(212, 212, 16)) > 1000 &&
               s.Count(0, 0, 640, 480, Near(40, 40, 80)) > 640 * 100;
    })) << "the loading screen";

    ASSERT_TRUE(WaitUntil([&] { return ShowsMenu(Grab(window)); })) << "loaded: the menu";

    // Another window takes the focus: the game suspends and saves.
    other = FocusAnotherWindow();
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(dir + "/.tandorstate"); })) << "no state file";
    EXPECT_EQ(ReadFile(dir + "/.tandorstate"), FirstRunState());

    Key("F4");
    EXPECT_EQ(WaitExit(game), 0);
    EXPECT_EQ(ReadFile(dir + "/out.txt"), "") << "nothing to report";
}

// Started away from its data: one line names the folder it looked in, and
// the game runs on with empty image slots.
TEST_F(GameStart, MissingDataFolderIsNamed) {
    StartGame(false);
    const std::string expected = "Data folder not found: " + fs::canonical(dir).string() +
                                 "/data/ (start the game from the folder that holds data/, or name it with --data-folder)\n";
    EXPECT_TRUE(WaitUntil([&] { return ReadFile(dir + "/out.txt") == expected; })) << ReadFile(dir + "/out.txt");
    EXPECT_TRUE(WaitUntil([&] { return Grab(window).Count(0, 0, 640, 480, [](unsigned p) { return p != 0; }) > 640 * 240; }))
        << "the game goes on drawing";
    Key("F4");
    EXPECT_EQ(WaitExit(game), 0);
    EXPECT_EQ(ReadFile(dir + "/out.txt"), expected);
}

}  // namespace
