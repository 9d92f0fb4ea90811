// The render against real Mesa OpenGL under Xvfb, read back pixel by pixel:
// the clear, the fit of the virtual screen at several window sizes and with
// overscan, rectangles, ovals and images at their device pixels, additive
// records; and the image level chosen by the window's size.
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
constexpr Rgb kClear = {40, 40, 80}, kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255},
              kYellow = {255, 255, 0};

// A game on a real window of the given size; the bare host keeps the clock
// and the state, the desktop host decodes images.
class Fitting : public ::testing::Test {
   protected:
    void SetUp() override {
        testsupport::EnsureDisplay();
        static KrGlfwGame* decoder = new KrGlfwGame;
        ASSERT_NE(decoder, nullptr);
        ASSERT_EQ(glfw2::glfwInit(), 1);
        char name[] = "/tmp/vornhelm_fitting_XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir = name;
        ASSERT_TRUE(getcwd(cwd, sizeof cwd));
        ASSERT_EQ(chdir(dir.c_str()), 0);
        std::filesystem::create_directory("data");
    }
    void TearDown() override {
        kr_graphics_EndRender();
        glfw2::glfwCloseWindow();
        EXPECT_EQ(chdir(cwd), 0);
        std::filesystem::remove_all(dir);
    }
    // Opens the window and starts a game on it with the screen fitted once
    // to the window, as the first render leaves it, and the clear colour of
    // the loading screen.
    void Open(int w, int h, float overscan = 0) {
        glfw2::glfwCloseWindow();
        glfw2::glfwOpenWindowHint(glfw2::GLFW_WINDOW_NO_RESIZE, 1);
        ASSERT_TRUE(glfw2::glfwOpenWindow(w, h, 8, 8, 8, 0, 0, 0, glfw2::GLFW_WINDOW));
        ++glfwGraphicsSeq;
        app = StartBareGame(host);
        KrGame::_game = &host;
        kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        ASSERT_EQ(kr_graphics_DeviceWidth(), w);
        ASSERT_EQ(kr_graphics_DeviceHeight(), h);
        width = w, height = h;
        app->p_OnCreate();
        kr_Vex_overscan = overscan;  // after the settings are loaded, as on OUYA
        app->p_CLS2D(40, 40, 80, 1);
    }
    // One render, read back before the buffers swap.
    void Render() {
        kr_graphics_EndRender();
        device->BeginRender();
        kr_graphics_BeginRender();
        app->p_OnRender();
        device->Flush();
    }
    Rgb Pixel(int x, int y) {
        unsigned char p[4];
        glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    // Device pixels given as x, y from the top and the colour expected.
    void ExpectPixels(std::initializer_list<std::pair<std::array<int, 2>, Rgb>> pixels) {
        for (auto [at, rgb] : pixels) {
            Rgb got = Pixel(at[0], at[1]);
            bool close = true;
            for (int c = 0; c < 3; ++c) close = close && std::abs(got[c] - rgb[c]) <= 1;
            EXPECT_TRUE(close) << "(" << at[0] << ", " << at[1] << ") is " << got[0] << ", "
                               << got[1] << ", " << got[2] << "; expected " << rgb[0] << ", "
                               << rgb[1] << ", " << rgb[2];
        }
    }
    void Colour(const Rgb& c) { app->p_SetCol(c[0], c[1], c[2], 1); }
    // A square PNG of one colour, size x size.
    void WritePng(const std::string& name, int size, const Rgb& c) {
        std::filesystem::create_directories(std::filesystem::path(name).parent_path());
        std::vector<unsigned char> rgba(size * size * 4);
        for (int i = 0; i < size * size; ++i) {
            rgba[4 * i] = c[0], rgba[4 * i + 1] = c[1], rgba[4 * i + 2] = c[2],
                     rgba[4 * i + 3] = 255;
        }
        ASSERT_TRUE(stbi_write_png(name.c_str(), size, size, 4, rgba.data(), size * 4));
    }

    GameTestHost host;
    c_MyApp* app = nullptr;
    gxtkGraphics* device = nullptr;
    int width = 0, height = 0;
    std::string dir;
    char cwd[4096] = {};
};

// At 640 x 480 a virtual pixel is a device pixel.
TEST_F(Fitting, At640x480ShapesBlendingAndReplay) {
    Open(640, 480);
    Colour(kRed);
    app->p_Rect(10, 20, 50, 30);
    Colour(kBlue);
    app->p_Oval(300, 200, 40, 20);
    Render();
    EXPECT_EQ(app->m_FitMode, 1);
    EXPECT_EQ(app->m_ScaleX, 1);
    ExpectPixels({{{10, 20}, kRed},
                  {{59, 49}, kRed},
                  {{9, 20}, kClear},
                  {{60, 49}, kClear},
                  {{10, 50}, kClear},
                  {{0, 0}, kClear},
                  {{639, 479}, kClear},
                  {{300, 200}, kBlue},
                  {{337, 200}, kBlue},
                  {{343, 200}, kClear},
                  {{300, 218}, kBlue},
                  {{300, 223}, kClear}});

    // Element 13 = 3 adds the record's colour to what is below; any other value
    // draws over it.
    Open(640, 480);
    Colour(kGreen);
    app->p_Rect(0, 0, 100, 100);
    Colour(kRed);
    app->m_DrawBlend = 3;
    app->p_Rect(50, 0, 100, 50);
    app->m_DrawBlend = 2;
    app->p_Rect(50, 50, 100, 50);
    app->m_DrawBlend = 3;
    app->p_Rect(200, 0, 20, 20);
    Render();
    ExpectPixels({{{25, 25}, kGreen},
                  {{75, 25}, kYellow},
                  {{75, 75}, kRed},
                  {{125, 25}, {255, 40, 80}},
                  {{125, 75}, kRed},
                  {{210, 10}, {255, 40, 80}}});

    // The list replays until it is cleared; alpha mixes with what is below.
    Open(640, 480);
    app->p_SetCol(255, 255, 255, 0.5f);
    app->p_Rect(0, 0, 10, 10);
    Render();
    ExpectPixels({{{5, 5}, {148, 148, 168}}});
    Render();
    ExpectPixels({{{5, 5}, {148, 148, 168}}});
    app->p_CLS2D(kOmitted, 0, 0, 0);
    Render();
    ExpectPixels({{{5, 5}, kClear}});
    // A count beyond the list replays the list and no further.
    app->p_Rect(0, 0, 10, 10);
    app->m_DrawN = 40000;
    Render();
    ExpectPixels({{{5, 5}, {255, 255, 255}}, {{15, 5}, kClear}});
}

// 1.6 device pixels a virtual pixel; an image drawn at scale 1 covers its
// design size whatever the level of its file (here 32 pixels at level 2).
TEST_F(Fitting, At1024x768AndInATallWindow) {
    Open(1024, 768);
    EXPECT_EQ(app->m_HdLevel, 2);
    WritePng("data/sq-hd.png", 32, kGreen);
    app->p_LoadImg(5, String("sq"), 16, 16, 1, 1);
    ASSERT_NE(app->m_Img[5], nullptr);
    Colour(kRed);
    app->p_Rect(10, 20, 50, 30);
    Colour(kBlue);
    app->p_Oval(300, 200, 40, 20);
    app->p_ResetDraw();
    app->p_DrawImg(5, 100, 100, 0);
    Render();
    EXPECT_FLOAT_EQ(app->m_ScaleX, 1.6f);
    EXPECT_FLOAT_EQ(kr_Vex_jscrw, 640);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 480);
    // Rectangle 16..96 x 32..80; oval centred on (480, 320), radii 64 x 32;
    // image centred on (160, 160), 25.6 pixels square.
    ExpectPixels({{{17, 33}, kRed},
                  {{95, 79}, kRed},
                  {{14, 33}, kClear},
                  {{97, 79}, kClear},
                  {{95, 82}, kClear},
                  {{480, 320}, kBlue},
                  {{540, 320}, kBlue},
                  {{547, 320}, kClear},
                  {{480, 349}, kBlue},
                  {{480, 355}, kClear},
                  {{160, 160}, kGreen},
                  {{149, 149}, kGreen},
                  {{171, 171}, kGreen},
                  {{145, 160}, kClear},
                  {{175, 160}, kClear},
                  {{160, 176}, kClear}});

