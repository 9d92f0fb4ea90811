// Surfaces: the premultiplied pixel copy, textures made lazily and again in
// a new context, the power-of-two retry, sub-rectangle writes and release.
#include <cstdlib>
#include <cstring>

#include "tests/graphics/gl_harness.h"

namespace graphics_test {
namespace {

unsigned char* CopyOf(std::vector<unsigned char> bytes) {
    auto* block = static_cast<unsigned char*>(std::malloc(bytes.size()));
    std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

std::vector<unsigned char> Bytes(const gxtkSurface* s) {
    return std::vector<unsigned char>(s->pixels,
                                      s->pixels + s->width * s->height * s->bytesPerPixel);
}

// What OpenGL holds in the surface's texture, level 0, in its own format.
std::vector<unsigned char> TextureBytes(gxtkSurface* s, int bytesPerPixel) {
    glBindTexture(GL_TEXTURE_2D, s->textureId);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * bytesPerPixel);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, s->glFormat, GL_UNSIGNED_BYTE, out.data());
    return out;
}

// Premultiplication needs no window.
TEST(SurfaceData, PremultipliesByFormat) {
    gxtkSurface* grey = new gxtkSurface;
    grey->SetData(CopyOf({7, 200}), 2, 1, 1);
    EXPECT_EQ(grey->glFormat, GL_LUMINANCE);
    EXPECT_EQ(Bytes(grey), (std::vector<unsigned char>{7, 200}));

    gxtkSurface* greyAlpha = new gxtkSurface;
    greyAlpha->SetData(CopyOf({200, 128, 255, 255, 90, 0}), 3, 1, 2);
    EXPECT_EQ(greyAlpha->glFormat, GL_LUMINANCE_ALPHA);
    EXPECT_EQ(Bytes(greyAlpha), (std::vector<unsigned char>{100, 128, 255, 255, 0, 0}));

    gxtkSurface* rgb = new gxtkSurface;
    rgb->SetData(CopyOf({1, 2, 3}), 1, 1, 3);
    EXPECT_EQ(rgb->glFormat, GL_RGB);
    EXPECT_EQ(Bytes(rgb), (std::vector<unsigned char>{1, 2, 3}));

    gxtkSurface* rgba = new gxtkSurface;
    rgba->SetData(CopyOf({255, 255, 255, 0, 100, 50, 0, 128, 255, 128, 100, 128}), 3, 1, 4);
    EXPECT_EQ(rgba->glFormat, GL_RGBA);
    EXPECT_EQ(Bytes(rgba),
              (std::vector<unsigned char>{0, 0, 0, 0, 50, 25, 0, 128, 128, 64, 50, 128}));
    EXPECT_EQ(rgba->Width(), 3);
    EXPECT_EQ(rgba->Height(), 1);
    EXPECT_TRUE(rgba->Loaded());
}

TEST(SurfaceData, NoWindowNoTexture) {
    ASSERT_EQ(glfwGraphicsSeq, 0);
    gxtkSurface* s = new gxtkSurface;
    EXPECT_EQ(s->contextSeq, -1);
    s->SetData(CopyOf({1, 2, 3, 255}), 1, 1, 4);
    s->Bind();
    EXPECT_EQ(s->contextSeq, -1);
    EXPECT_EQ(s->textureId, 0u);
    EXPECT_TRUE(s->OnUnsafeLoadComplete());
}

TEST(SurfaceWindow, MadeOnFirstDrawAfterTheWindowOpensAndAgainInANewWindow) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf({255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128}), 2, 2,
               4);
    s->Bind();  // no window yet
    EXPECT_EQ(s->contextSeq, -1);

    OpenWindow();
    InstallRecorder();
    gxtkGraphics* device = new gxtkGraphics;
    auto drawAndCheck = [&] {
        device->BeginRender();
        device->SetColor(255, 255, 255);
        device->SetAlpha(1);
        device->SetMatrix(8, 0, 0, 8, 0, 0);  // 2 x 2 texels become 16 x 16 pixels
        device->Cls(0, 0, 0);
        device->DrawSurface(s, 0, 0);
        device->Flush();
        EXPECT_EQ(s->contextSeq, glfwGraphicsSeq);
        EXPECT_TRUE(glIsTexture(s->textureId));
        EXPECT_TRUE(ColourNear(PixelAt(2, 2), 255, 0, 0));
        EXPECT_TRUE(ColourNear(PixelAt(13, 2), 0, 255, 0));
        EXPECT_TRUE(ColourNear(PixelAt(2, 13), 0, 0, 255));
        EXPECT_TRUE(ColourNear(PixelAt(13, 13), 128, 128, 128));  // premultiplied over black
        EXPECT_TRUE(ColourNear(PixelAt(17, 2), 0, 0, 0));
    };
    drawAndCheck();
    int firstSeq = s->contextSeq;
    EXPECT_EQ(recorder.allocations.size(), 1u);
    // Once made, the texture is reused.
    drawAndCheck();
    EXPECT_EQ(recorder.allocations.size(), 1u);

    ReopenWindow();
    EXPECT_NE(s->contextSeq, glfwGraphicsSeq);
    drawAndCheck();
    EXPECT_EQ(s->contextSeq, firstSeq + 1);
    EXPECT_EQ(recorder.allocations.size(), 2u) << "re-made in the new context";
    EXPECT_NE(s->pixels, nullptr) << "the copy stays for the next context";

    unsigned id = s->textureId;
    EXPECT_EQ(s->Discard(), 0);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(s->contextSeq, -1);
    EXPECT_EQ(s->pixels, nullptr);
    RemoveRecorder();
}

