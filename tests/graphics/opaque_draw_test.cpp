// SPDX-License-Identifier: Zlib
// Drawing less for the same pixels, on a real window (Mesa under Xvfb): which
// parts of a surface count as opaque, which batches reach OpenGL without
// blending, when the backdrop rectangle becomes a clear or no clear at all,
// and that a frame comes out the same with these paths on and off.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/gl_calls.h"
#include "graphics/graphics.h"
#include "host/glfw2/glfw2.h"
#include "tests/support/desktop_test_host.h"
#include "tests/support/display.h"

namespace {

constexpr int kW = 96, kH = 64;  // the window

// Each draw call that reached OpenGL, with whether blending was on; and the
// clears.
std::vector<bool> drawsBlended;
int clears = 0;

void Record() {
    drawsBlended.clear(), clears = 0;
    kr_gl.DrawElements = [](GLenum mode, GLsizei count, GLenum type, const void* indices) {
        drawsBlended.push_back(glIsEnabled(GL_BLEND));
        kr_gl_real.DrawElements(mode, count, type, indices);
    };
    kr_gl.DrawArrays = [](GLenum mode, GLint first, GLsizei count) {
        drawsBlended.push_back(glIsEnabled(GL_BLEND));
        kr_gl_real.DrawArrays(mode, first, count);
    };
    kr_gl.Clear = [](GLbitfield mask) { ++clears, kr_gl_real.Clear(mask); };
}

// A surface holding a copy of the given pixels (bytesPerPixel bytes each).
gxtkSurface* Loaded(int w, int h, int bpp, const std::vector<unsigned char>& bytes) {
    auto* data = static_cast<unsigned char*>(std::malloc(bytes.size()));
    std::memcpy(data, bytes.data(), bytes.size());
    auto* s = new gxtkSurface;
    s->SetData(data, w, h, bpp);
    return s;
}

// w x h RGBA pixels, opaque red but for the listed (x, y) pixels, alpha 0.
gxtkSurface* RedWithHoles(int w, int h, std::vector<std::pair<int, int>> holes) {
    std::vector<unsigned char> p(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < p.size(); i += 4) p[i] = 255, p[i + 3] = 255;
    for (auto [x, y] : holes) std::memset(&p[(static_cast<size_t>(y) * w + x) * 4], 0, 4);
    return Loaded(w, h, 4, p);
}

class OpaqueDraw : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::EnsureDisplay();
        ASSERT_EQ(glfw2::glfwInit(), 1);
        host.OpenFixedWindow(kW, kH);
        device = new gxtkGraphics;
        Begin();
    }
    void TearDown() override {
        kr_gl = kr_gl_real;
        glfw2::glfwCloseWindow();
    }
    // A frame as the graphics module opens one, then recording.
    void Begin() {
        device->BeginRender();
        device->SetColor(255, 255, 255), device->SetAlpha(1), device->SetBlend(0);
        device->SetScissor(0, 0, kW, kH);
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        Record();
    }
    std::vector<unsigned char> Pixels() {
        device->Flush();
        std::vector<unsigned char> p(kW * kH * 4);
        glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }
    DesktopTestHost host;
    gxtkGraphics* device = nullptr;
};

TEST(SurfaceOpacity, OpaqueRegionsAreThoseWithoutATranslucentPixelNearby) {
    // 48 x 48, one hole at (16, 16), the first pixel of the middle cell
    // (cells of 16 pixels); the margin of one reaches into it.
    gxtkSurface* s = RedWithHoles(48, 48, {{16, 16}});
    struct Case { int x, y, w, h; bool opaque; };
    const Case cases[] = {
        {0, 0, 48, 48, false},   // holds the hole
        {0, 0, 16, 16, false},   // diagonal neighbour of the hole
        {0, 0, 15, 15, true},    // a pixel further
        {32, 0, 16, 48, false},  // beside the hole's cell
        {33, 0, 15, 48, true},   // a pixel further
        {0, 32, 48, 16, false},  // below it
        {0, 17, 0, 5, false},    // empty
        {40, 40, 20, 20, true},  // reaching past the image: the part inside counts
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s->Opaque(c.x, c.y, c.w, c.h), c.opaque) << c.x << ", " << c.y << ", " << c.w << ", " << c.h;
    }
}

