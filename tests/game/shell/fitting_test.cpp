// SPDX-License-Identifier: Zlib
// The render against real Mesa OpenGL under Xvfb, read back pixel by pixel:
// the fit at 1280 x 720 and with overscan, and the image level chosen by the
// window's size.
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>

#include "graphics/gl.h"
#include "tests/support/window_game.h"

namespace {

using Rgb = std::array<int, 3>;
constexpr Rgb kClear = {40, 40, 80}, kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255};
using Pixels = std::initializer_list<std::pair<std::array<int, 2>, Rgb>>;  // device x, y from the top

// A game on a real window in a scratch folder holding data/.
class Fitting : public ::testing::Test, public WindowGame {
   protected:
    void SetUp() override {
        ASSERT_TRUE(EnterScratch());
        std::filesystem::create_directory("data");
    }
    void TearDown() override {
        CloseGame();
        LeaveScratch();
    }
    void Open(int w, int h, float overscan = 0) {
        ASSERT_TRUE(OpenGame(w, h));
        height = h;
        kr_Vex_overscan = overscan;  // after the settings are loaded, as on OUYA
        app->p_CLS2D(40, 40, 80, 1);
    }
    // One render, read back before the buffers swap, compared within 1.
    void RenderAndExpect(Pixels pixels) {
        RenderFrame();
        for (auto [at, want] : pixels) {
            unsigned char p[4];
            glReadPixels(at[0], height - 1 - at[1], 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
            EXPECT_TRUE(std::abs(p[0] - want[0]) <= 1 && std::abs(p[1] - want[1]) <= 1 && std::abs(p[2] - want[2]) <= 1)
                << "(" << at[0] << ", " << at[1] << ") is " << +p[0] << ", " << +p[1] << ", " << +p[2];
        }
    }
    static void WritePng(const std::string& name, int size, uint8_t green) {  // black and green, opaque
        std::vector<uint32_t> rgba(size * size, 0xff000000u | green << 8);
        ASSERT_TRUE(stbi_write_png(name.c_str(), size, size, 4, rgba.data(), size * 4));
    }
    int height = 0;
};

// 1280 x 720 first gives scale 2 (640 x 360), from the next render 1.6
// (800 x 450): rectangle, oval and a level-4 image ("-hd2") at their device
// pixels. Overscan 64 gives scale 1.8 and an offset of (64, 36). At 800 x
// 600 the level is 2 and the file "-hd".
TEST_F(Fitting, At1280x720ThenWithOverscanAndAt800x600) {
    WritePng("data/sq-hd.png", 32, 0);
    WritePng("data/sq-hd2.png", 64, 255);
    Open(1280, 720);
    app->p_LoadImg(5, String("sq"), 16, 16, 1, 1);
    ASSERT_NE(app->m_Img[5], nullptr);
    EXPECT_EQ(app->m_Img[5]->m_surface->Width(), 64);
    app->p_SetCol(255, 0, 0, 1);
    app->p_Rect(100, 100, 10, 10);
    app->p_SetCol(0, 0, 255, 1);
    app->p_Oval(300, 200, 40, 20);
    app->p_ResetDraw();
    app->p_DrawImg(5, 200, 100, 0);
    RenderAndExpect({{{201, 201}, kRed}, {{218, 218}, kRed}, {{198, 201}, kClear}, {{221, 218}, kClear}});
    RenderAndExpect({{{161, 161}, kRed},   {{174, 174}, kRed},  {{158, 161}, kClear}, {{178, 174}, kClear},
                     {{480, 320}, kBlue},  {{547, 320}, kClear}, {{320, 160}, kGreen}, {{335, 160}, kClear}});
    EXPECT_EQ(std::vector<float>({kr_Vex_jscrw, kr_Vex_jscrh}), std::vector<float>({800, 450}));
    Open(1280, 720, 64);
    app->p_SetCol(255, 0, 0, 1);
    app->p_Rect(0, 0, 10, 10);
    RenderAndExpect({{{65, 37}, kRed}, {{81, 53}, kRed}, {{62, 37}, kClear}, {{65, 34}, kClear}, {{84, 53}, kClear}});
    Open(800, 600);
    EXPECT_EQ(app->m_HdLevel, 2);
    app->p_LoadImg(5, String("sq"), 16, 16, 1, 1);
    ASSERT_NE(app->m_Img[5], nullptr);
    EXPECT_EQ(app->m_Img[5]->m_surface->Width(), 32);
}

}  // namespace
