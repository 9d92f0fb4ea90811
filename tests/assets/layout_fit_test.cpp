// SPDX-License-Identifier: Zlib
// The generated font and studio logo against the game's own layout, rendered
// on a real window (Mesa under Xvfb) and read back, at 640 x 480, 800 x 450
// and 480 x 640: every digit of the menu's 7-digit scores is whole with 2
// pixels to spare at the screen's right edge, the studio logo leaves the list
// titles clear, the titles stand out from the backdrop seen through the score
// panel, and the status bar's 8-digit score does not touch its "Score" label.
// Text and logo ink are told from everything else by drawing the same draw
// list again with the font's or the logo's image slot emptied. And the
// renderer's fast paths leave the menu's and a game's pixels as they are.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/gl.h"
#include "graphics/gl_calls.h"
#include "graphics/graphics.h"
#include "tests/support/window_game.h"

namespace {

constexpr int kFontSlot = 90, kLogoSlot = 93, kTitleLogoSlot = 98;
// The menu's backdrop, title, helicopter, mode buttons and play button: left
// out, so that text and logo lie on the flat panel alone.
const std::vector<int> kBackdropSlots = {1, 95, 97, 98, 99};
constexpr int kTopList = 60, kLastListBelowMiddle = 20, kListLine = 15;  // virtual pixels, font at size 1.5
constexpr int kScore = 8888888;  // one glyph repeated: a cut digit shows as a narrower one
constexpr int kInk = 24;         // a channel differing by more than this is ink, not a faint fringe
// A list title is readable when nine in ten of its glyph pixels reach this
// luminance contrast ratio against the panel around them. Drawn on the
// panel's alpha, the titles reach at most about 2.3 ("Top", orange) and 2.6
// ("Last", green) there even over black.
constexpr double kTitleContrast = 1.8;

// One read-back frame, RGB rows from the top.
struct Frame {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};

// Pixels where two frames differ: what the emptied slots had drawn.
struct Mask {
    int w = 0, h = 0;
    std::vector<char> on;
    bool At(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h && on[y * w + x]; }
};

Mask Differ(const Frame& a, const Frame& b) {
    Mask m{a.w, a.h, std::vector<char>(a.rgb.size() / 3)};
    for (size_t i = 0; i < m.on.size(); ++i)
        for (int c = 0; c < 3; ++c) m.on[i] |= std::abs(a.rgb[3 * i + c] - b.rgb[3 * i + c]) > kInk;
    return m;
}

// Runs of columns holding ink within rows y0..y1, from x0 rightwards:
// [first, last] pairs.
std::vector<std::array<int, 2>> ColumnRuns(const Mask& m, int x0, int y0, int y1) {
    std::vector<std::array<int, 2>> runs;
    for (int x = x0; x < m.w; ++x) {
        bool ink = false;
        for (int y = y0; y <= y1; ++y) ink |= m.At(x, y);
        if (!ink) continue;
        if (!runs.empty() && runs.back()[1] == x - 1) runs.back()[1] = x;
        else runs.push_back({x, x});
    }
    return runs;
}

// Leftmost and rightmost column of the 8-connected piece of ink holding (x, y).
std::array<int, 2> Piece(const Mask& m, int x, int y) {
    std::vector<char> seen(m.on.size());
    std::vector<std::array<int, 2>> todo{{x, y}};
    std::array<int, 2> span{x, x};
    seen[y * m.w + x] = 1;
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        span = {std::min(span[0], px), std::max(span[1], px)};
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (m.At(px + dx, py + dy) && !seen[(py + dy) * m.w + px + dx]) {
                    seen[(py + dy) * m.w + px + dx] = 1;
                    todo.push_back({px + dx, py + dy});
                }
    }
    return span;
}

// Relative luminance of a read-back pixel: sRGB channels made linear, then
// weighted by the eye's response.
double Luminance(const Frame& f, int x, int y) {
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const uint8_t* p = &f.rgb[3 * (y * f.w + x)];
    return 0.2126 * linear(p[0] / 255.0) + 0.7152 * linear(p[1] / 255.0) + 0.0722 * linear(p[2] / 255.0);
}

