// The graphics device, surfaces, images and the graphics module, against a
// real window with a Mesa OpenGL context under Xvfb. A recorder sits in front
// of the real OpenGL draw, texture allocation and deletion calls (the kr_gl
// table); pixels are read back from OpenGL; image files are made with
// stb_image_write.
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <fstream>
#include <thread>

#include "framework/graphics.h"
#include "graphics/gl_calls.h"
#include "host/glfw2.h"
#include "host/glfw_game.h"
#include "tests/support/display.h"
#include "tests/support/process.h"

namespace {

constexpr int kW = 160, kH = 120;  // the window

// One call that reached OpenGL, with the vertices it read through the client
// array pointer OpenGL itself was given; texture 0 when texturing is off.
// counts: vertices per primitive run.
struct DrawCall { GLenum mode; std::vector<int> counts; std::vector<KrVertex> v; GLint texture; };
std::vector<DrawCall> draws;
std::vector<std::pair<int, int>> allocations;  // texture sizes asked for
std::vector<std::pair<GLuint, std::thread::id>> deletions;  // textures deleted, and where
bool refuseNonPowerOfTwo;  // makes OpenGL itself refuse such textures

void Record(GLenum mode, int first, const std::vector<int>& counts) {
    DrawCall call{mode, counts, {}, 0};
    if (glIsEnabled(GL_TEXTURE_2D)) glGetIntegerv(GL_TEXTURE_BINDING_2D, &call.texture);
    void* p = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &p);
    auto* v = static_cast<const KrVertex*>(p) + first;
    for (int n : counts) call.v.insert(call.v.end(), v, v + n), v += n;
    draws.push_back(call);
}

void InstallRecorder() {
    draws.clear(), allocations.clear(), deletions.clear(), refuseNonPowerOfTwo = false;
    kr_gl.DrawArrays = [](GLenum mode, GLint first, GLsizei count) {
        Record(mode, first, {count});
        kr_gl_real.DrawArrays(mode, first, count);
    };
    kr_gl.DrawElements = [](GLenum mode, GLsizei count, GLenum type, const void* indices) {
        auto* i = static_cast<const std::uint16_t*>(indices);
        Record(mode, 0, {count ? *std::max_element(i, i + count) + 1 : 0});
        kr_gl_real.DrawElements(mode, count, type, indices);
    };
    kr_gl.MultiDrawArrays = [](GLenum mode, const GLint* first, const GLsizei* count, GLsizei n) {
        Record(mode, first[0], std::vector<int>(count, count + n));  // runs are contiguous
        kr_gl_real.MultiDrawArrays(mode, first, count, n);
    };
    kr_gl.TexImage2D = [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h,
                          GLint border, GLenum format, GLenum type, const void* pixels) {
        allocations.push_back({w, h});
        bool refuse = refuseNonPowerOfTwo && ((w & (w - 1)) || (h & (h - 1)));
        // A negative width makes OpenGL raise GL_INVALID_VALUE for the device to find.
        kr_gl_real.TexImage2D(target, level, internal, refuse ? -1 : w, h, border, format, type,
                              pixels);
    };
    kr_gl.DeleteTextures = [](GLsizei n, const GLuint* names) {
        for (GLsizei i = 0; i < n; ++i) deletions.push_back({names[i], std::this_thread::get_id()});
        kr_gl_real.DeleteTextures(n, names);
    };
}

// Every window is a new context, so the graphics sequence number grows.
void OpenWindow() {
    testsupport::EnsureDisplay();
    ASSERT_EQ(glfw2::glfwInit(), 1);
    glfw2::glfwOpenWindowHint(glfw2::GLFW_WINDOW_NO_RESIZE, 1);
    ASSERT_TRUE(glfw2::glfwOpenWindow(kW, kH, 8, 8, 8, 0, 0, 0, glfw2::GLFW_WINDOW));
    ++glfwGraphicsSeq;
}

