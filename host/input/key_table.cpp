// The window system's key numbers (the classic GLFW ones, on the desktop and
// in the browser alike) to the program's key codes and typed characters.
#include "host/input/key_table.h"

#include <array>

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
// Windows virtual-key value each stands for. F1 .. F12 are added in a run.
constexpr KeyPair kKeys[] = {
    {' ', 32},
    {'\'', 222},
    {'"', 222},
    {',', 188},
    {'-', 189},
    {'.', 190},
    {'/', 191},
    {';', 186},
    {'=', 187},
    {'[', 219},
    {'\\', 220},
    {']', 221},
    {'`', 192},
    {'~', 192},
    {GLFW_KEY_ESC, 27},
    {GLFW_KEY_UP, 38},
    {GLFW_KEY_DOWN, 40},
    {GLFW_KEY_LEFT, 37},
    {GLFW_KEY_RIGHT, 39},
    {GLFW_KEY_LSHIFT, 16},
    {GLFW_KEY_RSHIFT, 16},
    {GLFW_KEY_LCTRL, 17},
    {GLFW_KEY_RCTRL, 17},
    {GLFW_KEY_TAB, 9},
    {GLFW_KEY_ENTER, 13},
    {GLFW_KEY_BACKSPACE, 8},
    {GLFW_KEY_INSERT, 45},
    {GLFW_KEY_DEL, 46},
    {GLFW_KEY_PAGEUP, 33},
    {GLFW_KEY_PAGEDOWN, 34},
    {GLFW_KEY_HOME, 36},
    {GLFW_KEY_END, 35},
};

constexpr int kFunctionKeys = 12;
constexpr int kFirstFunctionCode = 112;  // F1

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
        case 8:
        case 9:
        case 13:
        case 27:
            return key;
        case 46:
            return 127;
        default:
            break;
    }
    if ((key >= 33 && key <= 40) || key == 45) return key | kCursorKeyFlag;
    return 0;
}
