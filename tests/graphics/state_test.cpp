// Device state: premultiplied colour, blending, clearing, scissor and
// reading pixels back.
#include <cmath>

#include "tests/graphics/gl_harness.h"

namespace graphics_test {
namespace {

using StateTest = DeviceTest;

TEST_F(StateTest, ColourIsPremultipliedIntoEveryVertex) {
    device->SetColor(255, 128, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 10, 10);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    const auto* bytes =
        reinterpret_cast<const unsigned char*>(&recorder.draws[0].vertices[3].color);
    EXPECT_EQ(bytes[0], 127);
    EXPECT_EQ(bytes[1], 64);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 127);
    // Over black, premultiplied blending leaves the premultiplied colour.
    EXPECT_TRUE(ColourNear(PixelAt(5, 5), 127, 64, 0));
}

TEST_F(StateTest, ColourChangesDoNotFlush) {
    device->DrawRect(0, 0, 1, 1);
    device->SetColor(1, 2, 3);
    device->SetAlpha(0.25f);
    device->SetMatrix(2, 0, 0, 2, 0, 0);
    EXPECT_EQ(recorder.draws.size(), 0u);
}

TEST_F(StateTest, AlphaBlendingMixesWithTheBackground) {
    for (int mode : {0, 2, -7}) {  // every mode but 1 is alpha blending
        device->Cls(200, 200, 200);
        device->SetBlend(mode);
        device->SetColor(0, 0, 255);
        device->SetAlpha(0.5f);
        device->DrawRect(0, 0, 10, 10);
        device->Flush();
        // src (0, 0, 127, a 127) + dst * (1 - 127/255)
        EXPECT_TRUE(ColourNear(PixelAt(5, 5), 100, 100, 227)) << "mode " << mode;
    }
}

TEST_F(StateTest, AdditiveBlendingAdds) {
    device->Cls(100, 20, 0);
    device->SetBlend(1);
    device->SetColor(100, 50, 40);
    device->DrawRect(0, 0, 10, 10);
    device->SetBlend(0);  // flushes the additive batch under additive blending
    EXPECT_EQ(recorder.draws.size(), 1u);
    EXPECT_TRUE(ColourNear(PixelAt(5, 5), 200, 70, 40));
    EXPECT_TRUE(ColourNear(PixelAt(15, 5), 100, 20, 0));
}

TEST_F(StateTest, ClsDiscardsUnflushedDrawing) {
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 50, 50);
    device->Cls(0, 0, 255);
    device->Flush();
    EXPECT_EQ(recorder.draws.size(), 0u);
    EXPECT_TRUE(ColourNear(PixelAt(5, 5), 0, 0, 255));
}

TEST_F(StateTest, ScissorFlipsYAndTurnsOffForTheWholeWindow) {
    int w = device->Width(), h = device->Height();
    ASSERT_EQ(w, kWindowWidth);
    ASSERT_EQ(h, kWindowHeight);

    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(10, 20, 30, 40);
    EXPECT_EQ(recorder.draws.size(), 1u) << "scissor changes flush";
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], h - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);

    device->Cls(0, 255, 0);  // the clear is clipped too
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, static_cast<float>(w), 30);
    device->SetScissor(0, 0, w, h);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    EXPECT_TRUE(ColourNear(PixelAt(10, 20), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(39, 29), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(39, 30), 0, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(39, 59), 0, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(39, 60), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(40, 25), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(9, 25), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(10, 19), 0, 0, 0));

    device->SetScissor(0, 0, w - 1, h);  // not the whole window: on
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
}

// Only the exact identity leaves positions untransformed; any other value in
// any of the six places, a NaN included, counts as a transform.
TEST_F(StateTest, OnlyTheExactIdentityIsUntransformed) {
    const float identity[6] = {1, 0, 0, 1, 0, 0};
    auto set = [&](const float* m) { device->SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); };
    set(identity);
    EXPECT_FALSE(device->transformed);
    for (int i = 0; i < 6; ++i) {
        // The nearest float above, and a NaN.
        for (float other : {std::nextafter(identity[i], 2.0f), std::nanf("")}) {
            float m[6];
            std::copy(identity, identity + 6, m);
            m[i] = other;
            set(m);
            EXPECT_TRUE(device->transformed) << "value " << i << " = " << m[i];
        }
    }
    set(identity);
    EXPECT_FALSE(device->transformed);
    device->DrawPoint(2.5f, 3.5f);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_EQ(recorder.draws[0].vertices[0].x, 2.5f);
    EXPECT_EQ(recorder.draws[0].vertices[0].y, 3.5f);
}

TEST_F(StateTest, ReadPixelsTopRowFirstAsArgb) {
    const struct {
        int x, y;
        float r, g, b;
    } dots[4] = {{5, 5, 255, 0, 0}, {6, 5, 0, 255, 0}, {5, 6, 0, 0, 255}, {6, 6, 10, 20, 30}};
    for (const auto& d : dots) {
        device->SetColor(d.r, d.g, d.b);
        device->DrawRect(static_cast<float>(d.x), static_cast<float>(d.y), 1, 1);
    }
    // Unflushed drawing is flushed by the read.
    Array<int> out(11);
    for (int i = 0; i < 11; ++i) out[i] = -1;
    device->ReadPixels(out, 5, 5, 2, 2, 1, 5);
    EXPECT_EQ(recorder.draws.size(), 1u);
    EXPECT_EQ(out[0], -1);
    EXPECT_EQ(static_cast<std::uint32_t>(out[1]), 0xFFFF0000u);
    EXPECT_EQ(static_cast<std::uint32_t>(out[2]), 0xFF00FF00u);
    EXPECT_EQ(out[3], -1);
    EXPECT_EQ(static_cast<std::uint32_t>(out[6]), 0xFF0000FFu);
    EXPECT_EQ(static_cast<std::uint32_t>(out[7]), 0xFF0A141Eu);
    EXPECT_EQ(out[8], -1);

    device->ReadPixels(out, 5, 5, 2, 0, 0, 2);  // no rows: nothing written
    EXPECT_EQ(out[0], -1);
}

TEST_F(StateTest, WritePixels2PremultipliesIntoTheSurface) {
    gxtkSurface* s = device->CreateSurface(4, 2);
    Array<int> argb(9);
    for (int i = 0; i < 9; ++i) argb[i] = static_cast<int>(0x80FF0000u);
    device->DrawRect(0, 0, 1, 1);
    device->WritePixels2(s, argb, 1, 0, 2, 2, 1, 4);
    EXPECT_EQ(recorder.draws.size(), 1u) << "writing pixels flushes first";
    const unsigned char* p = s->pixels + 4;  // pixel (1, 0)
    EXPECT_EQ(p[0], 128);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 128);
}

TEST_F(StateTest, BeginRenderReadsTheWindowAndSetsUpOpenGL) {
    glDisable(GL_BLEND);
    glDisableClientState(GL_COLOR_ARRAY);
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(device->BeginRender(), 1);
    EXPECT_EQ(device->batchCount, 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWindowWidth);
    EXPECT_EQ(viewport[3], kWindowHeight);
    // (0, 0) is the top-left pixel.
    device->SetColor(255, 255, 0);
    device->DrawRect(0, 0, 1, 1);
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(0, 0), 255, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(0, 1), 0, 0, 0));
}

}  // namespace
}  // namespace graphics_test