TEST(SurfaceOpacity, FormatsWritesAndReleaseChangeIt) {
    gxtkSurface* rgb = Loaded(2, 2, 3, std::vector<unsigned char>(12, 7));
    EXPECT_TRUE(rgb->Opaque(0, 0, 2, 2)) << "RGB has no alpha";
    gxtkSurface* grey = Loaded(2, 1, 2, {9, 255, 9, 255});
    EXPECT_TRUE(grey->Opaque(0, 0, 2, 1));
    gxtkSurface* greyHole = Loaded(2, 1, 2, {9, 255, 9, 254});
    EXPECT_FALSE(greyHole->Opaque(0, 0, 1, 1));

    // Pixels written later are looked at; only cells they touch change.
    gxtkSurface* s = RedWithHoles(48, 48, {});
    const unsigned clear = 0;
    s->SetSubData(40, 40, 1, 1, &clear, 1);
    EXPECT_FALSE(s->Opaque(32, 32, 16, 16));
    EXPECT_TRUE(s->Opaque(0, 0, 16, 16));
    s->Discard();
    EXPECT_FALSE(s->Opaque(0, 0, 16, 16)) << "no pixels: nothing known";
}

// Blending is off exactly for opaque draws.
TEST_F(OpaqueDraw, OnlyOpaqueBatchesAreDrawnWithoutBlending) {
    gxtkSurface* solid = RedWithHoles(32, 32, {});
    gxtkSurface* holed = RedWithHoles(32, 32, {{31, 31}});
    struct Case {
        const char* what;
        float alpha;
        int blend;
        gxtkSurface* surface;
        int srcX, srcY, srcW, srcH;
        bool blended;
    };
    const Case cases[] = {
        {"opaque colour", 1, 0, nullptr, 0, 0, 0, 0, false},
        {"translucent colour", 0.99f, 0, nullptr, 0, 0, 0, 0, true},
        {"additive", 1, 1, nullptr, 0, 0, 0, 0, true},
        {"blend 2 is alpha blending", 1, 2, nullptr, 0, 0, 0, 0, false},
        {"opaque image", 1, 0, solid, 0, 0, 32, 32, false},
        {"image with a hole", 1, 0, holed, 0, 0, 32, 32, true},
        {"opaque part of it", 1, 0, holed, 0, 0, 8, 8, false},
        {"opaque image, translucent colour", 0.5f, 0, solid, 0, 0, 32, 32, true},
    };
    for (const Case& c : cases) {
        device->SetAlpha(c.alpha), device->SetBlend(c.blend);
        if (c.surface) device->DrawSurface2(c.surface, 4, 4, c.srcX, c.srcY, c.srcW, c.srcH);
        else device->DrawRect(4, 4, 20, 20);
        device->Flush();
        ASSERT_EQ(drawsBlended.size(), 1u) << c.what;
        EXPECT_EQ(drawsBlended[0], c.blended) << c.what;
        drawsBlended.clear();
    }
}

// Draws of one batch: a large stretch of opaque ones (at least 64 x 64
// window pixels) is drawn without blending in a call of its own.
TEST_F(OpaqueDraw, LargeOpaqueStretchesOfABatchAreDrawnWithoutBlending) {
    enum Draw { kBig, kSmall, kSeeThrough };  // 70 x 60 and 10 x 10 opaque; 10 x 10 translucent
    struct Case {
        const char* what;
        std::vector<Draw> draws;
        std::vector<bool> blended;  // of each call reaching OpenGL
        bool fast = true;
    };
    // 20 stretches, more than the batch notes: the 16th, opaque, and all
    // after it are blended, in one call with the 15th.
    std::vector<Draw> alternating;
    for (int i = 0; i < 10; ++i) alternating.push_back(kSeeThrough), alternating.push_back(kBig);
    std::vector<bool> alternatingCalls;
    for (int i = 0; i < 7; ++i) alternatingCalls.push_back(true), alternatingCalls.push_back(false);
    alternatingCalls.push_back(true);
    const Case cases[] = {
        {"opaque only", {kBig, kSmall}, {false}},
        {"large opaque, then translucent", {kBig, kSeeThrough}, {false, true}},
        {"translucent, then large opaque", {kSeeThrough, kBig}, {true, false}},
        {"large opaque either side", {kBig, kSeeThrough, kSmall, kBig}, {false, true, false}},
        {"small opaque stretch, blended with the rest", {kSmall, kSeeThrough, kSmall}, {true}},
        {"more changes than noted", alternating, alternatingCalls},
        {"switched off", {kBig, kSeeThrough}, {true}, false},
    };
    for (const Case& c : cases) {
        device->opaqueFastPaths = c.fast;
        for (Draw d : c.draws) {
            device->SetAlpha(d == kSeeThrough ? 0.5f : 1);
            if (d == kBig) device->DrawRect(2, 2, 70, 60);
            else device->DrawRect(20, 20, 10, 10);
        }
        device->Flush();
        EXPECT_EQ(drawsBlended, c.blended) << c.what;
        drawsBlended.clear();
    }
}

