// SPDX-License-Identifier: Zlib
// The game's own frames with the renderer's opaque fast paths on and off, on
// a real window (Mesa under Xvfb) with the generated art at the tier each
// size picks: the menu, where the backdrop colour becomes a clear under the
// island picture drawn without blending, and a game, where the sky is a
// clear and the ground is drawn without blending. Every pixel must match.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/gl.h"
#include "graphics/gl_calls.h"
#include "graphics/graphics.h"
#include "tests/support/window_game.h"

namespace {

int clears = 0;

class OpaqueFrames : public ::testing::TestWithParam<std::array<int, 2>>, public WindowGame {
protected:
    void SetUp() override {
        ASSERT_TRUE(EnterScratch());
        std::filesystem::create_directory_symlink(std::string(VORNHELM_BUILD_DIR) + "/data", "data");
        auto [w, h] = GetParam();
        ASSERT_TRUE(OpenGame(w, h));
    }
    void TearDown() override {
        kr_gl = kr_gl_real;
        CloseGame(), LeaveScratch();
    }
    // Updates with a render after each, as the loop runs them.
    void Run(int updates) {
        for (int i = 0; i < updates; ++i) RenderFrame(), host.clock += 16, UpdateOnce(app);
    }
    // The current draw list rendered with the fast paths on or off, read
    // back; counts the clears that reach OpenGL.
    std::vector<unsigned char> Frame(bool fast) {
        auto [w, h] = GetParam();
        device->opaqueFastPaths = fast;
        clears = 0;
        kr_gl.Clear = [](GLbitfield mask) { ++clears, kr_gl_real.Clear(mask); };
        RenderFrame();
        device->Flush();
        std::vector<unsigned char> rgba(static_cast<size_t>(4) * w * h);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        kr_gl = kr_gl_real;
        return rgba;
    }
    void ExpectSameWithFastPaths(const char* what) {
        const std::vector<unsigned char> plain = Frame(false);
        EXPECT_EQ(clears, 0) << what << ": without the fast paths the backdrop is a rectangle";
        const std::vector<unsigned char> fast = Frame(true);
        EXPECT_EQ(clears, 1) << what << ": the backdrop colour is one clear";
        size_t differ = 0;
        for (size_t i = 0; i < fast.size(); ++i) differ += fast[i] != plain[i];
        EXPECT_EQ(differ, 0u) << what;
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

INSTANTIATE_TEST_SUITE_P(Sizes, OpaqueFrames, ::testing::Values(std::array<int, 2>{1280, 720},
                                                                std::array<int, 2>{1920, 1080}));

}  // namespace
