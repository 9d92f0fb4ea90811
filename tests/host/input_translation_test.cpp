// Window-system key numbers to the program's key codes, and the characters
// that special keys type.
#include <gtest/gtest.h>

#include "host/glfw2.h"
#include "host/glfw_game.h"

using namespace glfw2;

TEST(InputTranslation, TransKeyTable) {
    struct Case { int key, code; } cases[] = {
        {'0', 48}, {'9', 57}, {'A', 65}, {'Z', 90}, {' ', 32}, {'\'', 222}, {',', 188}, {'-', 189},
        {'.', 190}, {'/', 191}, {';', 186}, {'=', 187}, {'[', 219}, {'\\', 220}, {']', 221}, {'`', 192},
        {GLFW_KEY_ESC, 27}, {GLFW_KEY_UP, 38}, {GLFW_KEY_DOWN, 40}, {GLFW_KEY_LEFT, 37}, {GLFW_KEY_RIGHT, 39},
        {GLFW_KEY_LSHIFT, 16}, {GLFW_KEY_RSHIFT, 16}, {GLFW_KEY_LCTRL, 17}, {GLFW_KEY_RCTRL, 17},
        {GLFW_KEY_TAB, 9}, {GLFW_KEY_ENTER, 13}, {GLFW_KEY_BACKSPACE, 8}, {GLFW_KEY_INSERT, 45},
        {GLFW_KEY_DEL, 46}, {GLFW_KEY_PAGEUP, 33}, {GLFW_KEY_PAGEDOWN, 34}, {GLFW_KEY_HOME, 36},
        {GLFW_KEY_END, 35}, {GLFW_KEY_F1, 112}, {GLFW_KEY_F12, 123},
        // Ignored: lower case, other ASCII, F13 on, keypad, Alt, out of range.
        {'a', 0}, {'z', 0}, {'@', 0}, {'^', 0}, {'_', 0}, {'!', 0}, {0, 0}, {-1, 0}, {256, 0},
        {GLFW_KEY_F13, 0}, {GLFW_KEY_F25, 0}, {GLFW_KEY_KP_0, 0}, {GLFW_KEY_LAST, 0},
        {GLFW_KEY_LALT, 0}, {GLFW_KEY_RALT, 0}, {100000, 0}};
    for (auto c : cases) EXPECT_EQ(KrGlfwGame::TransKey(c.key), c.code) << c.key;
}

TEST(InputTranslation, KeyToCharTable) {
    struct Case { int key, chr; } cases[] = {
        {8, 8}, {9, 9}, {13, 13}, {27, 27}, {33, 65569}, {36, 65572}, {37, 65573}, {40, 65576},
        {45, 65581}, {46, 127}, {0, 0}, {16, 0}, {32, 0}, {41, 0}, {47, 0}, {65, 0}, {112, 0}};
    for (auto c : cases) EXPECT_EQ(KrGlfwGame::KeyToChar(c.key), c.chr) << c.key;
}
