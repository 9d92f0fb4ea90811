// GLFW 3 key numbers through the classic layer's key table and on to the
// program's key codes: what a real key press becomes.
#include <gtest/gtest.h>

#include "host/glfw2_bridge.h"
// After the bridge, never before: see host/glfw2_bridge.h.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"

namespace {

using glfw2::bridge::ClassicKeyFromGlfw3;
using glfw2::bridge::Glfw3KeyFromClassic;

int ProgramCode(int key3) {
    int key2 = ClassicKeyFromGlfw3(key3);
    return key2 < 0 ? 0 : KrGlfwGame::TransKey(key2);
}

TEST(KeyBridge, KeysBecomeTheProgramsCodes) {
    const std::pair<int, int> cases[] = {
        {GLFW_KEY_ESCAPE, 27},    {GLFW_KEY_ENTER, 13},       {GLFW_KEY_TAB, 9},
        {GLFW_KEY_BACKSPACE, 8},  {GLFW_KEY_INSERT, 45},      {GLFW_KEY_DELETE, 46},
        {GLFW_KEY_RIGHT, 39},     {GLFW_KEY_LEFT, 37},        {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_UP, 38},        {GLFW_KEY_PAGE_UP, 33},     {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},      {GLFW_KEY_END, 35},         {GLFW_KEY_F1, 112},
        {GLFW_KEY_F12, 123},      {GLFW_KEY_LEFT_SHIFT, 16},  {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_LEFT_CONTROL, 17}, {GLFW_KEY_RIGHT_CONTROL, 17}, {GLFW_KEY_SPACE, 32},
        {GLFW_KEY_APOSTROPHE, 222}, {GLFW_KEY_COMMA, 188},    {GLFW_KEY_MINUS, 189},
        {GLFW_KEY_PERIOD, 190},   {GLFW_KEY_SLASH, 191},      {GLFW_KEY_SEMICOLON, 186},
        {GLFW_KEY_EQUAL, 187},    {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220},
        {GLFW_KEY_RIGHT_BRACKET, 221}, {GLFW_KEY_GRAVE_ACCENT, 192}, {GLFW_KEY_0, 48},
        {GLFW_KEY_9, 57},         {GLFW_KEY_A, 65},           {GLFW_KEY_Z, 90},
    };
    for (auto [key3, code] : cases) EXPECT_EQ(ProgramCode(key3), code) << key3;
}

TEST(KeyBridge, KeysTheProgramIgnoresStillHaveClassicNumbers) {
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_F13), classic::KeyF1 + 12);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_F25), classic::KeyF1 + 24);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_KP_0), classic::KeyKp0);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_KP_9), classic::KeyKp0 + 9);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_KP_ENTER), classic::KeyKpEnter);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_LEFT_ALT), classic::KeyLAlt);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_RIGHT_SUPER), classic::KeyRSuper);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_MENU), classic::KeyMenu);
    EXPECT_EQ(ClassicKeyFromGlfw3(GLFW_KEY_NUM_LOCK), classic::KeyKpNumLock);
    for (int key3 : {GLFW_KEY_F13, GLFW_KEY_KP_0, GLFW_KEY_KP_ENTER, GLFW_KEY_LEFT_ALT, GLFW_KEY_MENU})
        EXPECT_EQ(ProgramCode(key3), 0) << key3;
}

TEST(KeyBridge, KeysWithoutACounterpartAreNotReported) {
    for (int key3 : {GLFW_KEY_UNKNOWN, GLFW_KEY_WORLD_1, GLFW_KEY_WORLD_2, GLFW_KEY_PRINT_SCREEN, 0, 400})
        EXPECT_EQ(ClassicKeyFromGlfw3(key3), -1) << key3;
}

TEST(KeyBridge, EveryMappedKeyMapsBack) {
    int mapped = 0;
    for (int key3 = 0; key3 <= GLFW_KEY_LAST; ++key3) {
        int key2 = ClassicKeyFromGlfw3(key3);
        if (key2 < 0) continue;
        ++mapped;
        EXPECT_EQ(Glfw3KeyFromClassic(key2), key3) << key3;
    }
    // 12 punctuation keys, 10 digits, 26 letters and 69 named keys.
    EXPECT_EQ(mapped, 117);
    EXPECT_EQ(Glfw3KeyFromClassic(classic::KeyLast + 1), -1);
    EXPECT_EQ(Glfw3KeyFromClassic(-5), -1);
}

}  // namespace