// Window pixels given as x, y from the top, r, g, b; each channel within 1.
void ExpectPixels(std::initializer_list<std::array<int, 5>> pixels) {
    for (auto [x, y, r, g, b] : pixels) {
        unsigned char p[4];
        glReadPixels(x, kH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        EXPECT_TRUE(std::abs(p[0] - r) <= 1 && std::abs(p[1] - g) <= 1 && std::abs(p[2] - b) <= 1)
            << "(" << x << ", " << y << ") is " << +p[0] << ", " << +p[1] << ", " << +p[2];
    }
}

// A window, a device behind the graphics module (which loads through the
// host object), a temporary folder, and a frame cleared to black.
class Graphics : public ::testing::Test {
protected:
    void SetUp() override {
        static KrGlfwGame* host = new KrGlfwGame;
        char name[] = "/tmp/vornhelm_graphics_XXXXXX";
        ASSERT_TRUE(host && mkdtemp(name));
        dir = name, OpenWindow();
        InstallRecorder();
        gc_assign(kr_graphics_context, (new c_GraphicsContext)->m_new());
        kr_graphics_SetGraphicsDevice(device = new gxtkGraphics);
        Frame();
    }
    void TearDown() override {
        kr_graphics_EndRender();
        kr_gl = kr_gl_real;
        glfw2::glfwCloseWindow();
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    void Frame() {
        kr_graphics_EndRender();
        device->BeginRender();
        kr_graphics_BeginRender();
        device->Cls(0, 0, 0);
        draws.clear();
    }
    // A surface of w x h from 0xAARRGGBB values, row by row.
    gxtkSurface* MakeSurface(int w, int h, const std::vector<unsigned>& argb) {
        gxtkSurface* s = device->CreateSurface(w, h);
        return s->SetSubData(0, 0, w, h, argb.data(), w), s;
    }
    // An image file of w x h with `n` bytes a pixel, byte c of pixel (x, y)
    // made by value(x, y, c); a .jpg name writes a JPEG.
    template <class F>
    std::string Write(const std::string& name, int w, int h, int n, F value) {
        std::vector<unsigned char> p(w * h * n);
        for (size_t i = 0; i < p.size(); ++i) p[i] = value(i / n % w, i / n / w, i % n);
        std::string file = dir + "/" + name;
        EXPECT_TRUE(name.find(".jpg") != std::string::npos
                        ? stbi_write_jpg(file.c_str(), w, h, n, p.data(), 95)
                        : stbi_write_png(file.c_str(), w, h, n, p.data(), w * n));
        return file;
    }
    c_Image* Load(const std::string& file, int frames, int flags) {
        return kr_graphics_LoadImage(String(file.c_str()), frames, flags);
    }
    gxtkGraphics* device = nullptr;
    std::string dir;
};

TEST_F(Graphics, RectanglesOfDifferentColoursAndMatricesShareOneDraw) {
    device->SetColor(255, 0, 0);
    device->SetMatrix(1, 0, 0, 1, 10, 20);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(0, 0, 255);
    device->SetMatrix(2, 0, 0, 2, 50, 40);
    device->DrawRect(0, 0, 10, 10);
    EXPECT_EQ(draws.size(), 0u) << "colour and matrix changes do not flush";
    device->Flush();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].mode, GLenum(GL_TRIANGLES));
    ASSERT_EQ(draws[0].v.size(), 8u);
    ExpectPixels({{10, 20, 255, 0, 0}, {19, 29, 255, 0, 0}, {20, 29, 0, 0, 0},
                  {69, 59, 0, 0, 255}, {70, 59, 0, 0, 0}});
}

TEST_F(Graphics, ASurfaceAfterARectangleFlushesTwoQuadsOfOneSurfaceDoNot) {
    gxtkSurface* s = MakeSurface(2, 2, std::vector<unsigned>(4, 0xFF00FF00));
    device->DrawRect(0, 0, 4, 4);
    device->DrawSurface(s, 10, 0);
    ASSERT_EQ(draws.size(), 1u) << "the rectangle went out";
    EXPECT_EQ(draws[0].texture, 0);
    device->DrawSurface2(s, 20, 0, 0, 0, 1, 1);
    device->Flush();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[1].texture, GLint(s->textureId));
    EXPECT_EQ(draws[1].v.size(), 8u);
    ExpectPixels({{1, 1, 255, 255, 255}, {11, 1, 0, 255, 0}, {20, 0, 0, 255, 0}, {21, 0, 0, 0, 0}});
}

TEST_F(Graphics, The257thQuadFlushesTheFirst256) {
    for (int i = 0; i < 256; ++i) device->DrawRect(i % 16, i / 16, 1, 1);
    EXPECT_EQ(draws.size(), 0u);
    device->DrawRect(0, 0, 1, 1);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].v.size(), 1024u);
    device->Flush();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[1].v.size(), 4u);
}

