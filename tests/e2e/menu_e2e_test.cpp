// The title menu as a player meets it: the real game from a scratch folder
// holding data/, on a private desktop, driven with xdotool and watched
// through screenshots of its window.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "tests/support/game_run.h"

namespace {

using namespace testsupport;

double Distance(unsigned p, int r, int g, int b) { return std::hypot(R(p) - r, G(p) - g, B(p) - b); }

// Mean colour of a box, as 0xRRGGBB.
unsigned Mean(const Shot& s, int x0, int y0, int x1, int y1) {
    long r = 0, g = 0, b = 0, n = (x1 - x0) * (y1 - y0);
    s.Count(x0, y0, x1, y1, [&](unsigned p) { return r += R(p), g += G(p), b += B(p), false; });
    return s.w ? unsigned(r / n) << 16 | unsigned(g / n) << 8 | unsigned(b / n) : 0;
}
double Distance(unsigned p, unsigned q) { return Distance(p, R(q), G(q), B(q)); }

// The body colour of the selected button, drawn large in the middle of the
// mode strip: green, orange and red for the three modes.
unsigned Middle(const Shot& s) { return Mean(s, 205, 300, 215, 330); }
unsigned Corner(const Shot& s) { return Mean(s, 2, 2, 12, 12); }

// Pixels of a box that differ between two shots by more than a faint shade.
int Changed(const Shot& a, const Shot& b, int x0, int y0, int x1, int y1) {
    if (a.w != b.w || a.h != b.h) return -1;
    int n = 0;
    for (int y = y0; y < std::min(y1, a.h); ++y)
        for (int x = x0; x < std::min(x1, a.w); ++x) n += Distance(a.px[y * a.w + x], b.px[y * a.w + x]) > 24;
    return n;
}

// Held for a few updates, as a person presses.
void Press(const std::string& down, const std::string& key) {
    Tool({"xdotool", down + "down", key}), Pause(0.1), Tool({"xdotool", down + "up", key}), Pause(0.1);
}
void Press(const std::string& key) { Press("key", key); }
void Click(const std::string& window, int x, int y) {
    Tool({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y)});
    Press("mouse", "1");
}

TEST(MenuE2E, KeysMoveTheSelectionTheLogoOpensTheCreditsAndEscapeEnds) {
    int wm = StartDesktop();
    std::string dir = ScratchFolder(true);
    int game = Spawn({std::string(VORNHELM_BUILD_DIR) + "/vornhelm"}, dir, "/dev/null", {{"ALSOFT_DRIVERS", "null"}});
    std::string window = Tool({"xdotool", "search", "--sync", "--name", "^Vornhelm$"});
    ASSERT_FALSE(window.empty());
    Tool({"xdotool", "windowactivate", "--sync", window});

    // The title menu, slid in.
    Shot menu;
    ASSERT_TRUE(WaitUntil([&] { return ShowsMenu(menu = Grab(window)); })) << "no menu";

    // Right to item 2, then on to the options gear: for the gear the panel
    // shows no lists, so their titles "Top 10" and "Last 10" were there. Left
    // brings item 1 back.
    const unsigned first = Middle(menu);
    Press("Right");
    EXPECT_TRUE(WaitUntil([&] { return Distance(Middle(Grab(window)), first) > 30; }, 3)) << "the middle item did not change";
    Press("Right"), Press("Right"), Pause(0.3);
    const Shot gear = Grab(window);
    EXPECT_GT(Changed(menu, gear, 520, 55, 600, 80), 100) << "no \"Top 10\"";
    EXPECT_GT(Changed(menu, gear, 520, 255, 600, 280), 100) << "no \"Last 10\"";
    Press("Left"), Press("Left"), Press("Left");
    EXPECT_TRUE(WaitUntil([&] { return Distance(Middle(Grab(window)), first) < 15; }, 3)) << "item 1 is not back";

    // The studio logo opens the credits: the test card's corner tile is
    // black once the frame has flown in. A click anywhere closes them.
    const unsigned corner = Corner(Grab(window));
    ASSERT_GT(Distance(corner, 0, 0, 0), 10);
    Click(window, 570, 32);
    EXPECT_TRUE(WaitUntil([&] { return Distance(Corner(Grab(window)), 0, 0, 0) < 10; }, 3)) << "no credits";
    Click(window, 320, 240);
    EXPECT_TRUE(WaitUntil([&] { return Distance(Corner(Grab(window)), corner) < 15; }, 3)) << "the credits did not close";

    Press("Escape");
    EXPECT_EQ(WaitExit(game, 5), 0);
    Kill(game), Kill(wm);
    std::filesystem::remove_all(dir);
}

}  // namespace