// Texture names restart in every new context, so a surface made in an
// earlier window may hold the same name as a live texture of the current
// one; releasing it must leave that texture alone.
TEST(SurfaceWindow, DiscardLeavesTheTexturesOfANewerWindowAlone) {
    OpenWindow();
    gxtkGraphics* device = new gxtkGraphics;
    gxtkSurface* old = device->CreateSurface(4, 4);
    int oldSeq = old->contextSeq;
    ASSERT_EQ(oldSeq, glfwGraphicsSeq);

    ReopenWindow();
    gxtkSurface* current = device->CreateSurface(4, 4);
    ASSERT_EQ(current->textureId, old->textureId) << "the new context reuses the name";
    const unsigned int red = 0xFFFF0000;
    old->SetSubData(0, 0, 1, 1, &red, 1);  // gives it a pixel copy to release
    EXPECT_EQ(old->Discard(), 0);
    EXPECT_TRUE(glIsTexture(current->textureId));
    EXPECT_EQ(old->contextSeq, oldSeq) << "only a texture of this context is released";
    EXPECT_EQ(old->pixels, nullptr);

    EXPECT_EQ(current->Discard(), 0);
    EXPECT_FALSE(glIsTexture(current->textureId));
    EXPECT_EQ(current->contextSeq, -1);
}

using SurfaceTest = DeviceTest;

TEST_F(SurfaceTest, TexturesSampleNearestAndClampToTheEdge) {
    gxtkSurface* s = MakeSurface(2, 1, {0xFFFF0000, 0xFF00FF00});
    glBindTexture(GL_TEXTURE_2D, s->textureId);
    const struct {
        GLenum name;
        GLint value;
    } params[] = {{GL_TEXTURE_MAG_FILTER, GL_NEAREST},
                  {GL_TEXTURE_MIN_FILTER, GL_NEAREST},
                  {GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
                  {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE}};
    for (const auto& p : params) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, p.name, &value);
        EXPECT_EQ(value, p.value) << "parameter 0x" << std::hex << p.name;
    }
    GLint levelOneWidth = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
    EXPECT_EQ(levelOneWidth, 0) << "no mipmaps";

    // Magnified 20 times: hard edges, no blend of red and green between.
    device->SetMatrix(20, 0, 0, 20, 0, 0);
    device->DrawSurface(s, 0, 0);
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(18, 5), 255, 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(21, 5), 0, 255, 0, 0));
}

