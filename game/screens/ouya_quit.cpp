// SPDX-License-Identifier: Zlib
// The quit screen that OUYA shows instead of leaving at once: the test-card
// circle and a plea to stay. The first face button returns to the menu; the
// second and third or back end the program.
#include "game/game.h"

namespace {

struct QuitLine {
    float gap;   // below the previous line
    float size;
    const char* text;
};

constexpr QuitLine kQuitLines[] = {
    {0, 3, "It looks like you're"},
    {32, 3, "trying to QUIT!"},
    {36, 2, "Are you absolutely sure"},
    {20, 2, "you want to quit the game?"},
    {28, 2, "Isn't this fun?"},
    {38, 2, "It'll be a shame to see you go."},
    {38, 2, "Press (A) to Quit"},
    {20, 2, "or (O) to return to the fun!"},
};

constexpr int kQuitActions[] = {kActionButton2, kActionButton3, kActionBack};

}  // namespace

int c_MyApp::p_OuyaQuit() {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    p_CLS2D(180, 180, 180, -1);
    p_SetSize(3);
    p_DrawImg(kImgTestCard, w / 2, h / 2, 0);
    p_SetCol(255, 255, 255);
    float y = 0.3f * h;
    for (const QuitLine& line : kQuitLines) {
        y += line.gap;
        p_SetSize(line.size);
        p_Text(0.65f * w, y, String(line.text), 1, 1);
    }
    if (m_KeyLock != 0 || m_ClickLock != 0) return 0;
    if (p_PlayKeyAll(kActionButton1, 1) != 0) {
        m_Mode = kModeMenu;
        m_KeyLock = 1;
        m_ClickLock = 1;
        return 0;
    }
    for (int action : kQuitActions) {
        if (p_PlayKeyAll(action, 1) != 0 && p_CanQuit()) krError(String());
    }
    return 0;
}
