// SPDX-License-Identifier: Zlib
// The browser host's input helpers, which need no browser: touch
// identifiers numbered as fingers, and a standard-mapping pad in the game's
// layout, checked against the desktop's layout of the same physical controls.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>

#include "host/input/pad_layout.h"
#include "host/web/touch_fingers.h"

TEST(WebTouchFingers, NewTouchesTakeTheLowestFreeFingerAndGiveItBack) {
    KrTouchFingers fingers;
    EXPECT_EQ(fingers.Press(1000), 0);
    EXPECT_EQ(fingers.Press(7), 1);
    EXPECT_EQ(fingers.Press(1000), 0);  // the same touch keeps its finger
    EXPECT_EQ(fingers.Release(1000), 0);
    EXPECT_EQ(fingers.Find(1000), -1);
    EXPECT_EQ(fingers.Press(42), 0);  // finger 0 is free again
    EXPECT_EQ(fingers.Find(7), 1);
    EXPECT_EQ(fingers.Release(99), -1);  // never pressed
    for (long id = 100; id < 130; ++id) EXPECT_GE(fingers.Press(id), 2);
    EXPECT_EQ(fingers.Press(500), -1);  // all 32 fingers are held
}

// One pad state as the browser reports it (standard mapping: 4 axes, 17
// buttons) and as GLFW 3 reports it must reach the game alike.
static void ExpectSameLayout(const double* axes, const double* pressure, const bool* pressed, const unsigned char* glfw,
                             const float* glfwAxes) {
    unsigned char web[kr_pad::kPadButtons], desktop[kr_pad::kPadButtons];
    float webAxes[kr_pad::kPadAxes], desktopAxes[kr_pad::kPadAxes];
    kr_pad::StandardPadToClassic(axes, 4, pressure, pressed, 17, web, webAxes);
    kr_pad::GamepadToClassic(glfw, glfwAxes, desktop, desktopAxes);
    for (int i = 0; i < kr_pad::kPadButtons; ++i) EXPECT_EQ(web[i], desktop[i]) << "button " << i;
    for (int i = 0; i < kr_pad::kPadAxes; ++i) EXPECT_FLOAT_EQ(webAxes[i], desktopAxes[i]) << "axis " << i;
}

// One physical control each: its standard button, and the GLFW 3 gamepad
// button the desktop reads it from.
TEST(WebGamepad, AStandardPadGivesTheDesktopLayout) {
    const int buttons[][2] = {
        {0, GLFW_GAMEPAD_BUTTON_A},           {1, GLFW_GAMEPAD_BUTTON_B},
        {2, GLFW_GAMEPAD_BUTTON_X},           {3, GLFW_GAMEPAD_BUTTON_Y},
        {4, GLFW_GAMEPAD_BUTTON_LEFT_BUMPER}, {5, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER},
        {8, GLFW_GAMEPAD_BUTTON_BACK},        {9, GLFW_GAMEPAD_BUTTON_START},
        {10, GLFW_GAMEPAD_BUTTON_LEFT_THUMB}, {11, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB},
        {12, GLFW_GAMEPAD_BUTTON_DPAD_UP},    {13, GLFW_GAMEPAD_BUTTON_DPAD_DOWN},
        {14, GLFW_GAMEPAD_BUTTON_DPAD_LEFT},  {15, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT},
        {16, GLFW_GAMEPAD_BUTTON_GUIDE},
    };
    const double rest[4] = {}, noPressure[17] = {};
    const float triggersAtRest[kr_pad::kPadAxes] = {0, 0, 0, 0, -1, -1};
    for (auto [standard, glfw] : buttons) {
        SCOPED_TRACE(standard);
        bool pressed[17] = {};
        unsigned char glfwButtons[kr_pad::kPadButtons] = {};
        pressed[standard] = true, glfwButtons[glfw] = 1;
        ExpectSameLayout(rest, noPressure, pressed, glfwButtons, triggersAtRest);
    }
    // Sticks down-right and the left trigger half pressed.
    const double axes[4] = {0.5, 0.25, -0.75, 1};
    double pressure[17] = {};
    pressure[6] = 0.5;
    const bool none[17] = {};
    const unsigned char noButtons[kr_pad::kPadButtons] = {};
    const float glfwAxes[kr_pad::kPadAxes] = {0.5f, 0.25f, -0.75f, 1, 0, -1};  // LX LY RX RY LT RT
    ExpectSameLayout(axes, pressure, none, noButtons, glfwAxes);
}
