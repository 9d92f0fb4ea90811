// SPDX-License-Identifier: Zlib
// Key numbers between GLFW 3 and the classic interface. Printable keys carry
// their upper-case ASCII code in both; named keys are mapped by a table of
// ranges. Keys without a counterpart (print screen, the "world" keys) map to
// -1 and are never reported.
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include <array>

namespace {

struct KeyRange {
    int first3;  // first GLFW 3 key
    int first2;  // its classic number
    int count;   // consecutive keys
};

// Named keys; runs of consecutive keys share one entry.
constexpr KeyRange kNamedKeys[] = {
    {GLFW_KEY_ESCAPE, classic::KeyEsc, 1},
    {GLFW_KEY_ENTER, classic::KeyEnter, 1},
    {GLFW_KEY_TAB, classic::KeyTab, 1},
    {GLFW_KEY_BACKSPACE, classic::KeyBackspace, 1},
    {GLFW_KEY_INSERT, classic::KeyInsert, 1},
    {GLFW_KEY_DELETE, classic::KeyDel, 1},
    {GLFW_KEY_RIGHT, classic::KeyRight, 1},
    {GLFW_KEY_LEFT, classic::KeyLeft, 1},
    {GLFW_KEY_DOWN, classic::KeyDown, 1},
    {GLFW_KEY_UP, classic::KeyUp, 1},
    {GLFW_KEY_PAGE_UP, classic::KeyPageUp, 1},
    {GLFW_KEY_PAGE_DOWN, classic::KeyPageDown, 1},
    {GLFW_KEY_HOME, classic::KeyHome, 1},
    {GLFW_KEY_END, classic::KeyEnd, 1},
    {GLFW_KEY_CAPS_LOCK, classic::KeyCapsLock, 1},
    {GLFW_KEY_SCROLL_LOCK, classic::KeyScrollLock, 1},
    {GLFW_KEY_NUM_LOCK, classic::KeyKpNumLock, 1},
    {GLFW_KEY_PAUSE, classic::KeyPause, 1},
    {GLFW_KEY_F1, classic::KeyF1, 25},  // F1 .. F25
    {GLFW_KEY_KP_0, classic::KeyKp0, 10},  // keypad digits
    {GLFW_KEY_KP_DECIMAL, classic::KeyKpDecimal, 1},
    {GLFW_KEY_KP_DIVIDE, classic::KeyKpDivide, 1},
    {GLFW_KEY_KP_MULTIPLY, classic::KeyKpMultiply, 1},
    {GLFW_KEY_KP_SUBTRACT, classic::KeyKpSubtract, 1},
    {GLFW_KEY_KP_ADD, classic::KeyKpAdd, 1},
    {GLFW_KEY_KP_ENTER, classic::KeyKpEnter, 1},
    {GLFW_KEY_KP_EQUAL, classic::KeyKpEqual, 1},
    {GLFW_KEY_LEFT_SHIFT, classic::KeyLShift, 1},
    {GLFW_KEY_LEFT_CONTROL, classic::KeyLCtrl, 1},
    {GLFW_KEY_LEFT_ALT, classic::KeyLAlt, 1},
    {GLFW_KEY_LEFT_SUPER, classic::KeyLSuper, 1},
    {GLFW_KEY_RIGHT_SHIFT, classic::KeyRShift, 1},
    {GLFW_KEY_RIGHT_CONTROL, classic::KeyRCtrl, 1},
    {GLFW_KEY_RIGHT_ALT, classic::KeyRAlt, 1},
    {GLFW_KEY_RIGHT_SUPER, classic::KeyRSuper, 1},
    {GLFW_KEY_MENU, classic::KeyMenu, 1},
};

// Printable keys that GLFW 3 names; both libraries use the ASCII code.
constexpr int kPrintable[] = {
    GLFW_KEY_SPACE, GLFW_KEY_APOSTROPHE,   GLFW_KEY_COMMA,     GLFW_KEY_MINUS,
    GLFW_KEY_PERIOD, GLFW_KEY_SLASH,       GLFW_KEY_SEMICOLON, GLFW_KEY_EQUAL,
    GLFW_KEY_LEFT_BRACKET, GLFW_KEY_BACKSLASH, GLFW_KEY_RIGHT_BRACKET, GLFW_KEY_GRAVE_ACCENT,
};

struct KeyTables {
    std::array<int, GLFW_KEY_LAST + 1> from3;
    std::array<int, classic::KeyLast + 1> to3;

    KeyTables() {
        from3.fill(-1);
        to3.fill(-1);
        for (int k : kPrintable) link(k, k);
        for (int k = GLFW_KEY_0; k <= GLFW_KEY_9; ++k) link(k, k);
        for (int k = GLFW_KEY_A; k <= GLFW_KEY_Z; ++k) link(k, k);
        for (const KeyRange& r : kNamedKeys)
            for (int i = 0; i < r.count; ++i) link(r.first3 + i, r.first2 + i);
    }
    void link(int key3, int key2) {
        from3[key3] = key2;
        to3[key2] = key3;
    }
};

const KeyTables& tables() {
    static const KeyTables t;
    return t;
}

}  // namespace

namespace glfw2::bridge {

int ClassicKeyFromGlfw3(int key3) {
    if (key3 < 0 || key3 > GLFW_KEY_LAST) return -1;
    return tables().from3[key3];
}

int Glfw3KeyFromClassic(int key2) {
    if (key2 < 0 || key2 > classic::KeyLast) return -1;
    return tables().to3[key2];
}

}  // namespace glfw2::bridge
