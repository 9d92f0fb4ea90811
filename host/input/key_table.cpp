// SPDX-License-Identifier: Zlib
// The window system's key numbers (the classic GLFW ones, on the desktop and
// in the browser alike) to the program's key codes and typed characters.
#include "host/input/key_table.h"

#include <array>

#include "host/events.h"
#include "host/glfw2/glfw2.h"

using namespace glfw2;

namespace {

constexpr int kTableFirst = 32;
constexpr int kTableLast = GLFW_KEY_END;  // 301

struct KeyPair {
    int glfwKey;
    int code;
};

// Keys other than digits and letters that the program knows, with the
// program's code of each. F1 .. F12 are added in a run.
constexpr KeyPair kKeys[] = {
    {' ', kr_key::Space},
    {'\'', kr_key::Quote},
    {'"', kr_key::Quote},
    {',', kr_key::Comma},
    {'-', kr_key::Minus},
    {'.', kr_key::Period},
    {'/', kr_key::Slash},
    {';', kr_key::Semicolon},
    {'=', kr_key::Equals},
    {'[', kr_key::LeftBracket},
    {'\\', kr_key::Backslash},
    {']', kr_key::RightBracket},
    {'`', kr_key::Grave},
    {'~', kr_key::Grave},
    {GLFW_KEY_ESC, kr_key::Escape},
    {GLFW_KEY_UP, kr_key::Up},
    {GLFW_KEY_DOWN, kr_key::Down},
    {GLFW_KEY_LEFT, kr_key::Left},
    {GLFW_KEY_RIGHT, kr_key::Right},
    {GLFW_KEY_LSHIFT, kr_key::Shift},
    {GLFW_KEY_RSHIFT, kr_key::Shift},
    {GLFW_KEY_LCTRL, kr_key::Control},
    {GLFW_KEY_RCTRL, kr_key::Control},
    {GLFW_KEY_TAB, kr_key::Tab},
    {GLFW_KEY_ENTER, kr_key::Enter},
    {GLFW_KEY_BACKSPACE, kr_key::Backspace},
    {GLFW_KEY_INSERT, kr_key::Insert},
    {GLFW_KEY_DEL, kr_key::Delete},
    {GLFW_KEY_PAGEUP, kr_key::PageUp},
    {GLFW_KEY_PAGEDOWN, kr_key::PageDown},
    {GLFW_KEY_HOME, kr_key::Home},
    {GLFW_KEY_END, kr_key::End},
};

constexpr int kFunctionKeys = 12;
constexpr int kFirstFunctionCode = kr_key::F1;

// One byte per key number from 32 to 301; 0 drops the key.
constexpr std::array<unsigned char, kTableLast - kTableFirst + 1> buildKeyTable() {
    std::array<unsigned char, kTableLast - kTableFirst + 1> table{};
    for (const KeyPair& k : kKeys) table[k.glfwKey - kTableFirst] = static_cast<unsigned char>(k.code);
    for (int i = 0; i < kFunctionKeys; ++i)
        table[GLFW_KEY_F1 + i - kTableFirst] = static_cast<unsigned char>(kFirstFunctionCode + i);
    return table;
}

constexpr auto kKeyTable = buildKeyTable();

constexpr int kCursorKeyFlag = 0x10000;

}  // namespace

int kr_input::TransKey(int glfwKey) {
    if ((glfwKey >= '0' && glfwKey <= '9') || (glfwKey >= 'A' && glfwKey <= 'Z')) return glfwKey;
    if (glfwKey < kTableFirst || glfwKey > kTableLast) return 0;
    return kKeyTable[glfwKey - kTableFirst];
}

// Special keys also type a character: the control characters themselves,
// 127 for delete, and the cursor keys with bit 16 set.
int kr_input::KeyToChar(int key) {
    switch (key) {
        case kr_key::Backspace:
        case kr_key::Tab:
        case kr_key::Enter:
        case kr_key::Escape:
            return key;
        case kr_key::Delete:
            return 127;
        default:
            break;
    }
    if ((key >= kr_key::PageUp && key <= kr_key::Down) || key == kr_key::Insert) return key | kCursorKeyFlag;
    return 0;
}
