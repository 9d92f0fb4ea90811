// SPDX-License-Identifier: Zlib
// The menu's score panel: a dark column on the right holding the selected
// mode's top ten and its last ten scores, as many lines as fit.
#include <cmath>

#include "game/game.h"
#include "game/screens/menu_parts.h"

namespace {

struct ScoreList {
    int base;  // first element of mode 1's table in m_Hi
    float r, g, b;
    const char* title;        // followed by the number of lines
    const char* singleTitle;  // when only one line fits
};

constexpr ScoreList kScoreLists[] = {
    {0, 255, 200, 100, "Top ", "Highscore"},
    {30, 200, 255, 100, "Last ", "Last"},
};

constexpr float kPanelWidth = 140;

}  // namespace

int MenuScoreLines(float h, int lineHeight) {
    double step = std::trunc(1.5 * lineHeight);
    double room = std::trunc(static_cast<double>(h) / 2 - 90);
    if (!(room >= step)) return 1;  // also a NaN height
    if (step < 1) return 10;        // no font: nothing limits the lines
    double lines = std::floor(room / step);
    return lines > 10 ? 10 : static_cast<int>(lines);
}

// The current font's line height in design pixels, 0 without a font.
static int FontLineHeight(const c_MyApp& app) {
    if (app.m_Font < 0 || app.m_Font >= app.m_Img.Length()) return 0;
    return app.m_ImgInfo[3 * app.m_Font + 1];
}

static void DrawScoreList(c_MyApp& app, const ScoreList& list, int mode, float x, float y,
                          int lines) {
    float step = std::trunc(1.5f * static_cast<float>(FontLineHeight(app)));
    app.p_SetCol(list.r, list.g, list.b);  // on the panel's alpha
    String title = lines == 1 ? String(list.singleTitle) : String(list.title) + String(lines);
    app.p_Text(x, y, title, 0, 0);
    int first = list.base + 10 * (mode - 1);
    for (int i = 0; i < lines; ++i) {
        String score = app.p_rstr(app.m_Hi[first + i], String(" "));
        app.p_Text(x, y + step * static_cast<float>(i + 1), score, 0, 0);
    }
}

void MenuScorePanel(c_MyApp& app) {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    app.m_ScorePanelW = kPanelWidth;
    float x = w - kPanelWidth - 4 * static_cast<float>(app.m_MenuIntro);
    app.p_SetCol(0, 0, 0, 0.4f);
    app.p_Rect(x, 0, kPanelWidth, h);
    int mode = app.m_MenuSel;
    if (MenuPanelRequested(app) || mode < 1 || mode > 3) return;
    int lines = MenuScoreLines(h, FontLineHeight(app));
    app.p_SetSize(1.5f);
    DrawScoreList(app, kScoreLists[0], mode, x + 20, 60, lines);
    DrawScoreList(app, kScoreLists[1], mode, x + 20, h / 2 + 20, lines);
}
