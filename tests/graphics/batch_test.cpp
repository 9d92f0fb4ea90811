// Batching as OpenGL sees it: which draws reach it, with how many vertices,
// and where those vertices land.
#include <cmath>

#include "tests/graphics/gl_harness.h"

namespace graphics_test {
namespace {

using BatchTest = DeviceTest;

std::vector<std::uint32_t> Solid(int count, std::uint32_t argb) {
    return std::vector<std::uint32_t>(count, argb);
}

TEST_F(BatchTest, RectanglesWithDifferentColoursAndMatricesShareOneDraw) {
    device->SetColor(255, 0, 0);
    device->SetMatrix(1, 0, 0, 1, 10, 20);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(0, 0, 255);
    device->SetMatrix(2, 0, 0, 2, 50, 40);
    device->DrawRect(0, 0, 10, 10);
    device->EndRender();

    ASSERT_EQ(recorder.draws.size(), 1u);
    const DrawCall& call = recorder.draws[0];
    EXPECT_EQ(call.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(call.indexCount, 12);
    ASSERT_EQ(call.VertexCount(), 8);
    EXPECT_FALSE(call.textured);
    // The matrix was applied on the CPU, vertex by vertex, in the order
    // top-left, top-right, bottom-right, bottom-left.
    EXPECT_FLOAT_EQ(call.vertices[0].x, 10);
    EXPECT_FLOAT_EQ(call.vertices[2].x, 20);
    EXPECT_FLOAT_EQ(call.vertices[2].y, 30);
    EXPECT_FLOAT_EQ(call.vertices[4].x, 50);
    EXPECT_FLOAT_EQ(call.vertices[6].x, 70);
    EXPECT_FLOAT_EQ(call.vertices[6].y, 60);
    EXPECT_EQ(call.vertices[0].color, 0xFF0000FFu);
    EXPECT_EQ(call.vertices[7].color, 0xFFFF0000u);
    // OpenGL's model-view matrix stays the identity.
    GLfloat modelView[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_FLOAT_EQ(modelView[12], 0);
    EXPECT_FLOAT_EQ(modelView[0], 1);
}

TEST_F(BatchTest, RectanglesLandOnTheirPixels) {
    device->SetColor(255, 0, 0);
    device->SetMatrix(1, 0, 0, 1, 10, 20);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(0, 0, 255);
    device->SetMatrix(2, 0, 0, 2, 50, 40);
    device->DrawRect(0, 0, 10, 10);
    device->Flush();

    EXPECT_TRUE(ColourNear(PixelAt(10, 20), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(19, 29), 255, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(20, 29), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(9, 20), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(50, 40), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(69, 59), 0, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(70, 59), 0, 0, 0));
    EXPECT_TRUE(ColourNear(PixelAt(69, 60), 0, 0, 0));
}

TEST_F(BatchTest, ChangingTextureOrPrimitiveFlushesSameSurfaceDoesNot) {
    gxtkSurface* a = MakeSurface(4, 4, Solid(16, 0xFF00FF00));
    gxtkSurface* b = MakeSurface(4, 4, Solid(16, 0xFFFF00FF));
    recorder.draws.clear();

    device->DrawRect(0, 0, 4, 4);
    EXPECT_EQ(recorder.draws.size(), 0u);
    device->DrawSurface(a, 10, 0);
    ASSERT_EQ(recorder.draws.size(), 1u);  // the rectangle went out
    EXPECT_FALSE(recorder.draws[0].textured);
    device->DrawSurface(a, 20, 0);
    device->DrawSurface2(a, 30, 0, 1, 1, 2, 2);
    EXPECT_EQ(recorder.draws.size(), 1u);  // same surface: still batched
    device->DrawSurface(b, 40, 0);
    ASSERT_EQ(recorder.draws.size(), 2u);
    EXPECT_TRUE(recorder.draws[1].textured);
    EXPECT_EQ(recorder.draws[1].texture, static_cast<GLint>(a->textureId));
    EXPECT_EQ(recorder.draws[1].VertexCount(), 12);
    device->DrawRect(50, 0, 4, 4);
    ASSERT_EQ(recorder.draws.size(), 3u);
    EXPECT_EQ(recorder.draws[2].texture, static_cast<GLint>(b->textureId));
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 4u);
    // Untextured drawing after a textured batch has texturing switched off.
    EXPECT_FALSE(recorder.draws[3].textured);

    EXPECT_TRUE(ColourNear(PixelAt(11, 1), 0, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(41, 1), 255, 0, 255));
    EXPECT_TRUE(ColourNear(PixelAt(51, 1), 255, 255, 255));
}

TEST_F(BatchTest, TheQuadBeyond1024VerticesStartsANewBatch) {
    for (int i = 0; i < 256; ++i) device->DrawRect(i % 16, i / 16, 1, 1);
    EXPECT_EQ(recorder.draws.size(), 0u);
    device->DrawRect(0, 0, 1, 1);
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_EQ(recorder.draws[0].indexCount, 256 * 6);
    EXPECT_EQ(recorder.draws[0].VertexCount(), 1024);
    // Each quad is two triangles split along its first-to-third diagonal.
    std::vector<std::uint16_t> expected;
    for (int k = 0; k < 256; ++k) {
        for (int corner : {0, 1, 2, 0, 2, 3})
            expected.push_back(static_cast<std::uint16_t>(4 * k + corner));
    }
    EXPECT_EQ(recorder.draws[0].indices, expected);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 2u);
    EXPECT_EQ(recorder.draws[1].indexCount, 6);
    device->Flush();  // an empty batch draws nothing
    EXPECT_EQ(recorder.draws.size(), 2u);
}

TEST_F(BatchTest, DrawPolyByValueCount) {
    auto poly = [](std::vector<float> xy) {
        return Array<float>(xy.data(), static_cast<int>(xy.size()));
    };
    device->DrawPoly(Array<float>());
    device->DrawPoly(poly({5}));
    device->DrawPoly(Array<float>(2050));
    device->Flush();
    EXPECT_EQ(recorder.draws.size(), 0u) << "0, 1 and 2050 values draw nothing";

    device->DrawPoly(poly({3, 4}));
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_EQ(recorder.draws[0].mode, static_cast<GLenum>(GL_POINTS));
    ASSERT_EQ(recorder.draws[0].VertexCount(), 1);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[0].x, 3);