// How a title stands out in a frame: for each pixel its glyphs light (face)
// within rows y0..y1 right of x0, the contrast ratio against the mean
// luminance of the pixels within `around` that hold no ink (text or studio
// logo). Returns the ratio that nine in ten of the glyph pixels reach, or 0
// without glyph pixels.
double TitleContrast(const Frame& f, const Mask& face, const Mask& text, const Mask& logo, int x0, int y0,
                     int y1, int around) {
    std::vector<double> ratios;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x < f.w; ++x) {
            if (!face.At(x, y)) continue;
            double sum = 0;
            int n = 0;
            for (int ay = y - around; ay <= y + around; ++ay)
                for (int ax = x - around; ax <= x + around; ++ax) {
                    if (ax < x0 || ay < 0 || ax >= f.w || ay >= f.h || text.At(ax, ay) || logo.At(ax, ay)) continue;
                    sum += Luminance(f, ax, ay), ++n;
                }
            if (n == 0) continue;
            // The contrast ratio, 1 (none) to 21 (black on white), as used for text.
            const double a = Luminance(f, x, y), b = sum / n;
            ratios.push_back((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
        }
    if (ratios.empty()) return 0;
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 10];
}

// The game on a real window in a scratch folder whose data/ is the build's
// generated one.
class LayoutFit : public ::testing::TestWithParam<std::array<int, 2>>, public WindowGame {
   protected:
    void SetUp() override {
        ASSERT_TRUE(EnterScratch());
        std::filesystem::create_directory_symlink(std::string(VORNHELM_BUILD_DIR) + "/data", "data");
        auto [w, h] = GetParam();
        ASSERT_TRUE(OpenGame(w, h));
    }
    void TearDown() override { CloseGame(), LeaveScratch(); }
    // The current draw list rendered with the given image slots emptied.
    Frame Render(std::vector<int> emptied = {}) {
        std::vector<c_Image*> kept;
        for (int slot : emptied) kept.push_back(app->m_Img[slot]), gc_assign(app->m_Img[slot], nullptr);
        RenderFrame();
        auto [w, h] = GetParam();
        Frame f{w, h, std::vector<uint8_t>(3 * w * h)};
        std::vector<uint8_t> rgba(4 * w * h);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c) f.rgb[3 * (y * w + x) + c] = rgba[4 * ((h - 1 - y) * w + x) + c];
        for (size_t i = 0; i < emptied.size(); ++i) gc_assign(app->m_Img[emptied[i]], kept[i]);
        return f;
    }
};

