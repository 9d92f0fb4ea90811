// SPDX-License-Identifier: Zlib
// The title menu as a player meets it: the real game from a scratch folder
// holding data/, on a private desktop, clicked with xdotool and watched
// through screenshots of its window. The menu's keys are driven in the play
// test; the menu's rules are the game tests'.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;

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

TEST(MenuE2E, AClickOnTheLogoOpensTheCreditsAnotherClosesThemAndEscapeEnds) {
    int wm = StartDesktop();
    std::string dir = ScratchFolder(true);
    int game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, "/dev/null", {{"ALSOFT_DRIVERS", "null"}});
    std::string window;
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
    Kill(game), Kill(wm);
    std::filesystem::remove_all(dir);
}

}  // namespace
