// The render against real Mesa OpenGL under Xvfb, read back pixel by pixel:
// the fit of the virtual screen at several window sizes and with overscan,
// rectangles, ovals and images at their device pixels, additive records, the
// replay of the list; and the image level chosen by the window's size.
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "graphics/gl.h"
#include "host/glfw2.h"
#include "host/glfw_game.h"
#include "tests/support/display.h"
#include "tests/support/game_host.h"

namespace {

using Rgb = std::array<int, 3>;
constexpr Rgb kClear = {40, 40, 80}, kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255};
using Pixels = std::initializer_list<std::pair<std::array<int, 2>, Rgb>>;  // device x, y from the top

// A game on a real window; the bare host keeps the clock and the state, the
// desktop host decodes images. Runs in a scratch folder holding data/.
class Fitting : public ::testing::Test {
   protected:
    void SetUp() override {
        testsupport::EnsureDisplay();
        static KrGlfwGame* decoder = new KrGlfwGame;
        ASSERT_NE(decoder, nullptr);
        ASSERT_EQ(glfw2::glfwInit(), 1);
        char name[] = "/tmp/vornhelm_fitting_XXXXXX";
        ASSERT_TRUE(mkdtemp(name) && getcwd(cwd, sizeof cwd) && chdir(name) == 0);
        dir = name;
        std::filesystem::create_directory("data");
    }
    void TearDown() override {
        kr_graphics_EndRender();
        glfw2::glfwCloseWindow();
        EXPECT_EQ(chdir(cwd), 0);
        std::filesystem::remove_all(dir);
    }
    // A started game on a new window, with the loading screen's clear colour.
    void Open(int w, int h, float overscan = 0) {
        glfw2::glfwCloseWindow();
        glfw2::glfwOpenWindowHint(glfw2::GLFW_WINDOW_NO_RESIZE, 1);
        ASSERT_TRUE(glfw2::glfwOpenWindow(w, h, 8, 8, 8, 0, 0, 0, glfw2::GLFW_WINDOW));
        ++glfwGraphicsSeq;
        app = StartBareGame(host);
        KrGame::_game = &host;
        kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        height = h;
        app->p_OnCreate();
        kr_Vex_overscan = overscan;  // after the settings are loaded, as on OUYA
        app->p_CLS2D(40, 40, 80, 1);
    }
    // One render, read back before the buffers swap, compared within 1.
    void RenderAndExpect(Pixels pixels) {
        kr_graphics_EndRender();
        device->BeginRender();
        kr_graphics_BeginRender();
        app->p_OnRender();
        device->Flush();
        for (auto [at, want] : pixels) {
            unsigned char p[4];
            glReadPixels(at[0], height - 1 - at[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
            EXPECT_TRUE(std::abs(p[0] - want[0]) <= 1 && std::abs(p[1] - want[1]) <= 1 && std::abs(p[2] - want[2]) <= 1)
                << "(" << at[0] << ", " << at[1] << ") is " << +p[0] << ", " << +p[1] << ", " << +p[2];
        }
    }
    void Rect(const Rgb& c, float x, float y, float w, float h, int blend = 1) {
        app->p_SetCol(c[0], c[1], c[2], 1);
        app->m_DrawBlend = blend;
        app->p_Rect(x, y, w, h);
    }
    static void WritePng(const std::string& name, int size, const Rgb& c) {
        std::vector<unsigned char> rgba;
        for (int i = 0; i < size * size; ++i) rgba.insert(rgba.end(), {uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]), 255});
        ASSERT_TRUE(stbi_write_png(name.c_str(), size, size, 4, rgba.data(), size * 4));
    }
    GameTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;
    int height = 0;
    std::string dir;
    char cwd[4096] = {};
};

// At 640 x 480 a virtual pixel is a device pixel. Element 13 = 3 adds the
// colour to what is below. The list replays until cleared, and a count
// beyond the list replays the list and no further.
TEST_F(Fitting, At640x480ShapesBlendingAndReplay) {
    Open(640, 480);
    Rect(kRed, 10, 20, 50, 30);
    app->p_SetCol(0, 0, 255, 1);
    app->p_Oval(300, 200, 40, 20);
    Rect(kGreen, 400, 0, 100, 100);
    Rect(kRed, 450, 0, 100, 50, 3);
    Rect(kRed, 450, 50, 100, 50, 2);
    RenderAndExpect({{{10, 20}, kRed},    {{59, 49}, kRed},    {{9, 20}, kClear},  {{60, 49}, kClear},
                     {{10, 50}, kClear},  {{0, 0}, kClear},    {{639, 479}, kClear}, {{300, 200}, kBlue},
                     {{337, 200}, kBlue}, {{343, 200}, kClear}, {{300, 218}, kBlue}, {{300, 223}, kClear},
                     {{425, 25}, kGreen}, {{475, 25}, {255, 255, 0}}, {{475, 75}, kRed}, {{525, 25}, {255, 40, 80}}});
    app->p_CLS2D(-3717, 0, 0, 0);
    app->p_SetCol(255, 255, 255, 0.5f);
    app->p_Rect(0, 0, 10, 10);
    RenderAndExpect({{{5, 5}, {148, 148, 168}}, {{20, 20}, kClear}});
    RenderAndExpect({{{5, 5}, {148, 148, 168}}});
    app->m_DrawN = 40000;
    RenderAndExpect({{{5, 5}, {148, 148, 168}}, {{15, 5}, kClear}});
    app->p_CLS2D(-3717, 0, 0, 0);
    RenderAndExpect({{{5, 5}, kClear}});
}

