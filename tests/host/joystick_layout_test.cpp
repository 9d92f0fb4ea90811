// Joystick values in the layout the game reads: a recognised gamepad's
// buttons and axes, raw devices, and the per-count axis rearrangement.
#include <gtest/gtest.h>

#include "host/gamepad_layout.h"
#include "host/glfw_game.h"

namespace {

using glfw2::kPadAxes;
using glfw2::kPadButtons;

// GLFW 3's gamepad order: A B X Y, bumpers, back, start, guide, thumbs,
// d-pad up right down left.
enum { A, B, X, Y, LB, RB, Back, Start, Guide, LThumb, RThumb, Up, Right, Down, Left };

TEST(GamepadLayout, EachButtonLandsInItsPlace) {
    // For each button of the game's layout, the gamepad button that drives it.
    const int expectedSource[kPadButtons] = {A, B, X, Y, LB, RB, Back, Start, Left, Up, Right, Down,
                                             LThumb, RThumb, Guide};
    for (int out = 0; out < kPadButtons; ++out) {
        unsigned char in[kPadButtons] = {}, buttons[kPadButtons];
        float axesIn[kPadAxes] = {}, axes[kPadAxes];
        in[expectedSource[out]] = 1;
        glfw2::GamepadToClassic(in, axesIn, buttons, axes);
        for (int i = 0; i < kPadButtons; ++i) EXPECT_EQ(buttons[i], i == out ? 1 : 0) << out << " " << i;
    }
}

TEST(GamepadLayout, SticksAndTriggersWithYUpward) {
    // GLFW 3: left x, left y, right x, right y, left trigger, right trigger.
    const unsigned char none[kPadButtons] = {};
    const float in[kPadAxes] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    unsigned char buttons[kPadButtons];
    float axes[kPadAxes];
    glfw2::GamepadToClassic(none, in, buttons, axes);
    const float expected[kPadAxes] = {0.1f, -0.2f, 0.5f, 0.3f, -0.4f, 0.6f};
    for (int i = 0; i < kPadAxes; ++i) EXPECT_FLOAT_EQ(axes[i], expected[i]) << i;

    // Six axes are not rearranged: left stick first, right stick second,
    // triggers in z.
    KrGlfwGame::ArrangeAxes(6, axes);
    EXPECT_FLOAT_EQ(axes[0], 0.1f);   // x pair (0.1, 0.3)
    EXPECT_FLOAT_EQ(axes[3], 0.3f);
    EXPECT_FLOAT_EQ(axes[1], -0.2f);  // y pair (-0.2, -0.4)
    EXPECT_FLOAT_EQ(axes[4], -0.4f);
    EXPECT_FLOAT_EQ(axes[2], 0.5f);   // z pair (0.5, 0.6)
    EXPECT_FLOAT_EQ(axes[5], 0.6f);
}

TEST(RawJoystick, OddAxesAreTurnedUpward) {
    const float in[5] = {0.5f, 0.25f, -1, 1, 0.75f};
    float out[5];
    glfw2::RawAxesToClassic(in, 5, out);
    const float expected[5] = {0.5f, -0.25f, -1, -1, 0.75f};
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(out[i], expected[i]) << i;
}

TEST(ArrangeAxes, FourAxesMoveTheThirdIntoTheSecondY) {
    float a[6] = {1, 2, 3, 4, 0, 0};
    KrGlfwGame::ArrangeAxes(4, a);
    const float expected[6] = {1, 2, 0, 4, 3, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a[i], expected[i]) << i;
}

TEST(ArrangeAxes, FiveAxesSwapTheFourthAndFifth) {
    float a[6] = {1, 2, 3, 4, 5, 0};
    KrGlfwGame::ArrangeAxes(5, a);
    const float expected[6] = {1, 2, 3, 5, 4, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a[i], expected[i]) << i;
}

TEST(ArrangeAxes, OtherCountsLeaveTheOrder) {
    for (int count : {0, 2, 3, 6, 8}) {
        float a[6] = {1, 2, 3, 4, 5, 6};
        KrGlfwGame::ArrangeAxes(count, a);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(a[i], i + 1) << count;
    }
}

TEST(PollJoystick, AnAbsentPortLeavesTheArraysAlone) {
    KrGlfwGame host;
    Array<float> x(2), y(2), z(2);
    Array<bool> buttons(32);
    x[0] = 0.5f;
    buttons[3] = true;
    // No joystick is connected in the test environment.
    EXPECT_FALSE(host.PollJoystick(0, x, y, z, buttons));
    EXPECT_FALSE(host.PollJoystick(15, x, y, z, buttons));
    EXPECT_FALSE(host.PollJoystick(-1, x, y, z, buttons));
    EXPECT_FALSE(host.PollJoystick(99, x, y, z, buttons));
    EXPECT_EQ(x[0], 0.5f);
    EXPECT_TRUE(buttons[3]);
}

}  // namespace