// The menu of mode 1 with 7-digit scores in both lists, once loaded and
// slid in.
TEST_P(LayoutFit, MenuScoresAreWholeWithRoomToSpareAndTheTitlesClearAndReadable) {
    for (int i = 0; i < 60; ++i) app->m_Hi[i] = kScore;
    for (int i = 0; i < 200 && (app->m_LoadStep != 0 || app->m_MenuIntro != 0); ++i) Render(), UpdateOnce(app);
    ASSERT_TRUE(app->m_LoadStep == 0 && app->m_MenuIntro == 0 && app->m_HdLevel == 2);
    auto without = [](std::vector<int> slots) {
        slots.insert(slots.end(), kBackdropSlots.begin(), kBackdropSlots.end());
        return slots;
    };
    const float s = app->m_ScaleY, vw = kr_Vex_jscrw, vh = kr_Vex_jscrh;
    // The menu as the player sees it. On a portrait screen the game logo,
    // wider than the screen, reaches under the top list's title: there its
    // lettering, not the backdrop, is that title's ground (and holds it near
    // 1.6), so that title's backdrop is measured on the menu without the logo.
    const Frame shown = Render(), shownNoTitleLogo = vw < vh ? Render({kTitleLogoSlot}) : shown;
    // On a black screen without the backdrop the text lights only its
    // glyphs' faces.
    app->m_ClsR = app->m_ClsG = app->m_ClsB = 0;
    const Mask face = Differ(Render(without({})), Render(without({kFontSlot})));
    // A white screen under the panel, so that even the glyphs' faint shadow
    // stands out from it.
    app->m_ClsR = app->m_ClsG = app->m_ClsB = 255;
    const Frame all = Render(without({})), noText = Render(without({kFontSlot})),
                noLogo = Render(without({kLogoSlot})), neither = Render(without({kFontSlot, kLogoSlot}));
    const Mask text = Differ(all, noText), bareText = Differ(noLogo, neither), logo = Differ(noLogo, all);
    const int w = all.w, panel = static_cast<int>((vw - 140) * s);
    // A line's glyph handles sit half a line (7.5) below its y; the glyphs
    // reach about 6 above and below at size 1.5.
    auto row = [&](float y, float dy) { return static_cast<int>((y + 7.5f + dy) * s); };
    const int lines = vh >= 480 ? 10 : 9;  // (H/2 - 90) / 15, at most 10
    for (float top : {float(kTopList), vh / 2 + kLastListBelowMiddle}) {
        SCOPED_TRACE("list at y " + std::to_string(top));
        for (int k = 1; k <= lines; ++k) {
            float y = top + kListLine * k;
            auto digits = ColumnRuns(text, panel, row(y, -2), row(y, 2));
            ASSERT_EQ(digits.size(), 7u) << "line " << k;
            const int width = digits[0][1] - digits[0][0];
            for (auto [first, last] : digits) EXPECT_NEAR(last - first, width, 1) << "a cut digit on line " << k;
            EXPECT_LE(digits.back()[1], w - 3) << "line " << k << " has no 2 pixels to spare";
        }
        // The title: every ink pixel of it shows, with no logo pixel beside it.
        int ink = 0, covered = 0;
        for (int y = row(top, -7); y <= row(top, 7); ++y)
            for (int x = panel; x < w; ++x) {
                if (!bareText.At(x, y)) continue;
                ++ink;
                bool near = !text.At(x, y);
                for (int d = 0; d < 9; ++d) near |= logo.At(x + d % 3 - 1, y + d / 3 - 1);
                covered += near;
            }
        EXPECT_GT(ink, 40) << "no title";
        EXPECT_EQ(covered, 0) << "of " << ink << " title pixels";
        // Readable: the title stands out from the panel around it, 3 virtual
        // pixels on each side.
        const Frame& ground = vw < vh && top == kTopList ? shownNoTitleLogo : shown;
        EXPECT_GE(TitleContrast(ground, face, text, logo, panel, row(top, -7), row(top, 7), static_cast<int>(3 * s)),
                  kTitleContrast)
            << "the title is hard to tell from the backdrop behind the panel";
    }
}

// The status bar with an 8-digit score: its last digit is a piece of ink of
// its own, as wide as the first, and at least 2 clear pixels lie between it
// and the label.
TEST_P(LayoutFit, StatusBarScoreDoesNotTouchItsLabel) {
    for (int i = 0; i < 60 && app->m_LoadStep != 0; ++i) Render(), UpdateOnce(app);
    ASSERT_EQ(app->m_LoadStep, 0);
    app->p_CLS2D(0, 0, 0, 1);
    app->m_MapWidth = 300, app->m_Health = 99, app->m_Score = app->m_ScoreShown = 88888888;
    app->p_GameStatus();
    const Mask text = Differ(Render(), Render({kFontSlot}));
    const float s = app->m_ScaleY, cx = kr_Vex_jscrw / 2;
    // Row 6 holds the score's digits (at y 12, size 2) and none of the
    // label's (at y 15, size 1); the score lies left of the screen's middle.
    int firstX = -1, lastX = -1, y = static_cast<int>(6 * s);
    for (int x = 0; x < static_cast<int>(cx * s); ++x)
        if (text.At(x, y)) lastX = x, firstX = firstX < 0 ? x : firstX;
    ASSERT_GE(firstX, 0) << "no score";
    const auto first = Piece(text, firstX, y), last = Piece(text, lastX, y);
    const int digit = first[1] - first[0];
    ASSERT_GT(digit, static_cast<int>(6 * s));
    ASSERT_NEAR(last[1] - last[0], digit, 1) << "the last digit runs into the label";
    // The label: the first ink right of the last digit, over the bar's height.
    auto label = ColumnRuns(text, last[1] + 1, 0, static_cast<int>(38 * s));
    ASSERT_FALSE(label.empty()) << "no label";
    EXPECT_LT(label.front()[0], static_cast<int>(cx * s));
    EXPECT_GE(label.front()[0] - last[1] - 1, 2) << "the last digit touches the label";
}

// The start screen a browser shows: "Click to Start" on its dark ovals stays
// clear of the studio logo's lettering above it. Sizes of the page's canvas:
// 800 x 600, 1280 x 720 and 1920 x 1080 windows under the page's help strip,
// and a phone of 390 x 844 at 3 device pixels to the CSS pixel.
class StartScreenFit : public LayoutFit {};

