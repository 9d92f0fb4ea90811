// SPDX-License-Identifier: Zlib
// The real game binary started from a scratch folder under a private Xvfb
// with openbox, driven by xdotool, its window read back: the loading screen,
// F11, the state written on losing focus, F4; the title menu as a player
// meets it, clicked (the menu's keys are driven in the play test, its rules
// are the game tests'); and the line a player sees when the data folder is
// missing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;
namespace fs = std::filesystem;

// Within 3 of a colour on every channel.
std::function<bool(unsigned)> Near(int r, int g, int b) {
    return [=](unsigned p) { return std::abs(R(p) - r) <= 3 && std::abs(G(p) - g) <= 3 && std::abs(B(p) - b) <= 3; };
}

using Colour = std::array<double, 3>;

// Mean colour of the top-left corner tile: the credits' test card makes it
// black once the frame has flown in.
Colour Corner(const Shot& s) {
    Colour m{};
    s.Count(2, 2, 12, 12, [&](unsigned p) { return m[0] += R(p) / 100.0, m[1] += G(p) / 100.0, m[2] += B(p) / 100.0, false; });
    return s.w ? m : Colour{-999, -999, -999};
}
double Distance(const Colour& a, const Colour& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

void Click(const std::string& window, int x, int y) {
    Tool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y)});
    Tool({"xdotool", "mousedown", "1"}), Pause(0.1), Tool({"xdotool", "mouseup", "1"}), Pause(0.1);
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
    // F11 opens a new window, which takes the focus.
    bool WaitForSize(int w, int h) {
        return WaitUntil([&] {
            window = Tool({"xdotool", "getwindowfocus"});
            Shot s = Grab(window);
            return s.w == w && s.h == h;
        });
    }
    std::string dir, window;
    int wm = 0, game = 0, other = 0;
};

TEST_F(GameStart, LoadingScreenFullScreenFocusAndExit) {
    StartGame(true);
    // One shot holds the orange band at alpha 0.7 and the yellow disc at 0.8
    // over the clear colour.
    ASSERT_TRUE(WaitUntil([&] {
        Shot s = Grab(window);
        return s.Count(0, 0, 640, 480, Near(187, 124, 66)) > 640 * 30 && s.Count(0, 0, 640, 480, Near(212, 212, 16)) > 1000 &&
               s.Count(0, 0, 640, 480, Near(40, 40, 80)) > 640 * 100;
    })) << "the loading screen";

    ASSERT_TRUE(WaitUntil([&] { return ShowsMenu(Grab(window)); })) << "loaded: the menu";
    Key("F11");
    EXPECT_TRUE(WaitForSize(1024, 768)) << "full screen at the desktop's size";
    Key("F11");
    EXPECT_TRUE(WaitForSize(640, 480));
    EXPECT_EQ(Tool({"xdotool", "getwindowname", window}), "Vornhelm");

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

TEST_F(GameStart, AClickOnTheLogoOpensTheCreditsAnotherClosesThemAndEscapeEnds) {
    StartGame(true);
    ASSERT_TRUE(AtTheMenu(game, &window));
    // The frame has flown in once its corner stays as it is.
    Colour corner = Corner(Grab(window)), before;
    ASSERT_TRUE(WaitUntil([&] { return before = corner, corner = Corner(Grab(window)), Distance(before, corner) < 1; }));
    const Colour black{};
    ASSERT_GT(Distance(corner, black), 10);

    Click(window, 570, 32);
    EXPECT_TRUE(WaitUntil([&] { return Distance(Corner(Grab(window)), black) < 10; })) << "no credits";
    Click(window, 320, 240);
    EXPECT_TRUE(WaitUntil([&] { return Distance(Corner(Grab(window)), corner) < 15; })) << "the credits did not close";

    Hold({"Escape"});
    EXPECT_EQ(WaitExit(game), 0);
}

}  // namespace