    // Taller than wide: the virtual height is the design height.
    Open(480, 800);
    Colour(kRed);
    app->p_Rect(12, 12, 30, 30);
    Render();
    EXPECT_EQ(app->m_FitMode, 2);
    EXPECT_EQ(app->m_Landscape, 0);
    EXPECT_FLOAT_EQ(kr_Vex_jscrw, 288);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 480);
    // 20..70 device pixels on both axes.
    ExpectPixels({{{21, 21}, kRed},
                  {{69, 69}, kRed},
                  {{18, 21}, kClear},
                  {{21, 72}, kClear},
                  {{479, 799}, kClear}});
}

// A 1280 x 720 window first gives scale 2 and a 640 x 360 screen; from the
// next render the design size is 800 x 600: scale 1.6, 800 x 450.
TEST_F(Fitting, At1280x720AndWithOverscan) {
    Open(1280, 720);
    EXPECT_EQ(app->m_HdLevel, 4);
    Colour(kRed);
    app->p_Rect(100, 100, 10, 10);
    Render();
    EXPECT_FLOAT_EQ(app->m_ScaleX, 2);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 360);
    ExpectPixels(
        {{{201, 201}, kRed}, {{218, 218}, kRed}, {{198, 201}, kClear}, {{221, 218}, kClear}});
    Render();
    EXPECT_FLOAT_EQ(app->m_ScaleX, 1.6f);
    EXPECT_FLOAT_EQ(kr_Vex_jscrw, 800);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 450);
    ExpectPixels({{{161, 161}, kRed},
                  {{174, 174}, kRed},
                  {{158, 161}, kClear},
                  {{178, 174}, kClear},
                  {{200, 200}, kClear}});

    // Overscan 64 on 1280 x 720: scale 1.8 (from the 1152 pixels left across),
    // records offset by (64, 36); the clear still covers the whole window.
    Open(1280, 720, 64);
    Colour(kRed);
    app->p_Rect(0, 0, 10, 10);
    Render();
    EXPECT_FLOAT_EQ(app->m_ScaleX, 1.8f);
    EXPECT_FLOAT_EQ(kr_Vex_jscrw, 640);
    EXPECT_FLOAT_EQ(kr_Vex_jscrh, 360);
    ExpectPixels({{{65, 37}, kRed},
                  {{81, 53}, kRed},
                  {{62, 37}, kClear},
                  {{65, 34}, kClear},
                  {{84, 53}, kClear},
                  {{0, 0}, kClear},
                  {{1279, 719}, kClear}});
}