    recorder.draws.clear();
    device->DrawRect(0, 0, 5, 5);
    device->DrawPoly(poly({10, 10, 20, 10, 20, 20, 10, 20}));
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u) << "a 4-vertex polygon joins the rectangle batch";
    EXPECT_EQ(recorder.draws[0].VertexCount(), 8);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[6].x, 20);

    recorder.draws.clear();
    std::vector<float> big(2048);
    for (int i = 0; i < 1024; ++i) {
        big[2 * i] = 80 + 30 * std::cos(i * 6.2831853f / 1024);
        big[2 * i + 1] = 60 + 30 * std::sin(i * 6.2831853f / 1024);
    }
    device->DrawPoly(poly(big));
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_EQ(recorder.draws[0].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(recorder.draws[0].counts, std::vector<int>{1024});
    EXPECT_TRUE(ColourNear(PixelAt(80, 60), 255, 255, 255));
}

TEST_F(BatchTest, TexturedPolygonUsesSurfaceCoordinates) {
    std::vector<std::uint32_t> argb(16, 0xFF0000FF);
    for (int i = 8; i < 16; ++i) argb[i] = 0xFFFFFF00;  // bottom half yellow
    gxtkSurface* s = MakeSurface(4, 4, argb);
    // A 40 x 20 quad showing texels (0, 2) to (4, 4): only yellow.
    float xyuv[16] = {10, 10, 0, 0, 50, 10, 4, 0, 50, 30, 4, 2, 10, 30, 0, 2};
    device->DrawPoly2(Array<float>(xyuv, 16), s, 0, 2);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_TRUE(recorder.draws[0].textured);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[0].v, 0.5f);
    EXPECT_TRUE(ColourNear(PixelAt(12, 12), 255, 255, 0));
    EXPECT_TRUE(ColourNear(PixelAt(48, 28), 255, 255, 0));
}

// Source rectangles and polygon coordinates are summed before the scale is
// applied: 7 * (1/7) is exactly 1 in float, 1/7 + 6/7 is not.
TEST_F(BatchTest, TextureCoordinatesScaleTheSumsOfTheirParts) {
    gxtkSurface* seven = MakeSurface(7, 7, Solid(49, 0xFFFFFFFF));
    ASSERT_FLOAT_EQ(seven->uScale, 1.0f / 7);
    device->DrawSurface2(seven, 0, 0, 1, 1, 6, 6);
    device->DrawSurface(seven, 10, 0);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    const auto& q = recorder.draws[0].vertices;
    ASSERT_EQ(q.size(), 8u);
    EXPECT_EQ(q[0].u, 1.0f / 7);
    EXPECT_EQ(q[0].v, 1.0f / 7);
    EXPECT_EQ(q[2].u, 1.0f);
    EXPECT_EQ(q[2].v, 1.0f);
    EXPECT_EQ(q[1].v, 1.0f / 7);
    EXPECT_EQ(q[3].u, 1.0f / 7);
    EXPECT_FLOAT_EQ(q[2].x, 6);
    EXPECT_FLOAT_EQ(q[2].y, 6);
    // The whole surface: W x uScale.
    EXPECT_EQ(q[4].u, 0.0f);
    EXPECT_EQ(q[6].u, 7 * (1.0f / 7));
    EXPECT_EQ(q[6].v, 7 * (1.0f / 7));

    recorder.draws.clear();
    gxtkSurface* thirty = MakeSurface(30, 1, Solid(30, 0xFFFFFFFF));
    float xyuv[12] = {0, 0, 1.5f, 0, 10, 0, 5.5f, 0, 10, 10, 5.5f, 0.5f};
    device->DrawPoly2(Array<float>(xyuv, 12), thirty, 1, 0);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    const auto& t = recorder.draws[0].vertices;
    ASSERT_EQ(t.size(), 3u);
    // (u + srcX) x uScale, which differs from u x uScale + srcX x uScale.
    EXPECT_EQ(t[0].u, 2.5f * (1.0f / 30));
    EXPECT_EQ(t[1].u, 6.5f * (1.0f / 30));
    EXPECT_EQ(t[2].v, 0.5f);
}