// 1.6 device pixels a virtual pixel; an image drawn at scale 1 covers its
// design size whatever the level of its file (32 pixels at level 2). Taller
// than wide, the virtual height is the design height.
TEST_F(Fitting, At1024x768AndInATallWindow) {
    Open(1024, 768);
    WritePng("data/sq-hd.png", 32, kGreen);
    app->p_LoadImg(5, String("sq"), 16, 16, 1, 1);
    ASSERT_NE(app->m_Img[5], nullptr);
    Rect(kRed, 10, 20, 50, 30);
    app->p_SetCol(0, 0, 255, 1);
    app->p_Oval(300, 200, 40, 20);
    app->p_ResetDraw();
    app->p_DrawImg(5, 100, 100, 0);
    // Rectangle 16..96 x 32..80; oval on (480, 320), radii 64 x 32; image on
    // (160, 160), 25.6 pixels square.
    RenderAndExpect({{{17, 33}, kRed},     {{95, 79}, kRed},      {{14, 33}, kClear},    {{97, 79}, kClear},
                     {{95, 82}, kClear},   {{480, 320}, kBlue},   {{540, 320}, kBlue},   {{547, 320}, kClear},
                     {{480, 349}, kBlue},  {{480, 355}, kClear},  {{160, 160}, kGreen},  {{149, 149}, kGreen},
                     {{171, 171}, kGreen}, {{145, 160}, kClear},  {{175, 160}, kClear},  {{160, 176}, kClear}});
    Open(480, 800);
    Rect(kRed, 12, 12, 30, 30);  // 20..70 device pixels on both axes
    RenderAndExpect({{{21, 21}, kRed}, {{69, 69}, kRed}, {{18, 21}, kClear}, {{21, 72}, kClear}, {{479, 799}, kClear}});
}

// 1280 x 720 first gives scale 2 (640 x 360), from the next render 1.6
// (800 x 450). Overscan 64 gives scale 1.8 from the 1152 pixels left across
// and an offset of (64, 36); the clear still covers the window.
TEST_F(Fitting, At1280x720AndWithOverscan) {
    Open(1280, 720);
    Rect(kRed, 100, 100, 10, 10);
    RenderAndExpect({{{201, 201}, kRed}, {{218, 218}, kRed}, {{198, 201}, kClear}, {{221, 218}, kClear}});
    RenderAndExpect({{{161, 161}, kRed}, {{174, 174}, kRed}, {{158, 161}, kClear}, {{178, 174}, kClear}});
    EXPECT_FLOAT_EQ(kr_Vex_jscrw, 800);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 450);
    Open(1280, 720, 64);
    Rect(kRed, 0, 0, 10, 10);
    RenderAndExpect({{{65, 37}, kRed},   {{81, 53}, kRed}, {{62, 37}, kClear},   {{65, 34}, kClear},
                     {{84, 53}, kClear}, {{0, 0}, kClear}, {{1279, 719}, kClear}});
}

// Level and file name by window size: the level's file fills the slot; a
// missing file leaves the slot empty, which draws nothing. A change of
// window size starts a reload.
TEST_F(Fitting, TheWindowSizeChoosesTheImageLevel) {
    WritePng("data/gfx_small.png", 64, kRed);
    WritePng("data/gfx_small-hd.png", 128, kGreen);
    WritePng("data/gfx_small-hd2.png", 256, kBlue);
    const int cases[][4] = {{630, 480, 1, 64},  {640, 480, 2, 128},   {800, 600, 2, 128},
                            {631, 100, 2, 128}, {1280, 720, 4, 256},  {100, 1231, 4, 256}};  // w, h, level, file size
    for (auto [w, h, level, surface] : cases) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        Open(w, h);
        EXPECT_EQ(app->m_HdLevel, level);
        EXPECT_EQ(app->m_ImgScale, 1.0f / level);
        app->p_LoadImg(2, String("gfx_small"), 8, 8, 64, 1);
        ASSERT_NE(app->m_Img[2], nullptr);
        EXPECT_EQ(app->m_Img[2]->m_surface->Width(), surface);
        EXPECT_EQ(app->m_Img[2]->p_Width(), 8 * level);
        app->p_LoadImg(3, String("gfx_harrier"), 128, 32, 16, 1);
        EXPECT_EQ(app->m_Img[3], nullptr);
        app->p_DrawImg(3, 20, 20, 0);
        RenderAndExpect({});
        RenderAndExpect({{{int(20 * app->m_ScaleX), int(20 * app->m_ScaleY)}, kClear}});
    }
    Open(640, 480);
    for (int i = 0; i < 28; ++i) UpdateOnce(app);
    RenderAndExpect({});
    EXPECT_EQ(app->m_LoadStep, 0);
    app->m_DevW = 800;
    RenderAndExpect({});
    EXPECT_EQ(app->m_LoadStep, 1);
    EXPECT_EQ(app->m_DevW, 640);
}

}  // namespace