// Level and file name by window size: the level's file fills the slot; a
// missing file leaves the slot empty, and an empty slot draws nothing.
TEST_F(Fitting, TheWindowSizeChoosesTheImageLevel) {
    WritePng("data/gfx_small.png", 64, kRed);
    WritePng("data/gfx_small-hd.png", 128, kGreen);
    WritePng("data/gfx_small-hd2.png", 256, kBlue);
    struct Case {
        int w, h, level, surface;
        float scale;
    };
    for (const Case& c : {Case{630, 480, 1, 64, 1}, Case{640, 480, 2, 128, 0.5f},
                          Case{800, 600, 2, 128, 0.5f}, Case{631, 100, 2, 128, 0.5f},
                          Case{1280, 720, 4, 256, 0.25f}, Case{100, 1231, 4, 256, 0.25f}}) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        Open(c.w, c.h);
        EXPECT_EQ(app->m_HdLevel, c.level);
        EXPECT_EQ(app->m_ImgScale, c.scale);
        app->p_LoadImg(2, String("gfx_small"), 8, 8, 64, 1);
        ASSERT_NE(app->m_Img[2], nullptr);
        EXPECT_EQ(app->m_Img[2]->m_surface->Width(), c.surface);
        EXPECT_EQ(app->m_Img[2]->p_Width(), 8 * c.level);
        EXPECT_EQ(app->m_ImgInfo[6], 8 * c.level);
        app->p_LoadImg(3, String("gfx_harrier"), 128, 32, 16, 1);
        EXPECT_EQ(app->m_Img[3], nullptr);
        app->p_DrawImg(3, 20, 20, 0);
        Render();
        ExpectPixels({{{static_cast<int>(20 * app->m_ScaleX), static_cast<int>(20 * app->m_ScaleY)},
                       kClear}});
    }

    // A change of window size starts a reload at the new level.
    Open(640, 480);
    for (int i = 0; i < 28; ++i) UpdateOnce(app);
    ASSERT_EQ(app->m_LoadStep, 0);
    Render();
    EXPECT_EQ(app->m_LoadStep, 0);
    app->m_DevW = 800;
    Render();
    EXPECT_EQ(app->m_LoadStep, 1);
    EXPECT_EQ(app->m_DevW, 640);
}

}  // namespace