// Fewer than 2 values or more than 2048 draw nothing; one point is a point,
// four join the quads, more make a fan.
TEST_F(Graphics, DrawPolyByValueCount) {
    for (auto [values, mode, vertices] : std::vector<std::tuple<int, GLenum, int>>{
             {0, 0, 0}, {1, 0, 0}, {2, GL_POINTS, 1}, {8, GL_TRIANGLES, 4}, {2050, 0, 0},
             {2048, GL_TRIANGLE_FAN, 1024}}) {
        SCOPED_TRACE(values);
        draws.clear();
        Array<float> xy(values);
        for (int i = 0; i < values; ++i) xy[i] = static_cast<float>(i % 7 * 5);
        device->DrawPoly(xy);
        device->Flush();
        ASSERT_EQ(draws.size(), vertices ? 1u : 0u);
        if (!vertices) continue;
        EXPECT_EQ(draws[0].mode, mode);
        ASSERT_EQ(draws[0].v.size(), size_t(vertices));
        EXPECT_FLOAT_EQ(draws[0].v.back().y, xy[values - 1]);
    }
}

// The matrix (a, b, -b, a): the last is scaled by 2 and turned a quarter.
TEST_F(Graphics, OvalSegmentCounts) {
    for (auto [w, h, a, b, segments] : std::vector<std::array<float, 5>>{
             {10, 10, 1, 0, 12}, {100, 60, 1, 0, 80}, {4000, 10, 1, 0, 1024}, {30, 30, 1, 0, 28},
             {100, 60, 2, 0, 160}, {100, 60, 0, 2, 160}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h << " scale " << a + b);
        draws.clear();
        device->SetMatrix(a, b, -b, a, 0, 0);
        device->DrawOval(0, 0, w, h);
        device->Flush();
        ASSERT_EQ(draws.size(), 1u);
        EXPECT_EQ(draws[0].counts, std::vector<int>{int(segments)});
    }
}

TEST_F(Graphics, ColourIsPremultipliedAndClsDiscardsUnflushedDrawing) {
    device->SetColor(255, 128, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 10, 10);
    device->Flush();
    ASSERT_EQ(draws.size(), 1u);
    auto* bytes = reinterpret_cast<const unsigned char*>(&draws[0].v[3].color);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 4), (std::vector<int>{127, 64, 0, 127}));
    ExpectPixels({{5, 5, 127, 64, 0}});
    device->DrawRect(0, 0, 50, 50);
    device->Cls(0, 0, 255);
    device->Flush();
    EXPECT_EQ(draws.size(), 1u);
    ExpectPixels({{5, 5, 0, 0, 255}});
}

// Every mode but 1 is premultiplied alpha blending: 0, 0, 127 + 200 x (1 -
// 127/255); 1 adds.
TEST_F(Graphics, BlendModes) {
    for (auto [blend, alpha, cr, cg, cb, r, g, b] : std::vector<std::array<float, 8>>{
             {0, 0.5f, 0, 0, 255, 100, 100, 227}, {-7, 0.5f, 0, 0, 255, 100, 100, 227},
             {1, 1, 50, 10, 40, 250, 210, 240}}) {
        SCOPED_TRACE(blend);
        device->Cls(200, 200, 200);
        device->SetBlend(blend);
        device->SetColor(cr, cg, cb);
        device->SetAlpha(alpha);
        device->DrawRect(0, 0, 10, 10);
        device->Flush();
        ExpectPixels({{5, 5, int(r), int(g), int(b)}, {15, 5, 200, 200, 200}});
    }
}

TEST_F(Graphics, ScissorFlipsYAndTurnsOffForTheWholeWindow) {
    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(10, 20, 30, 40);
    EXPECT_EQ(draws.size(), 1u) << "scissor changes flush";
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(std::vector<int>(box, box + 4), (std::vector<int>{10, kH - 20 - 40, 30, 40}));
    device->Cls(0, 255, 0);  // the clear is clipped too
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, kW, 30);
    device->SetScissor(0, 0, kW - 1, kH);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    device->SetScissor(0, 0, kW, kH);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    ExpectPixels({{10, 20, 255, 0, 0}, {39, 29, 255, 0, 0}, {39, 30, 0, 255, 0},
                  {39, 59, 0, 255, 0}, {39, 60, 0, 0, 0}, {40, 25, 0, 0, 0}, {9, 25, 0, 0, 0},
                  {10, 19, 0, 0, 0}});
}

