// SPDX-License-Identifier: Zlib
// The credits panel, a television test card: a frame of tiles that flies in
// from the edges with colour stripes on its border, the test-card circle
// through which the credit lines scroll, the game logo on a grey band and
// four corner dials with the screen sizes and rates.
#include <cmath>

#include "game/game.h"

namespace {

// The frame of this update: cells, their count and the frame's corner, the
// tile size and how far the tiles still have to fly (k, 30 at the start).
struct CreditFrame {
    float cell;
    int nx, ny;
    float x0, y0;
    float tile;
    float k;
};

int Clamp255(double v) {
    if (!(v > 0)) return 0;
    return v > 255 ? 255 : static_cast<int>(v);
}

// trunc(512 * (n - 1) / span) as the border gradients use it; 0 when the
// frame is too small to have a span.
double GradientStep(double scale, int n, int span) {
    if (span <= 0) return 0;
    return std::trunc(scale * (n - 1) / span);
}

// Distance of a tile from the frame's middle, never 0, so that every tile
// flies in from outside.
int FlyOffset(int index, int count) {
    int c = index - count / 2;
    return c > 0 ? c : c - 1;
}

// A float turned into the integer below it for display, or 0 when it has
// none.
int WholePart(float v) {
    if (!(std::fabs(v) < 2147483520.0f)) return 0;
    return static_cast<int>(v);
}

}  // namespace

// --- The frame of tiles ---

static bool MakeCreditFrame(c_MyApp& app, CreditFrame& f) {
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0 || h < 0) return false;
    float longest = std::fmax(w, h);
    if (!(longest > 0)) return false;
    f.cell = longest / 12;
    // w / cell computed as 12 w / longest keeps 640 / (640 / 12) exactly 12.
    f.nx = static_cast<int>(12.0 * w / longest);
    f.ny = static_cast<int>(12.0 * h / longest);
    app.m_CreditA = f.nx;
    app.m_CreditB = f.ny;
    f.x0 = w / 2 - f.cell * static_cast<float>(f.nx) / 2;
    f.y0 = h / 2 - f.cell * static_cast<float>(f.ny) / 2;
    int slide = app.m_CreditsSlide;
    f.tile = slide < 20 ? f.cell * static_cast<float>(slide) / 20 : f.cell;
    f.k = static_cast<float>(30 - slide);
    return true;
}

// The coloured stripe of a border tile that is not a corner.
static void BorderStripe(c_MyApp& app, const CreditFrame& f, int i, int j, float x, float y) {
    float s = f.tile;
    if (j == 0 || j == f.ny) {
        if (j == 0) {
            double u = GradientStep(512, i, f.nx - 2);
            app.p_SetCol(Clamp255(u), Clamp255(512 - u), 0);
        } else {
            int g = Clamp255(GradientStep(255, i, f.nx - 2));
            app.p_SetCol(g, g, g);
        }
        app.p_Rect(x + 8, y, s - 16, s);
        return;
    }
    double v = GradientStep(512, j, f.ny - 2);
    if (i == 0) {
        app.p_SetCol(0, Clamp255(512 - v), Clamp255(v));
    } else {
        app.p_SetCol(Clamp255(512 - v), 0, Clamp255(v));
    }
    app.p_Rect(x, y + 8, s, s - 16);
}

static void CreditTile(c_MyApp& app, const CreditFrame& f, int i, int j) {
    float s = f.tile;
    int dx = FlyOffset(i, f.nx);
    int dy = FlyOffset(j, f.ny);
    float x = f.x0 + static_cast<float>(i) * f.cell + f.k * static_cast<float>(dx * std::abs(dx)) - s / 2;
    float y = f.y0 + static_cast<float>(j) * f.cell + f.k * static_cast<float>(dy * std::abs(dy)) - s / 2;
    bool border = i == 0 || i == f.nx || j == 0 || j == f.ny;
    float shade = border ? 0 : 255;
    app.p_SetCol(shade, shade, shade);
    app.p_Rect(x, y, s + 1, s + 1);
    if (!border) {
        // The second row from the bottom joins into one grey band.
        float left = x + 2, width = s - 4;
        if (j == f.ny - 1 && i >= 4 && i < f.nx - 2) {
            left = x - 6;
            width = i == f.nx - 3 ? s + 4 : s + 24;
        }
        app.p_SetCol(128, 128, 128);
        app.p_Rect(left, y + 2, width, s - 4);
        return;
    }
    bool corner = (i == 0 || i == f.nx) && (j == 0 || j == f.ny);
    if (!corner) BorderStripe(app, f, i, j, x, y);
}

// --- Credit lines and dials ---