// New pixels for the surface of a pending batch drop its texture; the next
// draw of it makes the new one first, so that its texture coordinates use
// the new size.
TEST_F(SurfaceTest, NewDataForTheBatchSurfaceDrawsWithItsNewSize) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf(std::vector<unsigned char>(2 * 2 * 4, 255)), 2, 2, 4);
    device->DrawSurface(s, 0, 0);
    ASSERT_FLOAT_EQ(s->uScale, 0.5f);
    // 4 x 1: blue left half, green right half.
    s->SetData(CopyOf({0, 0, 255, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0, 255, 0, 255}), 4, 1, 4);
    device->DrawSurface(s, 10, 10);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u) << "still one batch";
    const auto& v = recorder.draws[0].vertices;
    ASSERT_EQ(v.size(), 8u);
    EXPECT_FLOAT_EQ(v[6].u, 1);
    EXPECT_FLOAT_EQ(v[6].v, 1);
    EXPECT_TRUE(ColourNear(PixelAt(11, 10), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(13, 10), 0, 255, 0));
}

TEST_F(SurfaceTest, UploadsThePremultipliedCopyInEveryFormat) {
    struct Case {
        int bpp;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {1, {10, 20, 30, 40, 50, 60}},
        {2, {200, 128, 10, 255, 30, 0, 40, 255, 50, 255, 60, 255}},
        {3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
    };
    for (const Case& c : cases) {
        gxtkSurface* s = new gxtkSurface;
        s->SetData(CopyOf(c.bytes), 3, 2, c.bpp);  // rows of 3, 6 and 9 bytes: no padding
        s->Bind();
        EXPECT_EQ(TextureBytes(s, c.bpp), Bytes(s)) << c.bpp << " bytes per pixel";
    }
}

TEST_F(SurfaceTest, NewDataReplacesTheOldImageAndItsTexture) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf({1, 2, 3, 4, 5, 6}), 2, 1, 3);
    s->Bind();
    unsigned oldTexture = s->textureId;
    s->SetData(CopyOf({9, 8, 7, 6, 5, 4, 3, 2}), 1, 2, 4);
    EXPECT_FALSE(glIsTexture(oldTexture));
    s->Bind();
    EXPECT_EQ(s->Height(), 2);
    EXPECT_EQ(TextureBytes(s, 4), Bytes(s));
}

TEST_F(SurfaceTest, SetSubDataWritesPremultipliedBytes) {
    gxtkSurface* s = device->CreateSurface(3, 2);
    EXPECT_EQ(s->bytesPerPixel, 4);
    EXPECT_EQ(s->glFormat, GL_RGBA);
    EXPECT_EQ(s->pixels, nullptr);
    ASSERT_EQ(s->contextSeq, glfwGraphicsSeq);

    const unsigned int whole[6] = {0x80FF0000, 0xFF00FF00, 0x00FFFFFF,
                                   0xFF0000FF, 0x40808080, 0xFFFFFFFF};
    s->SetSubData(0, 0, 3, 2, whole, 3);  // whole rows: one upload
    std::vector<unsigned char> expected = {128, 0, 0,   128, 0,  255, 0,  255, 0,   0,   0,   0,
                                           0,   0, 255, 255, 32, 32,  32, 64,  255, 255, 255, 255};
    EXPECT_EQ(Bytes(s), expected);
    EXPECT_EQ(TextureBytes(s, 4), expected);

    const unsigned int column[4] = {0xFF112233, 0, 0xFF445566, 0};
    s->SetSubData(1, 0, 1, 2, column, 2);  // part rows: row by row
    expected[4] = 0x11, expected[5] = 0x22, expected[6] = 0x33, expected[7] = 255;
    expected[16] = 0x44, expected[17] = 0x55, expected[18] = 0x66, expected[19] = 255;
    EXPECT_EQ(Bytes(s), expected);
    EXPECT_EQ(TextureBytes(s, 4), expected);
}

