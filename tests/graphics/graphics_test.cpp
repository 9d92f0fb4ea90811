// SPDX-License-Identifier: Zlib
// The graphics device, surfaces, images and the graphics module on a real
// window (Mesa under Xvfb). A recorder sits in front of the real OpenGL draw,
// texture allocation and deletion calls (the kr_gl table).
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <fstream>
#include <numeric>
#include <thread>

#include "framework/graphics.h"
#include "graphics/gl_calls.h"
#include "host/glfw2/glfw2.h"
#include "host/headless/headless_game.h"
#include "host/desktop/glfw_game.h"
#include "tests/support/display.h"
#include "tests/support/process.h"

namespace {

constexpr int kW = 160, kH = 120;  // the window

// One call that reached OpenGL: its mode and how many vertices it drew.
struct DrawCall { GLenum mode; int vertices; };
std::vector<DrawCall> draws;
std::vector<std::pair<int, int>> allocations;  // texture sizes asked for
std::vector<std::pair<GLuint, std::thread::id>> deletions;  // textures deleted, and where

void InstallRecorder() {
    draws.clear(), allocations.clear(), deletions.clear();
    kr_gl.DrawArrays = [](GLenum mode, GLint first, GLsizei count) {
        draws.push_back({mode, count});
        kr_gl_real.DrawArrays(mode, first, count);
    };
    kr_gl.DrawElements = [](GLenum mode, GLsizei count, GLenum type, const void* indices) {
        auto* i = static_cast<const std::uint16_t*>(indices);
        draws.push_back({mode, count ? *std::max_element(i, i + count) + 1 : 0});
        kr_gl_real.DrawElements(mode, count, type, indices);
    };
    kr_gl.MultiDrawArrays = [](GLenum mode, const GLint* first, const GLsizei* count, GLsizei n) {
        draws.push_back({mode, std::accumulate(count, count + n, 0)});
        kr_gl_real.MultiDrawArrays(mode, first, count, n);
    };
    kr_gl.TexImage2D = [](GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h,
                          GLint border, GLenum format, GLenum type, const void* pixels) {
        allocations.push_back({w, h});
        kr_gl_real.TexImage2D(target, level, internal, w, h, border, format, type, pixels);
    };
    kr_gl.DeleteTextures = [](GLsizei n, const GLuint* names) {
        for (GLsizei i = 0; i < n; ++i) deletions.push_back({names[i], std::this_thread::get_id()});
        kr_gl_real.DeleteTextures(n, names);
    };
}

// The desktop host: it decodes images, and every window it opens is a new
// context.
KrGlfwGame* TestHost() {
    static KrGlfwGame* host = new KrGlfwGame;
    return host;
}

void OpenWindow() {
    testsupport::EnsureDisplay();
    ASSERT_EQ(glfw2::glfwInit(), 1);
    KrWindowRequest request;
    request.width = kW, request.height = kH, request.resizable = false;
    TestHost()->OpenWindow(request);
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
        char name[] = "/tmp/vornhelm_graphics_XXXXXX";
        ASSERT_TRUE(TestHost() && mkdtemp(name));
        dir = name, OpenWindow(), InstallRecorder();
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
        kr_graphics_EndRender(), device->BeginRender(), kr_graphics_BeginRender();
        device->Cls(0, 0, 0), draws.clear();
    }
    // A surface of w x h from 0xAARRGGBB values, row by row.
    gxtkSurface* MakeSurface(int w, int h, const std::vector<unsigned>& argb) {
        gxtkSurface* s = device->CreateSurface(w, h);
        return s->SetSubData(0, 0, w, h, argb.data(), w), s;
    }
    // A PNG of w x h RGBA pixels, byte c of pixel (x, y) made by value(x, y, c).
    template <class F>
    std::string Write(const std::string& name, int w, int h, F value) {
        std::vector<unsigned char> p(w * h * 4);
        for (size_t i = 0; i < p.size(); ++i) p[i] = value(i / 4 % w, i / 4 / w, i % 4);
        std::string file = dir + "/" + name;
        EXPECT_TRUE(stbi_write_png(file.c_str(), w, h, 4, p.data(), w * 4));
        return file;
    }
    gxtkGraphics* device = nullptr;
    std::string dir;
};