// The backdrop rectangle over the whole window: a clear, none under an
// opaque image over the whole window, a draw wherever it could show less.
TEST_F(OpaqueDraw, TheWholeWindowRectangleBecomesAClearUnlessCovered) {
    gxtkSurface* solid = RedWithHoles(kW, kH, {});
    gxtkSurface* holed = RedWithHoles(kW, kH, {{0, 0}});
    struct Case {
        const char* what;
        float x, y, alpha;
        bool scissor;
        gxtkSurface* then;  // drawn over the whole window after it
        int clears, draws;
    };
    const Case cases[] = {
        {"whole window", -1, -1, 1, false, nullptr, 1, 0},
        {"exactly the window", 0, 0, 1, false, nullptr, 1, 0},
        {"a pixel short", 1, 0, 1, false, nullptr, 0, 1},
        {"translucent", -1, -1, 0.5f, false, nullptr, 0, 1},
        {"under a scissor", -1, -1, 1, true, nullptr, 0, 1},
        {"covered by an opaque image", -1, -1, 1, false, solid, 0, 1},
        {"under an image with a hole", -1, -1, 1, false, holed, 1, 1},
    };
    for (const Case& c : cases) {
        Begin();
        device->SetColor(10, 20, 30), device->SetAlpha(c.alpha);
        if (c.scissor) device->SetScissor(0, 0, kW, kH - 1);
        device->DrawRect(c.x, c.y, kW + 2, kH + 2);
        device->SetColor(255, 255, 255), device->SetAlpha(1);
        if (c.then) device->DrawSurface(c.then, 0, 0);
        device->EndRender();
        EXPECT_EQ(clears, c.clears) << c.what;
        EXPECT_EQ(static_cast<int>(drawsBlended.size()), c.draws) << c.what;
    }
}

// A frame of every kind of draw, with fractional colours, a clear that waits
// through a read-back and a scissor, images opaque and not, scaled and
// turned, a batch drawn in stretches: the same pixels with the fast paths
// on and off.
TEST_F(OpaqueDraw, AFrameLooksTheSameWithAndWithoutTheFastPaths) {
    gxtkSurface* solid = RedWithHoles(16, 16, {});
    gxtkSurface* holed = RedWithHoles(16, 16, {{3, 3}, {8, 8}});
    auto frame = [&](bool fast) {
        device->opaqueFastPaths = fast;
        Begin();
        device->SetColor(174.99f, 100.5f, 3), device->SetAlpha(1);
        device->DrawRect(-1, -1, kW + 2, kH + 2);
        Array<int> probe(4);
        device->ReadPixels(probe, 0, 0, 2, 2, 0, 2);
        device->SetColor(255, 255, 255);
        device->SetMatrix(1.7f, 0.4f, -0.4f, 1.7f, 30, 2);
        device->DrawSurface(solid, 0, 0);
        device->DrawSurface(holed, 12, 4);
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        device->SetScissor(10, 10, 40, 30);
        device->SetColor(0, 200, 90), device->SetAlpha(1);
        device->DrawOval(5, 5, 60, 40);
        device->SetAlpha(0.4f);
        device->DrawRect(20, 30, 50, 20);
        device->SetScissor(0, 0, kW, kH);
        device->SetBlend(1), device->SetAlpha(1);
        device->DrawLine(0, 60, 90, 3);
        device->SetBlend(0);
        // One batch of opaque, translucent and opaque rectangles.
        device->DrawRect(2, 2, 70, 60);
        device->SetAlpha(0.3f), device->SetColor(250, 10, 10);
        device->DrawRect(10, 10, 30, 30);
        device->SetAlpha(1), device->SetColor(10, 10, 250);
        device->DrawRect(4, 3, 64, 70);
        device->DrawSurface2(holed, 70, 40, 0, 0, 8, 8);
        std::vector<unsigned char> p = Pixels();
        for (int i = 0; i < 4; ++i) p.push_back(static_cast<unsigned char>(probe[i] >> 16 & 255));
        return p;
    };
    const std::vector<unsigned char> fast = frame(true), plain = frame(false);
    EXPECT_TRUE(fast == plain);
    EXPECT_EQ(fast[0], 174) << "the backdrop's red, truncated as a vertex colour is";
}

}  // namespace