unsigned char* CopyOf(const std::vector<unsigned char>& bytes) {
    auto* block = static_cast<unsigned char*>(std::malloc(bytes.size()));
    return static_cast<unsigned char*>(std::memcpy(block, bytes.data(), bytes.size()));
}

// The surface's pixel copy, then what OpenGL holds in its texture.
std::vector<unsigned char> Bytes(gxtkSurface* s, bool texture = false) {
    std::vector<unsigned char> out(s->pixels, s->pixels + s->width * s->height * s->bytesPerPixel);
    glBindTexture(GL_TEXTURE_2D, s->textureId);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (texture) glGetTexImage(GL_TEXTURE_2D, 0, s->glFormat, GL_UNSIGNED_BYTE, out.data());
    return out;
}

TEST_F(Graphics, SurfacesPremultiplyGreyAlphaAndRgba) {
    using Bytes4 = std::vector<unsigned char>;
    for (auto [bpp, in, out] : std::vector<std::tuple<int, Bytes4, Bytes4>>{
             {2, {200, 128, 255, 255, 90, 0}, {100, 128, 255, 255, 0, 0}},
             {4, {255, 255, 255, 0, 100, 50, 0, 128, 255, 128, 100, 128},
              {0, 0, 0, 0, 50, 25, 0, 128, 128, 64, 50, 128}}}) {
        SCOPED_TRACE(bpp);
        gxtkSurface* s = new gxtkSurface;
        s->SetData(CopyOf(in), 3, 1, bpp);
        EXPECT_EQ(Bytes(s), out);
        s->Bind();
        EXPECT_EQ(Bytes(s, true), out);
    }
}

TEST_F(Graphics, SetSubDataWritesPremultipliedBytes) {
    gxtkSurface* s = MakeSurface(3, 2, {0x80FF0000, 0xFF00FF00, 0x00FFFFFF, 0xFF0000FF, 0x40808080,
                                        0xFFFFFFFF});  // whole rows: one upload
    std::vector<unsigned char> expected = {128, 0, 0,   128, 0,  255, 0,  255, 0,   0,   0,   0,
                                           0,   0, 255, 255, 32, 32,  32, 64,  255, 255, 255, 255};
    EXPECT_EQ(Bytes(s), expected);
    EXPECT_EQ(Bytes(s, true), expected);
    const unsigned column[4] = {0xFF112233, 0, 0xFF445566, 0};
    s->SetSubData(1, 0, 1, 2, column, 2);  // part rows, with a pitch of 2
    expected[4] = 0x11, expected[5] = 0x22, expected[6] = 0x33, expected[7] = 255;
    expected[16] = 0x44, expected[17] = 0x55, expected[18] = 0x66, expected[19] = 255;
    EXPECT_EQ(Bytes(s), expected);
    EXPECT_EQ(Bytes(s, true), expected);
}

TEST_F(Graphics, ANewWindowGetsANewTextureAndDiscardReleasesIt) {
    gxtkSurface* s = MakeSurface(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF});
    for (int window = 1; window <= 2; ++window) {
        if (window == 2) glfw2::glfwCloseWindow(), OpenWindow();
        Frame();
        device->SetMatrix(8, 0, 0, 8, 0, 0);  // 2 x 2 texels become 16 x 16 pixels
        device->DrawSurface(s, 0, 0);
        device->Flush();
        EXPECT_EQ(s->contextSeq, glfwGraphicsSeq);
        EXPECT_EQ(allocations.size(), size_t(window));
        ExpectPixels(
            {{2, 2, 255, 0, 0}, {13, 2, 0, 255, 0}, {2, 13, 0, 0, 255}, {13, 13, 128, 128, 128}});
    }
    unsigned id = s->textureId;
    ASSERT_TRUE(glIsTexture(id));
    EXPECT_EQ(s->Discard(), 0);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(s->pixels, nullptr);
}

