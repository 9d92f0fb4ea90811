// SPDX-License-Identifier: Zlib
// The iCade cabinet reports each button as two characters: one when it is
// pressed and another when it is released. Pressed buttons hold their m_Ctl
// element at 2 until the release character arrives.
#include "game/game.h"

namespace {

struct ICadeButton {
    char press;
    char release;
    int element;
};

constexpr ICadeButton kButtons[] = {
    {'W', 'E', kActionUp},      {'X', 'Z', kActionDown},    {'A', 'Q', kActionLeft},
    {'D', 'C', kActionRight},   {'Y', 'T', kActionButton4}, {'U', 'F', kActionButton5},
    {'I', 'M', kActionButton6}, {'O', 'G', kActionButton7}, {'H', 'R', kActionButton1},
    {'J', 'N', kActionButton2}, {'K', 'P', kActionButton3}, {'L', 'V', kActionButton8},
};

constexpr int kHeld = 2;

int Upper(int c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }

}  // namespace

int c_MyApp::p_ReadICade() {
    if (kr_Vex_iCadeControls != 1) return 0;
    while ((m_LastChar = kr_input_GetChar()) != 0) {
        int c = Upper(m_LastChar);
        for (const ICadeButton& b : kButtons) {
            if (c == b.press) m_Ctl[b.element] = kHeld;
            if (c == b.release) m_Ctl[b.element] = 0;
        }
    }
    return 0;
}