TEST_P(StartScreenFit, StartTextIsClearOfTheStudioLogo) {
    for (int i = 0; i < 60 && app->m_LoadStep != 0; ++i) Render(), UpdateOnce(app);
    ASSERT_EQ(app->m_LoadStep, 0);
    app->m_Mode = 5;
    for (int i = 0; i < 3; ++i) Render(), UpdateOnce(app);  // the fit settles on its design size
    app->m_ClsR = app->m_ClsG = app->m_ClsB = 0;
    const Frame all = Render();
    const Mask logo = Differ(all, Render({kLogoSlot})), text = Differ(all, Render({kFontSlot}));
    const float s = app->m_ScaleY, vh = kr_Vex_jscrh;
    int logoBottom = -1, textTop = all.h;
    for (int y = 0; y < all.h; ++y)
        for (int x = 0; x < all.w; ++x) {
            if (logo.At(x, y)) logoBottom = y;
            if (text.At(x, y)) textTop = std::min(textTop, y);
        }
    ASSERT_GE(logoBottom, 0) << "no logo";
    ASSERT_LT(textTop, all.h) << "no start text";
    // The ovals under the text reach 24 virtual pixels above its middle.
    const int ovalTop = static_cast<int>((0.7f * vh - 24) * s);
    EXPECT_LT(logoBottom + static_cast<int>(4 * s), std::min(ovalTop, textTop))
        << "logo ink to row " << logoBottom << ", ovals from " << ovalTop << ", text from " << textTop;
}

// The game's own frames with the renderer's fast paths on and off, at the
// tier each size picks: the menu, where the backdrop colour becomes a clear
// under the island picture drawn without blending, and a game, where the
// sky is a clear and the ground is drawn without blending. Every pixel must
// match.
class OpaqueFrames : public LayoutFit {
   protected:
    void Run(int updates) {
        for (int i = 0; i < updates; ++i) RenderFrame(), host.clock += 16, UpdateOnce(app);
    }
    void ExpectSameWithFastPaths(const char* what) {
        static int clears;
        kr_gl.Clear = [](GLbitfield mask) { ++clears, kr_gl_real.Clear(mask); };
        device->opaqueFastPaths = false, clears = 0;
        const Frame plain = Render();
        EXPECT_EQ(clears, 0) << what << ": without the fast paths the backdrop is a rectangle";
        device->opaqueFastPaths = true, clears = 0;
        const Frame fast = Render();
        EXPECT_EQ(clears, 1) << what << ": the backdrop colour is one clear";
        kr_gl = kr_gl_real;
        EXPECT_TRUE(fast.rgb == plain.rgb) << what;
    }
};

TEST_P(OpaqueFrames, MenuAndGameLookTheSame) {
    Run(200);
    ASSERT_TRUE(app->m_LoadStep == 0 && app->m_Mode == 1 && app->m_HdLevel == 4);
    ExpectSameWithFastPaths("menu");
    host.clock = 12345;
    app->m_GameMode = 3;
    app->p_LoadGame();
    app->m_Wave = 9;
    app->p_Replenish();
    Run(300);
    ASSERT_EQ(app->m_Mode, 10);
    ExpectSameWithFastPaths("game");
}

INSTANTIATE_TEST_SUITE_P(Sizes, OpaqueFrames,
                         ::testing::Values(std::array<int, 2>{1280, 720}, std::array<int, 2>{1920, 1080}),
                         [](const auto& info) { return std::to_string(info.param[0]) + "x" + std::to_string(info.param[1]); });

INSTANTIATE_TEST_SUITE_P(Sizes, StartScreenFit,
                         ::testing::Values(std::array<int, 2>{800, 574}, std::array<int, 2>{1280, 694},
                                           std::array<int, 2>{1920, 1054}, std::array<int, 2>{1170, 2454}),
                         [](const auto& info) { return std::to_string(info.param[0]) + "x" + std::to_string(info.param[1]); });

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutFit, ::testing::Values(std::array<int, 2>{640, 480}, std::array<int, 2>{800, 450}, std::array<int, 2>{480, 640}),
                         [](const auto& info) { return std::to_string(info.param[0]) + "x" + std::to_string(info.param[1]); });

}  // namespace