TEST_F(Graphics, RefusedSizesFallBackToPowersOfTwo) {
    refuseNonPowerOfTwo = true;
    gxtkSurface* s = device->CreateSurface(100, 50);
    EXPECT_EQ(allocations, (std::vector<std::pair<int, int>>{{100, 50}, {128, 64}}));
    EXPECT_FLOAT_EQ(s->uScale, 1.0f / 128);
    EXPECT_FLOAT_EQ(s->vScale, 1.0f / 64);
    // The top-left 100 x 50 texels: a right column of red draws red exactly
    // in the last pixel column.
    std::vector<unsigned> argb(100 * 50, 0xFF0000FF);
    for (int y = 0; y < 50; ++y) argb[y * 100 + 99] = 0xFFFF0000;
    s->SetSubData(0, 0, 100, 50, argb.data(), 100);
    device->DrawSurface(s, 10, 10);
    device->Flush();
    ExpectPixels({{108, 30, 0, 0, 255}, {109, 30, 255, 0, 0}, {110, 30, 0, 0, 0}});
}

// New pixels for the surface of a pending batch drop its texture; the next
// draw of it makes the new one first, so its texture coordinates use the
// new size.
TEST_F(Graphics, NewDataForTheBatchSurfaceDrawsWithItsNewSize) {
    gxtkSurface* s = new gxtkSurface;
    s->SetData(CopyOf(std::vector<unsigned char>(2 * 2 * 4, 255)), 2, 2, 4);
    device->DrawSurface(s, 0, 0);
    // 4 x 1: blue left half, green right half.
    s->SetData(CopyOf({0, 0, 255, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0, 255, 0, 255}), 4, 1, 4);
    device->DrawSurface(s, 10, 10);
    device->Flush();
    ASSERT_EQ(draws.size(), 1u) << "still one batch";
    ASSERT_EQ(draws[0].v.size(), 8u);
    ExpectPixels({{11, 10, 0, 0, 255}, {13, 10, 0, 255, 0}});
}

// Pixels of the whole window that are not (r, g, b).
int PixelsOtherThan(int r, int g, int b) {
    std::vector<unsigned char> p(kW * kH * 4);
    glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    int other = 0;
    for (size_t i = 0; i < p.size(); i += 4) other += p[i] != r || p[i + 1] != g || p[i + 2] != b;
    return other;
}

// A surface wider than the largest texture OpenGL takes, at its exact size
// and at the power of two above, gets no texture and draws nothing, by
// any of the textured primitives; one at the largest size draws.
TEST_F(Graphics, SurfacesLargerThanTheLargestTextureDrawNothing) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    Array<float> quad(16);
    const float corners[16] = {0, 0, 0, 0, 50, 0, 50, 0, 50, 2, 50, 2, 0, 2, 0, 2};
    std::copy(corners, corners + 16, &quad[0]);
    for (auto [what, width, bpp, byte, draws] : std::vector<std::tuple<const char*, int, int, int, bool>>{
             {"transparent RGBA, one wider", largest + 1, 4, 0, false},
             {"white grey, twice as wide", 2 * largest, 1, 255, false},
             {"white RGBA, the largest", largest, 4, 255, true}}) {
        for (int primitive = 0; primitive < 3; ++primitive) {
            SCOPED_TRACE(testing::Message() << what << ", primitive " << primitive);
            allocations.clear();
            gxtkSurface* s = new gxtkSurface;
            s->SetData(CopyOf(std::vector<unsigned char>(size_t(width) * 2 * bpp, byte)), width, 2, bpp);
            device->Cls(30, 60, 90);
            device->SetMatrix(1, 0, 0, 40, 0, 0);  // two rows become 80
            if (primitive == 0) device->DrawSurface(s, 0, 0);
            if (primitive == 1) device->DrawSurface2(s, 0, 0, 0, 0, 100, 2);
            if (primitive == 2) device->DrawPoly2(quad, s, 0, 0);
            device->Flush();
            EXPECT_EQ(s->TextureUsable(), draws);
            EXPECT_EQ(allocations.size(), draws ? 1u : 2u) << "exact size, then the power of two";
            int changed = PixelsOtherThan(30, 60, 90);
            if (draws) EXPECT_GE(changed, 50 * 80);
            else EXPECT_EQ(changed, 0);
            s->Discard();
        }
    }
}

