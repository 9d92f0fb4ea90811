// SPDX-License-Identifier: Zlib
// Window sizes and drawable sizes where the window system scales windows
// (Xvfb never does): the size asked of the window for a drawable size, and
// the pointer's position in drawable pixels.
#include <gtest/gtest.h>

#include "host/desktop/window_fit.h"
#include "host/glfw2/pixel_scale.h"

namespace {

// A window of 640 x 480 screen units whose drawable has `scale` times as many
// pixels each way (scale given in percent).
struct Screen { const char* name; int scale; };
const Screen kScreens[] = {{"plain", 100}, {"doubled", 200}, {"one and a half", 150}, {"halved", 50}};

TEST(WindowFit, WindowSizeForADrawableSize) {
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        int w = 0, h = 0;
        KrWindowSizeForFramebuffer(1280, 720, 640, 480, 640 * s.scale / 100, 480 * s.scale / 100, &w, &h);
        EXPECT_EQ(w, 1280 * 100 / s.scale);
        EXPECT_EQ(h, 720 * 100 / s.scale);
    }
    int w = 0, h = 0;
    KrWindowSizeForFramebuffer(1280, 720, 640, 480, 0, 0, &w, &h);  // no drawable yet
    EXPECT_EQ(w * 10000 + h, 1280 * 10000 + 720);
}

TEST(WindowFit, PointerInDrawablePixels) {
    for (const Screen& s : kScreens) {
        SCOPED_TRACE(s.name);
        const struct { double x, y; } points[] = {{0, 0}, {10.5, 3.25}, {639.9, 479.9}, {-0.5, 20}};
        for (auto p : points) {
            int fx = 0, fy = 0;
            glfw2::WindowToFramebuffer(p.x, p.y, 640, 480, 640 * s.scale / 100, 480 * s.scale / 100, &fx, &fy);
            EXPECT_EQ(fx, static_cast<int>(std::floor(p.x * s.scale / 100))) << p.x;
            EXPECT_EQ(fy, static_cast<int>(std::floor(p.y * s.scale / 100))) << p.y;
        }
    }
}

}  // namespace
