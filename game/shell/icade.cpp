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
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
    {'Y', 'T', 13}, {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16},
    {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
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