// The unsafe half of a load replaces the pixels of a surface that has a
// texture without an OpenGL call, on whatever thread; the texture it gives
// up is deleted by the next bind on the context's thread, which shows the
// new pixels.
TEST_F(Graphics, UnsafeLoadMakesNoOpenGLCallTheNextBindDeletesTheOldTexture) {
    std::string red = Write("red.png", 4, 4, 3, [](int, int, int c) { return c == 0 ? 255 : 0; });
    std::string green = Write("green.png", 4, 4, 3, [](int, int, int c) { return c == 1 ? 255 : 0; });
    for (bool elsewhere : {false, true}) {
        SCOPED_TRACE(elsewhere ? "on another thread" : "on the context's thread");
        gxtkSurface* s = device->LoadSurface(String(red.c_str()));
        ASSERT_NE(s, nullptr);
        GLuint old = s->textureId;
        ASSERT_TRUE(glIsTexture(old));
        deletions.clear();
        gxtkSurface* loaded = nullptr;
        auto load = [&] { loaded = device->LoadSurface__UNSAFE__(s, String(green.c_str())); };
        if (elsewhere) std::thread(load).join();
        else load();
        EXPECT_EQ(loaded, s);
        EXPECT_TRUE(deletions.empty());
        EXPECT_TRUE(glIsTexture(old)) << "still there until the next bind";
        EXPECT_TRUE(s->OnUnsafeLoadComplete());
        ASSERT_EQ(deletions.size(), 1u);
        EXPECT_EQ(deletions[0].first, old);
        EXPECT_EQ(deletions[0].second, std::this_thread::get_id());
        EXPECT_TRUE(s->textureId == old || !glIsTexture(old));
        device->SetMatrix(4, 0, 0, 4, 0, 0);
        device->DrawSurface(s, 0, 0);
        device->Flush();
        ExpectPixels({{8, 8, 0, 255, 0}});
        s->Discard();
    }
}

// A texture given up in one context is forgotten, not deleted, in the next:
// its name there may belong to another surface.
TEST_F(Graphics, ATextureGivenUpBeforeANewWindowIsNotDeletedInIt) {
    gxtkSurface* a = MakeSurface(1, 1, {0xFFFF0000});
    a->SetData(CopyOf({0, 0, 255, 255}), 1, 1, 4);
    glfw2::glfwCloseWindow(), OpenWindow();
    Frame();
    gxtkSurface* b = MakeSurface(1, 1, {0xFF00FF00});
    deletions.clear();
    device->SetMatrix(8, 0, 0, 8, 0, 0);
    device->DrawSurface(a, 0, 0);
    device->DrawSurface(b, 1, 0);
    device->Flush();
    EXPECT_TRUE(deletions.empty());
    EXPECT_TRUE(glIsTexture(b->textureId));
    EXPECT_NE(a->textureId, b->textureId);
    ExpectPixels({{4, 4, 0, 0, 255}, {12, 4, 0, 255, 0}});
}

std::string Frames(c_Image* img) {
    std::ostringstream s;
    for (int i = 0; i < img->m_frames.Length(); ++i)
        s << img->m_frames[i]->m_x << "," << img->m_frames[i]->m_y << " ";
    return s.str() + (img->m_flags & c_Image::kWholeSurface ? "whole" : "");
}

TEST_F(Graphics, ImageStripsBordersAndTheWholeSurfaceFlag) {
    std::string file = Write("strip.png", 96, 16, 4, [](int, int, int) { return 255; });
    const int h = c_Image::kHorizontalBorder, v = c_Image::kVerticalBorder;
    for (auto [frames, flags, width, height, layout] :
         std::vector<std::tuple<int, int, int, int, const char*>>{
             {3, 0, 32, 16, "0,0 32,0 64,0 "}, {3, h, 30, 16, "1,0 33,0 65,0 "},
             {3, h | v, 30, 14, "1,1 33,1 65,1 "}, {1, 0, 96, 16, "0,0 whole"},
             {1, h, 94, 16, "1,0 "}, {1, v, 96, 14, "0,1 "}}) {
        SCOPED_TRACE(testing::Message() << frames << " frames, flags " << flags);
        c_Image* img = Load(file, frames, flags);
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(std::make_pair(img->m_width, img->m_height), std::make_pair(width, height));
        EXPECT_EQ(Frames(img), layout);
    }
    c_Image* grabbed = Load(file, 1, 0)->p_GrabImage(0, 0, 40, 8, 3, 0);  // into rows
    ASSERT_NE(grabbed, nullptr);
    EXPECT_EQ(Frames(grabbed), "0,0 40,0 0,8 ");
}