// Eight lines 16 pixels apart rise through the circle, brightest in the
// middle; the 48 lines repeat without end.
static void CreditLines(c_MyApp& app, const CreditFrame& f) {
    bool hurry = app.p_PlayKeyAll(kActionUp, 1) != 0;
    for (int device = 0; device <= 3 && !hurry; ++device) hurry = app.p_PlayKey(kActionDown, 1, device) != 0;
    app.m_CreditD -= 0.3f;
    if (hurry) app.m_CreditD -= 1.5f;
    if (app.m_CreditD < -16) {
        app.m_CreditD += 16;
        if (app.m_CreditE < 2147483647) ++app.m_CreditE;
    }
    int n = kr_Vex_CreditText.Length() - 1;
    if (n <= 0) return;
    float w = kr_Vex_jscrw;
    float h = kr_Vex_jscrh;
    int origin = app.m_CreditE % n;
    app.p_SetCol(255, 255, 255);
    for (int r = -3; r <= 4; ++r) {
        int line = ((origin + r) % n + n) % n;
        float offset = app.m_CreditD + 16 * static_cast<float>(r);
        float q = std::fabs(offset / 40) - 0.3f;
        app.p_Alpha(q < 0 ? 1 : q <= 1 ? 1 - q : 0);
        app.p_Text(w / 2 + 24, h / 2 - 24 * f.k + offset, kr_Vex_CreditText[line], 0.8f, 0.8f);
    }
}

static void DialRing(c_MyApp& app, float x, float y, float s) {
    app.p_SetCol(255, 255, 255);
    app.p_Oval(x, y, s, s);
    app.p_SetCol(128, 128, 128);
    app.p_Oval(x, y, s - 3, s - 3);
    app.p_SetCol(255, 255, 255);
}

static void DialNumbers(c_MyApp& app, float x, float y, const int (&values)[3]) {
    for (int i = 0; i < 3; ++i) {
        app.p_Text(x, y + 16 * static_cast<float>(i - 1), String(values[i]), 0.8f, 0.8f);
    }
}

static void CreditDials(c_MyApp& app, const CreditFrame& f) {
    float left = f.x0 + 1.5f * f.cell - 6 * f.k;
    float right = f.x0 + (static_cast<float>(f.nx) - 1.5f) * f.cell + 6 * f.k;
    float top = f.y0 + 1.5f * f.cell - 3 * f.k;
    float bottom = f.y0 + (static_cast<float>(f.ny) - 1.5f) * f.cell + 3 * f.k;
    DialRing(app, left, top, f.tile);
    DialNumbers(app, left, top,
                {kr_graphics_DeviceWidth(), kr_graphics_DeviceHeight(), app.m_UpdateFpsAvg});
    DialRing(app, right, top, f.tile);
    DialNumbers(app, right, top,
                {WholePart(kr_Vex_jscrw), WholePart(kr_Vex_jscrh), app.m_RenderFpsAvg});
    DialRing(app, left, bottom, f.tile);
    app.p_SetSize(1);
    app.p_DrawImg(kImgButtons, left, bottom, 12);
    DialRing(app, right, bottom, f.tile);
    app.p_SetSize(0.3f);
    app.p_DrawImg(kImgStudioLogo, right, bottom, 0);
    app.p_SetSize(1);
}

// --- The panel ---

// A click anywhere closes the panel, even while it slides in; so do buttons
// 6, 1 and 2.
static void CreditClose(c_MyApp& app) {
    if (app.m_MouseDown > 0 && app.m_ClickLock == 0) {
        app.m_ClickLock = 1;
        app.m_ShowCredits = 0;
        app.p_PlaySFX(kSfxSelect, 1);
    }
    if (app.m_KeyLock != 0) return;
    if (app.p_PlayKeyAll(kActionButton6, 1) != 0 || app.p_PlayKeyAll(kActionButton1, 1) != 0 ||
        app.p_PlayKeyAll(kActionButton2, 1) != 0) {
        app.m_KeyLock = 1;
        app.m_ShowCredits = 0;
        app.p_PlaySFX(kSfxSelect);
    }
}

int c_MyApp::p_CreditBox() {
    CreditFrame f;
    if (MakeCreditFrame(*this, f)) {
        float alpha = static_cast<float>(m_CreditsSlide) / 30;
        p_ResetDraw();
        p_Alpha(alpha);
        for (int i = 0; i <= f.nx; ++i) {
            for (int j = 0; j <= f.ny; ++j) CreditTile(*this, f, i, j);
        }
        p_SetCol(255, 255, 255);
        p_SetSize(1);
        p_DrawImg(kImgTestCard, kr_Vex_jscrw / 2, kr_Vex_jscrh / 2 - 24 * f.k, 0);
        CreditLines(*this, f);
        p_Alpha(alpha);
        p_SetCol(255, 255, 255);
        p_SetSize(0.4f);
        p_DrawImg(kImgLogo, kr_Vex_jscrw / 2, f.y0 + static_cast<float>(f.ny - 1) * f.cell + 4 * f.k, 0);
        p_SetSize(1);
        CreditDials(*this, f);
    }
    CreditClose(*this);
    return 0;
}