TEST_F(BatchTest, PointsAndLinesAreTheirOwnBatches) {
    device->DrawPoint(1, 1);
    device->DrawPoint(3, 1);
    device->DrawLine(0, 10.5f, 100, 10.5f);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 2u);
    EXPECT_EQ(recorder.draws[0].mode, static_cast<GLenum>(GL_POINTS));
    EXPECT_EQ(recorder.draws[0].VertexCount(), 2);
    EXPECT_EQ(recorder.draws[1].mode, static_cast<GLenum>(GL_LINES));
    EXPECT_EQ(recorder.draws[1].VertexCount(), 2);
    EXPECT_TRUE(ColourNear(PixelAt(50, 10), 255, 255, 255));
}

// Segments of one oval, as the fan OpenGL was given.
int SegmentsOf(gxtkGraphics* device, float w, float h) {
    recorder.draws.clear();
    device->DrawOval(0, 0, w, h);
    device->Flush();
    if (recorder.draws.size() != 1 || recorder.draws[0].counts.size() != 1) return -1;
    EXPECT_EQ(recorder.draws[0].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    return recorder.draws[0].counts[0];
}

TEST_F(BatchTest, OvalSegmentCounts) {
    EXPECT_EQ(SegmentsOf(device, 10, 10), 12);
    EXPECT_EQ(SegmentsOf(device, 100, 60), 80);
    EXPECT_EQ(SegmentsOf(device, 4000, 10), 1024);
    EXPECT_EQ(SegmentsOf(device, 30, 30), 28);
    device->SetMatrix(2, 0, 0, 2, 0, 0);
    EXPECT_EQ(SegmentsOf(device, 100, 60), 160);
    device->SetMatrix(0, 2, -2, 0, 0, 0);  // scaled and turned a quarter
    EXPECT_EQ(SegmentsOf(device, 100, 60), 160);
}

TEST_F(BatchTest, OvalPointsRunCounterClockwiseOnScreenFromTheRight) {
    device->DrawOval(20, 10, 100, 60);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    const auto& v = recorder.draws[0].vertices;
    ASSERT_EQ(v.size(), 80u);
    EXPECT_NEAR(v[0].x, 120, 1e-3);
    EXPECT_NEAR(v[0].y, 40, 1e-3);
    EXPECT_NEAR(v[20].x, 70, 1e-3);  // a quarter turn: the top
    EXPECT_NEAR(v[20].y, 10, 1e-3);
    EXPECT_TRUE(ColourNear(PixelAt(70, 40), 255, 255, 255));
    EXPECT_TRUE(ColourNear(PixelAt(21, 12), 0, 0, 0));  // outside, in the box corner
}

TEST_F(BatchTest, OvalsOfOneSegmentCountShareOneDraw) {
    device->DrawOval(0, 0, 30, 30);
    device->DrawOval(40, 0, 30, 30);
    device->DrawOval(80, 0, 20, 10);  // 12 segments: a different polygon kind
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 2u);
    EXPECT_EQ(recorder.draws[0].counts, (std::vector<int>{28, 28}));
    EXPECT_EQ(recorder.draws[1].counts, std::vector<int>{12});
    EXPECT_TRUE(ColourNear(PixelAt(15, 15), 255, 255, 255));
    EXPECT_TRUE(ColourNear(PixelAt(55, 15), 255, 255, 255));
}

TEST_F(BatchTest, DrawingDoesNotAllocate) {
    gxtkSurface* s = MakeSurface(4, 4, Solid(16, 0xFFFFFFFF));
    Array<float> poly(12);
    for (int i = 0; i < 12; ++i) poly[i] = static_cast<float>(i * 3 % 17);
    Array<float> poly2(16);
    int before = gc_new_bytes;
    for (int i = 0; i < 2000; ++i) {
        device->SetMatrix(1, 0.1f, 0, 1, static_cast<float>(i % 50), 0);
        device->DrawRect(0, 0, 3, 3);
        device->DrawSurface(s, 5, 5);
        device->DrawSurface2(s, 5, 5, 0, 0, 2, 2);
        device->DrawOval(0, 0, 30, 20);
        device->DrawPoly(poly);
        device->DrawPoly2(poly2, s, 0, 0);
        device->DrawLine(0, 0, 4, 4);
        device->DrawPoint(1, 1);
    }
    device->Flush();
    EXPECT_EQ(gc_new_bytes, before);
    EXPECT_GT(recorder.draws.size(), 100u);
}

}  // namespace
}  // namespace graphics_test