// An ellipse has as many segments as its two half-axes are long, rounded
// down to a multiple of 4, and at least 12 (at most 1024).
TEST_F(Graphics, EllipseSegments) {
    const struct { float w, h; int segments; } cases[] = {
        {4, 4, 12}, {0, 0, 12}, {30, 10, 20}, {31, 9, 16}, {100, 60, 80}, {4000, 10, 1024}};
    for (const auto& c : cases) {
        device->DrawOval(10, 10, c.w, c.h), device->Flush();
        ASSERT_FALSE(draws.empty());
        EXPECT_EQ(draws.back().vertices, c.segments) << c.w << " x " << c.h;
        draws.clear();
    }
}

// Colour and matrix changes do not flush; the 257th quad flushes the first 256.
TEST_F(Graphics, QuadsBatchUntilTheBufferIsFull) {
    device->SetColor(255, 0, 0), device->SetMatrix(1, 0, 0, 1, 10, 20);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(0, 0, 255), device->SetMatrix(2, 0, 0, 2, 50, 40);
    for (int i = 0; i < 255; ++i) device->DrawRect(0, 0, 10, 10);
    EXPECT_EQ(draws.size(), 0u);
    device->DrawRect(0, 0, 10, 10);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(draws[0].mode == GL_TRIANGLES && draws[0].vertices == 1024);
    device->Flush();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[1].vertices, 4);
    ExpectPixels({{10, 20, 255, 0, 0}, {19, 29, 255, 0, 0}, {20, 29, 0, 0, 0},
                  {69, 59, 0, 0, 255}, {70, 59, 0, 0, 0}});
}

unsigned char* CopyOf(const std::vector<unsigned char>& bytes) {
    auto* block = static_cast<unsigned char*>(std::malloc(bytes.size()));
    return static_cast<unsigned char*>(std::memcpy(block, bytes.data(), bytes.size()));
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
    const float corners[16] = {0, 0, 0, 0, 50, 0, 50, 0, 50, 2, 50, 2, 0, 2, 0, 2};
    Array<float> quad(corners, 16);
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
            const int changed = PixelsOtherThan(30, 60, 90);
            EXPECT_TRUE(draws ? changed >= 50 * 80 : changed == 0) << changed << " pixels changed";
            s->Discard();
        }
    }
}

// The unsafe half of a load replaces the pixels of a surface that has a
// texture without an OpenGL call, on whatever thread; the texture it gives
// up is deleted by the next bind on the context's thread, which shows the
// new pixels.
TEST_F(Graphics, UnsafeLoadMakesNoOpenGLCallTheNextBindDeletesTheOldTexture) {
    std::string red = Write("red.png", 4, 4, [](int, int, int c) { return c == 0 || c == 3 ? 255 : 0; });
    std::string green = Write("green.png", 4, 4, [](int, int, int c) { return c % 2 ? 255 : 0; });
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
        EXPECT_TRUE(deletions[0] == std::make_pair(old, std::this_thread::get_id()));
        EXPECT_TRUE(s->textureId == old || !glIsTexture(old));
        device->SetMatrix(4, 0, 0, 4, 0, 0), device->DrawSurface(s, 0, 0), device->Flush();
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
    device->DrawSurface(a, 0, 0), device->DrawSurface(b, 1, 0), device->Flush();
    EXPECT_TRUE(deletions.empty());
    EXPECT_TRUE(glIsTexture(b->textureId));
    EXPECT_NE(a->textureId, b->textureId);
    ExpectPixels({{4, 4, 0, 0, 255}, {12, 4, 0, 255, 0}});
}

