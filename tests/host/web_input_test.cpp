// The browser host's input helpers, which need no browser: touch
// identifiers numbered as fingers, and a standard-mapping pad in the game's
// layout, checked against the desktop's layout of the same physical controls.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>

#include "host/glfw2/gamepad_layout.h"
#include "host/web/standard_gamepad.h"
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

// One physical control each: its standard button or axis, and the GLFW 3
// gamepad button or axis the desktop reads it from.
TEST(WebGamepad, AStandardPadGivesTheDesktopLayout) {
    struct Control {
        int standardButton, glfwButton;
    };
    const Control buttons[] = {
        {0, GLFW_GAMEPAD_BUTTON_A},           {1, GLFW_GAMEPAD_BUTTON_B},
        {2, GLFW_GAMEPAD_BUTTON_X},           {3, GLFW_GAMEPAD_BUTTON_Y},
        {4, GLFW_GAMEPAD_BUTTON_LEFT_BUMPER}, {5, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER},
        {8, GLFW_GAMEPAD_BUTTON_BACK},        {9, GLFW_GAMEPAD_BUTTON_START},
        {10, GLFW_GAMEPAD_BUTTON_LEFT_THUMB}, {11, GLFW_GAMEPAD_BUTTON_RIGHT_THUMB},
        {12, GLFW_GAMEPAD_BUTTON_DPAD_UP},    {13, GLFW_GAMEPAD_BUTTON_DPAD_DOWN},
        {14, GLFW_GAMEPAD_BUTTON_DPAD_LEFT},  {15, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT},
        {16, GLFW_GAMEPAD_BUTTON_GUIDE},
    };
    for (const Control& c : buttons) {
        double axes[4] = {}, pressure[17] = {};
        bool pressed[17] = {};
        pressed[c.standardButton] = true;
        unsigned char web[glfw2::kPadButtons];
        float webAxes[glfw2::kPadAxes];
        glfw2::StandardPadToClassic(axes, 4, pressure, pressed, 17, web, webAxes);

        unsigned char glfw[glfw2::kPadButtons] = {};
        float glfwAxes[glfw2::kPadAxes] = {0, 0, 0, 0, -1, -1};  // triggers at rest
        glfw[c.glfwButton] = 1;
        unsigned char desktop[glfw2::kPadButtons];
        float desktopAxes[glfw2::kPadAxes];
        glfw2::GamepadToClassic(glfw, glfwAxes, desktop, desktopAxes);
        for (int i = 0; i < glfw2::kPadButtons; ++i) EXPECT_EQ(web[i], desktop[i]) << c.standardButton << " " << i;
        for (int i = 0; i < glfw2::kPadAxes; ++i) EXPECT_FLOAT_EQ(webAxes[i], desktopAxes[i]) << i;
    }
    // Sticks down-right and the left trigger half pressed.
    double axes[4] = {0.5, 0.25, -0.75, 1};
    double pressure[17] = {};
    bool pressed[17] = {};
    pressure[6] = 0.5;
    unsigned char web[glfw2::kPadButtons];
    float webAxes[glfw2::kPadAxes];
    glfw2::StandardPadToClassic(axes, 4, pressure, pressed, 17, web, webAxes);
    float glfwAxes[glfw2::kPadAxes] = {0.5f, 0.25f, -0.75f, 1, 0, -1};  // LX LY RX RY LT RT
    unsigned char glfw[glfw2::kPadButtons] = {}, desktop[glfw2::kPadButtons];
    float desktopAxes[glfw2::kPadAxes];
    glfw2::GamepadToClassic(glfw, glfwAxes, desktop, desktopAxes);
    for (int i = 0; i < glfw2::kPadAxes; ++i) EXPECT_FLOAT_EQ(webAxes[i], desktopAxes[i]) << i;
}