TEST_F(SurfaceTest, SetSubDataIgnoresSurfacesThatAreNotRgba) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf({1, 2, 3, 4, 5, 6}), 2, 1, 3);
    s->Bind();
    const unsigned int red[2] = {0xFFFF0000, 0xFFFF0000};
    s->SetSubData(0, 0, 2, 1, red, 2);
    EXPECT_EQ(Bytes(s), (std::vector<unsigned char>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(TextureBytes(s, 3), Bytes(s));
}

TEST_F(SurfaceTest, SetSubDataWithoutTextureChangesOnlyTheCopy) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf(std::vector<unsigned char>(2 * 2 * 4, 255)), 2, 2, 4);
    const unsigned int green = 0xFF00FF00;
    s->SetSubData(1, 1, 1, 1, &green, 1);
    EXPECT_EQ(s->contextSeq, -1);
    EXPECT_EQ(recorder.allocations.size(), 0u);
    device->SetMatrix(8, 0, 0, 8, 0, 0);
    device->DrawSurface(s, 0, 0);
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(12, 12), 0, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(4, 4), 255, 255, 255));
}

TEST_F(SurfaceTest, RefusedSizeFallsBackToPowersOfTwo) {
    recorder.refuseNonPowerOfTwo = true;
    gxtkSurface* s = device->CreateSurface(100, 50);
    ASSERT_EQ(recorder.allocations.size(), 2u);
    EXPECT_EQ(recorder.allocations[0].width, 100);
    EXPECT_TRUE(recorder.allocations[0].refused);
    EXPECT_EQ(recorder.allocations[1].width, 128);
    EXPECT_EQ(recorder.allocations[1].height, 64);
    EXPECT_FLOAT_EQ(s->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(s->vScale, 1.0f / 64);
    glBindTexture(GL_TEXTURE_2D, s->textureId);
    GLint w = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 128);

    // Texture coordinates address the top-left 100 x 50 texels: a surface
    // whose right column is red draws red exactly in its last pixel column.
    std::vector<unsigned int> argb(100 * 50, 0xFF0000FF);
    for (int y = 0; y < 50; ++y) argb[y * 100 + 99] = 0xFFFF0000;
    s->SetSubData(0, 0, 100, 50, argb.data(), 100);
    device->DrawSurface(s, 10, 10);
    device->DrawSurface2(s, 10, 70, 90, 40, 10, 10);
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(108, 30), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(109, 30), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(110, 30), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(18, 75), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(19, 75), 255, 0, 0));

    // Power-of-two sizes are made at once.
    recorder.allocations.clear();
    device->CreateSurface(64, 16);
    EXPECT_EQ(recorder.allocations.size(), 1u);

    // Each side grows to the next power of two on its own; 1 for sides of
    // 0 or 1.
    const struct {
        int w, h, texW, texH;
    } sizes[] = {{65, 1, 128, 1}, {1, 3, 1, 4}, {0, 5, 1, 8}, {3, 0, 4, 1}, {257, 33, 512, 64}};
    for (const auto& size : sizes) {
        recorder.allocations.clear();
        gxtkSurface* refused = device->CreateSurface(size.w, size.h);
        ASSERT_EQ(recorder.allocations.size(), 2u) << size.w << " x " << size.h;
        EXPECT_EQ(recorder.allocations[1].width, size.texW) << size.w << " x " << size.h;
        EXPECT_EQ(recorder.allocations[1].height, size.texH) << size.w << " x " << size.h;
        EXPECT_FLOAT_EQ(refused->uScale, 1.0f / size.texW);
        EXPECT_FLOAT_EQ(refused->vScale, 1.0f / size.texH);
    }
}

TEST_F(SurfaceTest, StaleErrorsAreNotTakenForARefusal) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, -12345);  // leaves an error pending
    gxtkSurface* s = device->CreateSurface(100, 50);
    EXPECT_EQ(recorder.allocations.size(), 1u);
    EXPECT_FLOAT_EQ(s->uScale, 1.0f / 100);
}

TEST_F(SurfaceTest, CollectorReleasesTheTextureOfAnUnreachableSurface) {
    gxtkSurface* s = device->CreateSurface(64, 64);
    unsigned id = s->textureId;
    ASSERT_TRUE(glIsTexture(id));
    device->BeginRender();  // the device no longer refers to any surface
    s = nullptr;
    gc_collect_all();
    gc_collect_all();
    // Destruction of garbage is paid for by later allocations.
    for (int i = 0; i < 64 && glIsTexture(id); ++i) Array<int> filler(1024);
    EXPECT_FALSE(glIsTexture(id));
}

}  // namespace
}  // namespace graphics_test