// Before the host has opened a window there is no OpenGL context: a frame
// of every kind of call keeps the device's own state but reaches nothing in
// OpenGL (the fixture's real context shows any call that would), and the
// surface made meanwhile gets its texture once there is a context.
TEST_F(Graphics, WithoutAWindowTheDeviceMakesNoOpenGLCall) {
    KrHeadlessGame* headless = new KrHeadlessGame;  // the host now: no context
    headless->SetReportedSize(50, 40);
    gxtkSurface* s = MakeSurface(2, 1, {0xFFFF0000, 0xFF0000FF});
    const int sevens[4] = {7, 7, 7, 7};
    const float points[10] = {0, 3, 6, 2, 5, 1, 4, 0, 3, 6};
    Array<int> read(sevens, 4);
    Array<float> poly(points, 10);
    device->BeginRender();
    const int width = device->Width(), height = device->Height();
    device->Cls(255, 0, 0), device->SetBlend(1), device->SetScissor(5, 5, 10, 10);
    device->SetColor(0, 255, 0), device->SetAlpha(1), device->SetMatrix(4, 0, 0, 4, 0, 0);
    device->DrawRect(0, 0, 8, 8), device->DrawLine(0, 0, 9, 9), device->DrawPoint(3, 3);
    device->DrawOval(0, 0, 9, 9), device->DrawPoly(poly), device->DrawSurface(s, 0, 0);
    device->ReadPixels(read, 0, 0, 2, 2, 0, 2);
    device->Flush();
    delete headless;
    KrGame::_game = TestHost();

    EXPECT_EQ(width * 1000 + height, 50040) << "the size the game is shown";
    EXPECT_EQ(device->batchCount, 0);
    EXPECT_TRUE(draws.empty() && allocations.empty());
    EXPECT_EQ(s->textureId, 0u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(read[i], 7) << i;
    EXPECT_EQ(PixelsOtherThan(0, 0, 0), 0);
    GLint viewport[4], blend = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_BLEND_DST, &blend);
    EXPECT_EQ(viewport[2] * 1000 + viewport[3], kW * 1000 + kH);
    EXPECT_EQ(blend, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    device->SetColor(255, 255, 255), device->SetMatrix(8, 0, 0, 8, 0, 0);
    device->DrawSurface(s, 0, 0), device->Flush();
    EXPECT_EQ(allocations.size(), 1u);
    ExpectPixels({{4, 4, 255, 0, 0}, {12, 4, 0, 0, 255}});
}

// The scissor is given from the top left; OpenGL's y runs upward.
TEST_F(Graphics, ScissorKeepsDrawingInsideItsRectangle) {
    kr_graphics_SetScissor(10, 20, 30, 15);
    kr_graphics_SetColor(0, 255, 0), kr_graphics_DrawRect(0, 0, kW, kH);
    device->Flush();
    ExpectPixels({{10, 20, 0, 255, 0}, {39, 34, 0, 255, 0}, {9, 20, 0, 0, 0}, {10, 19, 0, 0, 0},
                  {40, 34, 0, 0, 0}, {39, 35, 0, 0, 0}, {10, kH - 21, 0, 0, 0}});
}

// Frames that are wider than high: a strip of three 8 x 4 frames, and 6 x 2
// frames grabbed from a 12 x 4 image in two rows.
TEST_F(Graphics, FramesThatAreNotSquare) {
    const int colours[][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    auto strip = Write("strip.png", 24, 4, [&](int x, int, int c) { return c < 3 ? colours[x / 8][c] : 255; });
    auto grid = Write("grid.png", 12, 4, [&](int x, int y, int c) { return c < 3 ? colours[x / 6 + 2 * (y / 2)][c] : 255; });
    c_Image* three = kr_graphics_LoadImage(String(strip.c_str()), 3, 0);
    c_Image* four = kr_graphics_LoadImage2(String(grid.c_str()), 6, 2, 4, 0);
    ASSERT_TRUE(three && four);
    kr_graphics_DrawImage(three, 10, 10, 1);
    kr_graphics_DrawImage(three, 30, 10, 2);
    for (int f = 0; f < 4; ++f) kr_graphics_DrawImage(four, 50 + 10 * f, 10, f);
    device->Flush();
    ExpectPixels({{10, 10, 0, 255, 0}, {17, 13, 0, 255, 0}, {18, 13, 0, 0, 0}, {17, 14, 0, 0, 0},
                  {30, 10, 0, 0, 255}, {37, 13, 0, 0, 255}, {38, 10, 0, 0, 0}, {30, 14, 0, 0, 0}});
    for (int f = 0; f < 4; ++f) {
        const int x = 50 + 10 * f;
        ExpectPixels({{x, 10, colours[f][0], colours[f][1], colours[f][2]},
                      {x + 5, 11, colours[f][0], colours[f][1], colours[f][2]}, {x + 6, 11, 0, 0, 0}, {x, 12, 0, 0, 0}});
    }
}

// A positive angle turns counter-clockwise on the screen: x toward up.
TEST_F(Graphics, RotationTurnsCounterClockwise) {
    auto red = Write("red.png", 8, 4, [](int, int, int c) { return c == 0 || c == 3 ? 255 : 0; });
    c_Image* image = kr_graphics_LoadImage(String(red.c_str()), 1, 0);
    ASSERT_TRUE(image);
    kr_graphics_PushMatrix();
    kr_graphics_Translate(40, 60), kr_graphics_Rotate(90);
    kr_graphics_SetColor(0, 255, 0), kr_graphics_DrawRect(0, 0, 20, 4);
    kr_graphics_PopMatrix();
    kr_graphics_SetColor(255, 255, 255);
    kr_graphics_DrawImage2(image, 100, 60, -90, 2, 1, 0);  // a quarter turn clockwise, twice as long
    device->Flush();
    ExpectPixels({{41, 41, 0, 255, 0}, {43, 58, 0, 255, 0}, {41, 62, 0, 0, 0}, {38, 50, 0, 0, 0},
                  {97, 61, 255, 0, 0}, {97, 75, 255, 0, 0}, {97, 58, 0, 0, 0}, {101, 65, 0, 0, 0}});
}

// Pixels written as 0xAARRGGBB are premultiplied, each colour channel by its
// alpha: drawn over black they show that product.
TEST_F(Graphics, WrittenPixelsArePremultiplied) {
    gxtkSurface* s = MakeSurface(3, 1, {0x80FF00FF, 0x40FFFFFF, 0x00FFFFFF});
    device->SetColor(255, 255, 255), device->SetMatrix(8, 0, 0, 8, 0, 0);
    device->DrawSurface(s, 0, 0), device->Flush();
    ExpectPixels({{4, 4, 128, 0, 128}, {12, 4, 64, 64, 64}, {20, 4, 0, 0, 0}});
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

TEST_F(Graphics, MissingTruncatedOrCorruptFilesGiveNoImageAndNoMessage) {
    std::string good = Write("good.png", 32, 32, [](int x, int y, int c) { return x * y + c; });
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(dir + "/truncated.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    for (size_t i = 40; i < bytes.size(); i += 3) bytes[i] ^= 0x5A;
    std::ofstream(dir + "/corrupt.png", std::ios::binary) << bytes;
    for (const char* name : {"missing.png", "truncated.png", "corrupt.png"}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
        EXPECT_EQ(kr_graphics_LoadImage(String((dir + "/" + name).c_str()), 1, 0), nullptr);
        std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(said + testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_NE(kr_graphics_LoadImage(String(good.c_str()), 1, 0), nullptr);
}

// Each misuse runs in a child process (apps/graphics_fatal.cpp) and must end
// with its runtime error, not a crash; "grab-fits" is the control.
TEST(GraphicsFatal, MisusesEndWithTheirMessage) {
    for (auto [what, message] : std::vector<std::pair<const char*, const char*>>{
             {"grab-below", "Image frame outside surface"}, {"grab-fits", nullptr},
             {"short-matrix", "Matrix array needs 6 values"},
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
