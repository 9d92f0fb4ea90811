// Joystick values in the layout the game reads: a recognised gamepad's
// buttons and axes, raw devices, and the per-count axis rearrangement.
#include <gtest/gtest.h>

#include <vector>

#include "host/gamepad_layout.h"
#include "host/glfw2.h"
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

// A host whose one joystick, on port 0, reports what the test sets: its
// axes and buttons as the window system would give them.
class PadHost : public KrGlfwGame {
public:
    std::vector<float> axes;
    std::vector<unsigned char> buttons;

    struct Arrays {
        Array<float> x{2}, y{2}, z{2};
        Array<bool> buttons{32};
    };
    bool Poll(Arrays& a) { return PollJoystick(0, a.x, a.y, a.z, a.buttons); }

protected:
    int JoystickParam(int port, int param) override {
        if (port != 0) return 0;
        if (param == glfw2::GLFW_PRESENT) return 1;
        if (param == glfw2::GLFW_AXES) return static_cast<int>(axes.size());
        if (param == glfw2::GLFW_BUTTONS) return static_cast<int>(buttons.size());
        return 0;
    }
    void JoystickAxes(int, float* out, int count) override {
        for (int i = 0; i < count && i < static_cast<int>(axes.size()); ++i) out[i] = axes[i];
    }
    void JoystickButtons(int, unsigned char* out, int count) override {
        for (int i = 0; i < count && i < static_cast<int>(buttons.size()); ++i) out[i] = buttons[i];
    }
};

void ExpectPair(const Array<float>& pair, float first, float second, const char* name) {
    EXPECT_FLOAT_EQ(pair[0], first) << name;
    EXPECT_FLOAT_EQ(pair[1], second) << name;
}

TEST(PollJoystick, FourAxesGiveTheThirdAsTheSecondYAndNoZ) {
    PadHost host;
    host.axes = {0.1f, 0.2f, 0.3f, 0.4f};
    PadHost::Arrays a;
    a.z[0] = 9;  // overwritten: z is (0, 0)
    ASSERT_TRUE(host.Poll(a));
    ExpectPair(a.x, 0.1f, 0.4f, "x");
    ExpectPair(a.y, 0.2f, 0.3f, "y");
    ExpectPair(a.z, 0, 0, "z");
}

TEST(PollJoystick, FiveAxesSwapTheSecondStick) {
    PadHost host;
    host.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    PadHost::Arrays a;
    ASSERT_TRUE(host.Poll(a));
    ExpectPair(a.x, 0.1f, 0.5f, "x");
    ExpectPair(a.y, 0.2f, 0.4f, "y");
    ExpectPair(a.z, 0.3f, 0, "z");
}

TEST(PollJoystick, SixAxesAndMoreAreReadInOrderUpToTheSixth) {
    for (int count : {6, 8}) {
        PadHost host;
        for (int i = 0; i < count; ++i) host.axes.push_back(0.1f * (i + 1));
        PadHost::Arrays a;
        ASSERT_TRUE(host.Poll(a));
        ExpectPair(a.x, 0.1f, 0.4f, "x");
        ExpectPair(a.y, 0.2f, 0.5f, "y");
        ExpectPair(a.z, 0.3f, 0.6f, "z");
    }
}

TEST(PollJoystick, AxesTheDeviceLacksReadAsZero) {
    PadHost host;
    host.axes = {-1, 1};
    PadHost::Arrays a;
    for (Array<float>* pair : {&a.x, &a.y, &a.z}) (*pair)[0] = (*pair)[1] = 7;
    ASSERT_TRUE(host.Poll(a));
    ExpectPair(a.x, -1, 0, "x");
    ExpectPair(a.y, 1, 0, "y");
    ExpectPair(a.z, 0, 0, "z");
}

TEST(PollJoystick, ButtonsBeyondTheDevicesCountKeepTheirValues) {
    PadHost host;
    host.buttons = {1, 0, 1};
    PadHost::Arrays a;
    a.buttons[1] = true;   // released on the device: cleared
    a.buttons[3] = true;   // beyond the device's three buttons: kept
    a.buttons[31] = true;
    ASSERT_TRUE(host.Poll(a));
    EXPECT_TRUE(a.buttons[0]);
    EXPECT_FALSE(a.buttons[1]);
    EXPECT_TRUE(a.buttons[2]);
    EXPECT_TRUE(a.buttons[3]);
    EXPECT_FALSE(a.buttons[4]);
    EXPECT_TRUE(a.buttons[31]);
}

TEST(PollJoystick, AtMostThirtyTwoButtonsAreRead) {
    PadHost host;
    host.buttons.assign(40, 1);
    PadHost::Arrays a;
    ASSERT_TRUE(host.Poll(a));
    for (int i = 0; i < 32; ++i) EXPECT_TRUE(a.buttons[i]) << i;
}

TEST(PollJoystick, APortWithoutTheJoystickLeavesTheArraysAlone) {
    PadHost host;
    host.axes = {0.5f, 0.5f};
    host.buttons = {1};
    PadHost::Arrays a;
    a.x[0] = 0.25f;
    EXPECT_FALSE(host.PollJoystick(1, a.x, a.y, a.z, a.buttons));
    EXPECT_EQ(a.x[0], 0.25f);
    EXPECT_FALSE(a.buttons[0]);
}

}  // namespace
