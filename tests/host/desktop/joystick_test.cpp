// SPDX-License-Identifier: Zlib
// Joystick polling on a pad the test describes: the stick axes as the game
// reads them for each axis count, the buttons up to the pad's count, and an
// absent pad that leaves the arrays alone.
#include <gtest/gtest.h>

#include <vector>

#include "host/desktop/glfw_game.h"
#include "host/glfw2/glfw2.h"

namespace {

// A pad whose axis i reads 0.1 × (i + 1); buttons 0 and 2 are down.
struct Pad : KrGlfwGame {
    int axes = 0, buttons = 0;
    bool present = true;
    int JoystickParam(int, int param) override {
        return param == glfw2::GLFW_PRESENT ? present : param == glfw2::GLFW_AXES ? axes : buttons;
    }
    void JoystickAxes(int, float* out, int count) override {
        for (int i = 0; i < count; ++i) out[i] = 0.1f * (i + 1);
    }
    void JoystickButtons(int, unsigned char* out, int count) override {
        for (int i = 0; i < count; ++i) out[i] = i < buttons && i % 2 == 0 ? glfw2::GLFW_PRESS : glfw2::GLFW_RELEASE;
    }
};

TEST(Joystick, AxesAndButtonsAsTheGameReadsThem) {
    // x pair, y pair, z pair, in tenths.
    const struct { int axes; std::vector<int> x, y, z; } cases[] = {
        {2, {1, 0}, {2, 0}, {0, 0}},
        {4, {1, 4}, {2, 3}, {0, 0}},  // the third axis moves to the second of y
        {5, {1, 5}, {2, 4}, {3, 0}},  // the fourth and fifth swap
        {6, {1, 4}, {2, 5}, {3, 6}},
        {8, {1, 4}, {2, 5}, {3, 6}},  // at most six are read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.axes);
        Pad pad;
        pad.axes = c.axes, pad.buttons = 3;
        Array<float> x(2), y(2), z(2);
        Array<bool> buttons(32);
        buttons[3] = true;  // beyond the pad's buttons: left as it was
        ASSERT_TRUE(pad.PollJoystick(0, x, y, z, buttons));
        auto tenths = [](const Array<float>& a) { return std::vector<int>{int(a[0] * 10 + 0.5f), int(a[1] * 10 + 0.5f)}; };
        EXPECT_EQ(tenths(x), c.x);
        EXPECT_EQ(tenths(y), c.y);
        EXPECT_EQ(tenths(z), c.z);
        EXPECT_EQ(std::vector<bool>(buttons.Data(), buttons.Data() + 4), (std::vector<bool>{true, false, true, true}));
    }
    Pad absent;
    absent.present = false, absent.axes = 6;
    Array<float> x(2);
    x[0] = 0.5f;
    EXPECT_FALSE(absent.PollJoystick(1, x, Array<float>(2), Array<float>(2), Array<bool>(32)));
    EXPECT_EQ(x[0], 0.5f);
}

}  // namespace