TEST_F(Graphics, TranslateThenScaleAndDrawEllipsesBox) {
    kr_graphics_Translate(10, 0);
    kr_graphics_Scale(2, 2);
    kr_graphics_DrawRect(1, 0, 1, 1);
    kr_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kr_graphics_DrawEllipse(50, 50, 10, 5);
    device->Flush();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].v[0].x, 12);  // (1, 0) -> (12, 0)
    EXPECT_FLOAT_EQ(draws[0].v[2].x, 14);
    EXPECT_FLOAT_EQ(draws[0].v[2].y, 2);
    float box[4] = {1e9f, -1e9f, 1e9f, -1e9f}, want[4] = {40, 60, 45, 55};
    for (const KrVertex& p : draws[1].v)
        box[0] = std::min(box[0], p.x), box[1] = std::max(box[1], p.x),
        box[2] = std::min(box[2], p.y), box[3] = std::max(box[3], p.y);
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(box[k], want[k], 1e-4) << k;
}

// A pop without a push is ignored; pushes beyond 32 levels are refused and
// so are the pops that would pair with them.
TEST_F(Graphics, MatrixStackOverflowAndUnderflowAreSafe) {
    kr_graphics_Translate(3, 0);
    kr_graphics_PopMatrix();
    EXPECT_FLOAT_EQ(kr_graphics_context->m_tx, 3);
    for (int i = 0; i < 34; ++i) {
        kr_graphics_SetMatrix(1, 0, 0, 1, float(i), 0);
        kr_graphics_PushMatrix();
    }
    EXPECT_EQ(kr_graphics_context->m_stackTop, 192);
    kr_graphics_SetMatrix(1, 0, 0, 1, 99, 0);
    for (int i = 33; i >= -1; --i) {
        kr_graphics_PopMatrix();
        ASSERT_FLOAT_EQ(kr_graphics_context->m_tx, std::clamp(i, 0, 31) + 68 * (i >= 32)) << i;
    }
    EXPECT_EQ(kr_graphics_context->m_stackTop, 0);
}

TEST_F(Graphics, DecodingKeepsTheFilesOwnChannelCount) {
    for (auto [name, channels] : std::vector<std::tuple<const char*, int>>{
             {"grey.png", 1}, {"rgb.jpg", 3}, {"rgba.png", 4}}) {
        SCOPED_TRACE(name);
        std::string file =
            Write(name, 8, 4, channels, [](int x, int, int c) { return 200 - 90 * (x > 3) + c; });
        int w = 0, h = 0, bpp = 0;
        auto* data = KrGlfwGame::_glfwGame->LoadImageData(String(file.c_str()), &w, &h, &bpp);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::vector<int>({w, h, bpp}), std::vector<int>({8, 4, channels}));
        EXPECT_NEAR(data[channels - 1], 200 + channels - 1, 3);
        EXPECT_NEAR(data[channels * 7], 110, 8);
        std::free(data);
    }
}

TEST_F(Graphics, MissingTruncatedOrCorruptFilesGiveNoImageAndNoMessage) {
    std::string good = Write("good.png", 32, 32, 4, [](int x, int y, int c) { return x * y + c; });
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(dir + "/truncated.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    for (size_t i = 40; i < bytes.size(); i += 3) bytes[i] ^= 0x5A;
    std::ofstream(dir + "/corrupt.png", std::ios::binary) << bytes;
    for (const char* name : {"missing.png", "truncated.png", "corrupt.png"}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(Load(dir + "/" + name, 1, 0), nullptr);
        std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said + testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_NE(Load(good, 1, 0), nullptr);
}

// Each misuse runs in a child process (apps/graphics_fatal.cpp) and must end
// with its runtime error, not a crash; "grab-fits" is the control.
TEST(GraphicsFatal, MisusesEndWithTheirMessage) {
    for (auto [what, message] : std::vector<std::pair<const char*, const char*>>{
             {"grab-below", "Image frame outside surface"}, {"grab-fits", nullptr},
             {"grab-wide", "Image frame outside surface"},
             {"short-matrix", "Matrix array needs 6 values"},
             {"short-transform", "Matrix array needs 6 values"},
             {"draw-outside-frame", "Graphics operation outside a render frame"},
             {"no-frames", "Image frame count must be at least 1"}}) {
        SCOPED_TRACE(what);
        auto r = testsupport::RunProcess({testsupport::TestAppPath("graphics_fatal"), what});
        std::string want = message ? std::string("Tandor Runtime Error : ") + message + "\n" : "";
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exitCode, message ? 255 : 3);
        EXPECT_EQ(message ? r.out.substr(0, want.size()) : r.out, want);
    }
}

}  // namespace
