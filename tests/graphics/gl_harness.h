// Shared by the graphics tests: a real window with a Mesa OpenGL context under
// Xvfb, a recorder that sits in front of the real OpenGL draw and texture
// allocation calls, and pixel readback straight from OpenGL.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/graphics.h"
#include "graphics/gl_calls.h"
#include "graphics/graphics.h"
#include "host/game.h"
#include "host/glfw2.h"
#include "tests/support/display.h"

namespace graphics_test {

constexpr int kWindowWidth = 160;
constexpr int kWindowHeight = 120;

// One call that reached OpenGL, with copies of the vertices it consumed, read
// through the client array pointers OpenGL itself was given.
struct DrawCall {
    GLenum mode = 0;
    int indexCount = 0;                  // glDrawElements only
    std::vector<std::uint16_t> indices;  // glDrawElements only
    std::vector<int> counts;             // vertices per primitive run
    std::vector<KrVertex> vertices;      // as OpenGL read them
    bool textured = false;
    GLint texture = 0;
    int VertexCount() const { return static_cast<int>(vertices.size()); }
};

struct TexAllocation {
    int width, height;
    bool refused;
};

struct Recorder {
    std::vector<DrawCall> draws;
    std::vector<TexAllocation> allocations;
    // Makes OpenGL refuse textures whose sides are not powers of two, by
    // handing it an invalid size so that it raises a real error.
    bool refuseNonPowerOfTwo = false;
};

inline Recorder recorder;

inline const KrVertex* ClientVertices() {
    void* p = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &p);
    GLint stride = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_STRIDE, &stride);
    EXPECT_EQ(stride, static_cast<GLint>(sizeof(KrVertex)));
    return static_cast<const KrVertex*>(p);
}

inline DrawCall StartRecord(GLenum mode) {
    DrawCall call;
    call.mode = mode;
    call.textured = glIsEnabled(GL_TEXTURE_2D);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &call.texture);
    return call;
}

inline void RecordDrawArrays(GLenum mode, GLint first, GLsizei count) {
    DrawCall call = StartRecord(mode);
    call.counts.push_back(count);
    const KrVertex* v = ClientVertices();
    call.vertices.assign(v + first, v + first + count);
    recorder.draws.push_back(call);
    kr_gl_real.DrawArrays(mode, first, count);
}

inline void RecordDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    DrawCall call = StartRecord(mode);
    call.indexCount = count;
    EXPECT_EQ(type, static_cast<GLenum>(GL_UNSIGNED_SHORT));
    auto* index = static_cast<const std::uint16_t*>(indices);
    call.indices.assign(index, index + count);
    int used = count > 0 ? *std::max_element(index, index + count) + 1 : 0;
    call.counts.push_back(used);
    const KrVertex* v = ClientVertices();
    call.vertices.assign(v, v + used);
    recorder.draws.push_back(call);
    kr_gl_real.DrawElements(mode, count, type, indices);
}

inline void RecordMultiDrawArrays(GLenum mode, const GLint* first, const GLsizei* count,
                                  GLsizei drawCount) {
    DrawCall call = StartRecord(mode);
    const KrVertex* v = ClientVertices();
    for (int i = 0; i < drawCount; ++i) {
        call.counts.push_back(count[i]);
        call.vertices.insert(call.vertices.end(), v + first[i], v + first[i] + count[i]);
    }
    recorder.draws.push_back(call);
    kr_gl_real.MultiDrawArrays(mode, first, count, drawCount);
}

inline bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

inline void RecordTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels) {
    bool refuse = recorder.refuseNonPowerOfTwo && !(IsPowerOfTwo(width) && IsPowerOfTwo(height));
    recorder.allocations.push_back({width, height, refuse});
    // A negative width makes OpenGL itself raise GL_INVALID_VALUE, left
    // pending for the device to find.
    kr_gl_real.TexImage2D(target, level, internalFormat, refuse ? -1 : width, height, border,
                          format, type, pixels);
}

inline void InstallRecorder() {
    recorder = Recorder();
    kr_gl.DrawArrays = RecordDrawArrays;
    kr_gl.DrawElements = RecordDrawElements;
    kr_gl.MultiDrawArrays = RecordMultiDrawArrays;
    kr_gl.TexImage2D = RecordTexImage2D;
}

inline void RemoveRecorder() { kr_gl = kr_gl_real; }

// Opens a window the way the host does: every window is a new context, so
// the graphics sequence number grows.
inline void OpenWindow(int width = kWindowWidth, int height = kWindowHeight) {
    testsupport::EnsureDisplay();
    ASSERT_EQ(glfw2::glfwInit(), 1);
    glfw2::glfwOpenWindowHint(glfw2::GLFW_WINDOW_NO_RESIZE, 1);
    ASSERT_EQ(glfw2::glfwOpenWindow(width, height, 8, 8, 8, 0, 0, 0, glfw2::GLFW_WINDOW), 1);
    ++glfwGraphicsSeq;
}

inline void ReopenWindow() {
    glfw2::glfwCloseWindow();
    OpenWindow();
}

// The window pixel at (x, y) counted from the top, as 0xAARRGGBB, read with
// OpenGL directly.
inline std::uint32_t PixelAt(int x, int y) {
    std::uint32_t p = 0;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glReadPixels(x, viewport[3] - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, &p);
    return p;
}

inline int Red(std::uint32_t p) { return (p >> 16) & 255; }
inline int Green(std::uint32_t p) { return (p >> 8) & 255; }
inline int Blue(std::uint32_t p) { return p & 255; }

// Each colour channel within `tolerance` of the expected one.
inline ::testing::AssertionResult ColourNear(std::uint32_t pixel, int r, int g, int b,
                                             int tolerance = 1) {
    if (std::abs(Red(pixel) - r) <= tolerance && std::abs(Green(pixel) - g) <= tolerance &&
        std::abs(Blue(pixel) - b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << Red(pixel) << ", " << Green(pixel) << ", " << Blue(pixel)
           << ") expected (" << r << ", " << g << ", " << b << ")";
}

// A test with an open window, a device, a recorder in front of OpenGL and a
// frame begun with white, opaque, alpha-blended drawing and no matrix.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        OpenWindow();
        InstallRecorder();
        device = new gxtkGraphics;
        StartFrame();
    }
    void TearDown() override { RemoveRecorder(); }

    void StartFrame() {
        device->BeginRender();
        device->SetColor(255, 255, 255);
        device->SetAlpha(1);
        device->SetBlend(0);
        device->SetScissor(0, 0, device->Width(), device->Height());
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        device->Cls(0, 0, 0);
        recorder.draws.clear();
    }

    // A surface of w x h RGBA pixels from 0xAARRGGBB values, row by row.
    gxtkSurface* MakeSurface(int w, int h, const std::vector<std::uint32_t>& argb) {
        gxtkSurface* s = device->CreateSurface(w, h);
        s->SetSubData(0, 0, w, h, argb.data(), w);
        return s;
    }

    gxtkGraphics* device = nullptr;
};

}  // namespace graphics_test
