// Keyboard and mouse input from the window system to the program's key
// codes and events: the key table, characters from special keys, and the
// events the callbacks dispatch through a real host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/glfw2.h"
#include "host/glfw_game.h"

using namespace glfw2;

namespace {

// A host that records the events its callbacks dispatch.
class RecordingHost : public KrGlfwGame {
public:
    std::vector<std::string> events;
    void KeyEvent(int event, int data) override {
        events.push_back("key " + std::to_string(event) + " " + std::to_string(data));
    }
    void MouseEvent(int event, int data, float x, float y) override {
        events.push_back("mouse " + std::to_string(event) + " " + std::to_string(data) + " " +
                         std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
    }
};

using Events = std::vector<std::string>;

TEST(TransKey, DigitsLettersAndSpacePassThrough) {
    for (int k = '0'; k <= '9'; ++k) EXPECT_EQ(KrGlfwGame::TransKey(k), k);
    for (int k = 'A'; k <= 'Z'; ++k) EXPECT_EQ(KrGlfwGame::TransKey(k), k);
    EXPECT_EQ(KrGlfwGame::TransKey(' '), 32);
}

TEST(TransKey, PunctuationTakesTheVirtualKeyValues) {
    const std::pair<int, int> cases[] = {{'\'', 222}, {'"', 222}, {',', 188}, {'-', 189}, {'.', 190},
                                         {'/', 191},  {';', 186}, {'=', 187}, {'[', 219}, {'\\', 220},
                                         {']', 221},  {'`', 192}, {'~', 192}};
    for (auto [key, code] : cases) EXPECT_EQ(KrGlfwGame::TransKey(key), code) << key;
}

TEST(TransKey, NamedKeys) {
    const std::pair<int, int> cases[] = {
        {GLFW_KEY_ESC, 27},      {GLFW_KEY_UP, 38},        {GLFW_KEY_DOWN, 40},      {GLFW_KEY_LEFT, 37},
        {GLFW_KEY_RIGHT, 39},    {GLFW_KEY_LSHIFT, 16},    {GLFW_KEY_RSHIFT, 16},    {GLFW_KEY_LCTRL, 17},
        {GLFW_KEY_RCTRL, 17},    {GLFW_KEY_TAB, 9},        {GLFW_KEY_ENTER, 13},     {GLFW_KEY_BACKSPACE, 8},
        {GLFW_KEY_INSERT, 45},   {GLFW_KEY_DEL, 46},       {GLFW_KEY_PAGEUP, 33},    {GLFW_KEY_PAGEDOWN, 34},
        {GLFW_KEY_HOME, 36},     {GLFW_KEY_END, 35}};
    for (auto [key, code] : cases) EXPECT_EQ(KrGlfwGame::TransKey(key), code) << key;
    for (int i = 0; i < 12; ++i) EXPECT_EQ(KrGlfwGame::TransKey(GLFW_KEY_F1 + i), 112 + i);
}

TEST(TransKey, EverythingElseIsDropped) {
    for (int key : {-1, 0, 8, 13, 27, 31, 33, 35, 64, 94, 95, 97, 122, 123, 127, 255, 256, 302, 400, 100000})
        EXPECT_EQ(KrGlfwGame::TransKey(key), 0) << key;
    for (int key = GLFW_KEY_F13; key <= GLFW_KEY_F25; ++key) EXPECT_EQ(KrGlfwGame::TransKey(key), 0);
    for (int key = GLFW_KEY_KP_0; key <= GLFW_KEY_LAST; ++key) EXPECT_EQ(KrGlfwGame::TransKey(key), 0);
    EXPECT_EQ(KrGlfwGame::TransKey(GLFW_KEY_LALT), 0);
    EXPECT_EQ(KrGlfwGame::TransKey(GLFW_KEY_RALT), 0);
}

TEST(KeyToChar, SpecialKeysTypeCharacters) {
    for (int key : {8, 9, 13, 27}) EXPECT_EQ(KrGlfwGame::KeyToChar(key), key);
    for (int key : {33, 34, 35, 36, 37, 38, 39, 40, 45}) EXPECT_EQ(KrGlfwGame::KeyToChar(key), 65536 + key);
    EXPECT_EQ(KrGlfwGame::KeyToChar(46), 127);
    for (int key : {0, 16, 17, 32, 41, 44, 47, 65, 112, 222}) EXPECT_EQ(KrGlfwGame::KeyToChar(key), 0) << key;
}

TEST(OnKey, EscapeGivesDownCharacterAndUp) {
    RecordingHost host;
    KrGlfwGame::OnKey(GLFW_KEY_ESC, GLFW_PRESS);
    KrGlfwGame::OnKey(GLFW_KEY_ESC, GLFW_RELEASE);
    EXPECT_EQ(host.events, (Events{"key 1 27", "key 3 27", "key 2 27"}));
}

TEST(OnKey, CursorKeysAndDeleteTypeTheirCharacterOnEveryPress) {
    RecordingHost host;
    KrGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);
    KrGlfwGame::OnKey(GLFW_KEY_LEFT, GLFW_PRESS);  // a repeat
    KrGlfwGame::OnKey(GLFW_KEY_DEL, GLFW_PRESS);
    EXPECT_EQ(host.events, (Events{"key 1 37", "key 3 65573", "key 1 37", "key 3 65573", "key 1 46", "key 3 127"}));
}

TEST(OnKey, LettersGiveNoCharacterFromTheKeyCallback) {
    RecordingHost host;
    KrGlfwGame::OnKey('A', GLFW_PRESS);
    KrGlfwGame::OnKey('A', GLFW_RELEASE);
    EXPECT_EQ(host.events, (Events{"key 1 65", "key 2 65"}));
}

TEST(OnKey, UnknownKeysAndOtherActionsAreDropped) {
    RecordingHost host;
    KrGlfwGame::OnKey(GLFW_KEY_KP_0 + 5, GLFW_PRESS);
    KrGlfwGame::OnKey(GLFW_KEY_LALT, GLFW_PRESS);
    KrGlfwGame::OnKey(GLFW_KEY_F13, GLFW_PRESS);
    KrGlfwGame::OnKey(GLFW_KEY_ESC, 2);
    EXPECT_TRUE(host.events.empty());
}

TEST(OnChar, OnlyPressesAreTyped) {
    RecordingHost host;
    KrGlfwGame::OnChar(0x263A, GLFW_PRESS);
    KrGlfwGame::OnChar('x', GLFW_RELEASE);
    EXPECT_EQ(host.events, (Events{"key 3 9786"}));
}

TEST(OnMouse, ButtonsZeroToTwoAndMovesAreDispatched) {
    RecordingHost host;
    // No window is open, so the pointer reads as the origin.
    KrGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_PRESS);
    KrGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_MIDDLE, GLFW_RELEASE);
    KrGlfwGame::OnMouseButton(3, GLFW_PRESS);
    KrGlfwGame::OnMouseButton(-1, GLFW_PRESS);
    KrGlfwGame::OnMouseButton(GLFW_MOUSE_BUTTON_LEFT, 2);
    KrGlfwGame::OnMousePos(12, 34);
    EXPECT_EQ(host.events, (Events{"mouse 4 2 0 0", "mouse 5 2 0 0", "mouse 6 -1 12 34"}));
}

TEST(OnWindowClose, SendsTheCloseKeyAndKeepsTheWindow) {
    RecordingHost host;
    EXPECT_EQ(KrGlfwGame::OnWindowClose(), 0);
    EXPECT_EQ(host.events, (Events{"key 1 432", "key 2 432"}));
}

TEST(Callbacks, WithoutAHostNothingHappens) {
    // No host object exists here: the callbacks must simply return.
    ASSERT_EQ(KrGlfwGame::_glfwGame, nullptr);
    KrGlfwGame::OnKey(GLFW_KEY_ESC, GLFW_PRESS);
    KrGlfwGame::OnChar('a', GLFW_PRESS);
    KrGlfwGame::OnMouseButton(0, GLFW_PRESS);
    KrGlfwGame::OnMousePos(1, 2);
    EXPECT_EQ(KrGlfwGame::OnWindowClose(), 0);
}

}  // namespace
