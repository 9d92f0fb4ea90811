// Pointer positions in framebuffer pixels where the window system scales.
#include <gtest/gtest.h>

#include "host/pixel_scale.h"

namespace {

struct Point {
    int x, y;
};

Point Scale(double x, double y, int ww, int wh, int fw, int fh) {
    Point p{};
    glfw2::WindowToFramebuffer(x, y, ww, wh, fw, fh, &p.x, &p.y);
    return p;
}

TEST(PixelScale, UnscaledWindowKeepsWholePixels) {
    Point p = Scale(37.9, 211.2, 640, 480, 640, 480);
    EXPECT_EQ(p.x, 37);
    EXPECT_EQ(p.y, 211);
}

TEST(PixelScale, DoubledFramebufferDoublesThePosition) {
    // A 640 x 480 window on a screen scaled by two draws into 1280 x 960.
    Point p = Scale(320.25, 479.5, 640, 480, 1280, 960);
    EXPECT_EQ(p.x, 640);
    EXPECT_EQ(p.y, 959);
}

TEST(PixelScale, EachAxisHasItsOwnRatio) {
    Point p = Scale(100, 100, 200, 400, 300, 200);
    EXPECT_EQ(p.x, 150);
    EXPECT_EQ(p.y, 50);
}

TEST(PixelScale, PositionsLeftOfOrAboveTheWindowStayNegative) {
    Point p = Scale(-0.5, -3, 640, 480, 1280, 960);
    EXPECT_EQ(p.x, -1);
    EXPECT_EQ(p.y, -6);
}

TEST(PixelScale, WindowWithoutSizeLeavesThePosition) {
    Point p = Scale(12.7, 8, 0, 0, 0, 0);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 8);
}

}  // namespace
