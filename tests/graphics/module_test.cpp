// The graphics module's state: the matrix, its dirty flag and its stack,
// colour and blend state, frames, and the shapes it asks the device for.
#include <cmath>

#include "tests/graphics/module_harness.h"

namespace graphics_test {
namespace {

using GraphicsModuleTest = ModuleTest;

std::vector<float> Matrix(c_GraphicsContext* g) {
    return {g->m_a, g->m_b, g->m_c, g->m_d, g->m_tx, g->m_ty};
}

TEST_F(GraphicsModuleTest, TranslateThenScaleWorksInTheTranslatedFrame) {
    kr_graphics_Translate(10, 0);
    kr_graphics_Scale(2, 2);
    EXPECT_EQ(Matrix(context()), (std::vector<float>{2, 0, 0, 2, 10, 0}));
    kr_graphics_DrawRect(1, 0, 1, 1);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[0].x, 12);  // (1, 0) -> (12, 0)
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[0].y, 0);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[2].x, 14);
    EXPECT_FLOAT_EQ(recorder.draws[0].vertices[2].y, 2);
}

TEST_F(GraphicsModuleTest, TransformMultipliesOnTheRightInDoublePrecision) {
    kr_graphics_SetMatrix(1, 2, 3, 4, 5, 6);
    kr_graphics_Transform(7, 8, 9, 10, 11, 12);
    // a = 1*7 + 3*8, b = 2*7 + 4*8, c = 1*9 + 3*10, d = 2*9 + 4*10,
    // tx = 1*11 + 3*12 + 5, ty = 2*11 + 4*12 + 6
    EXPECT_EQ(Matrix(context()), (std::vector<float>{31, 46, 39, 58, 52, 76}));

    // Products summed in double before rounding once to float: 4097 * 4097
    // is 16785409, which a float cannot hold, so float arithmetic gives 0.
    kr_graphics_SetMatrix(4097, 0, 1, 0, 0, 0);
    kr_graphics_Transform(4097, -16785408.0f, 0, 0, 0, 0);
    EXPECT_EQ(context()->m_a, 1.0f);

    kr_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    kr_graphics_Rotate(90);
    // The angle is 90 x 0.017453292 in single precision, 1.57079637; its
    // cosine, taken in double, is -4.3711388e-8. A double-precision pi/180
    // would give 6e-17, the float factor widened to double 1.2e-8.
    EXPECT_FLOAT_EQ(context()->m_a, -4.3711388e-8f);
    EXPECT_FLOAT_EQ(context()->m_b, -1);
    EXPECT_FLOAT_EQ(context()->m_c, 1);
    EXPECT_FLOAT_EQ(context()->m_d, -4.3711388e-8f);

    float m[6] = {2, 0, 0, 3, 1, 1};
    kr_graphics_SetMatrix2(Array<float>(m, 6));
    kr_graphics_Transform2(Array<float>(m, 6));
    EXPECT_EQ(Matrix(context()), (std::vector<float>{4, 0, 0, 9, 3, 4}));
}

TEST_F(GraphicsModuleTest, TransformedFlagAndDirtyMatrixReachTheDeviceOnlyWhenDrawing) {
    EXPECT_EQ(context()->m_transformed, 0);
    kr_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_EQ(context()->m_transformed, 0);
    EXPECT_EQ(context()->m_matrixDirty, 1);
    kr_graphics_SetMatrix(1, 0, 0, 1, std::nanf(""), 0);
    EXPECT_EQ(context()->m_transformed, 1) << "a NaN is not the identity";
    kr_graphics_SetMatrix(1, 0, 0, 1, 0, 3);
    EXPECT_EQ(context()->m_transformed, 1);
    EXPECT_FALSE(device->transformed) << "not handed over before a draw";
    kr_graphics_Cls(0, 0, 0);  // clearing does not validate
    EXPECT_FALSE(device->transformed);
    kr_graphics_DrawLine(0, 0, 1, 1);
    EXPECT_TRUE(device->transformed);
    EXPECT_FLOAT_EQ(device->matrix[5], 3);
    EXPECT_EQ(context()->m_matrixDirty, 0);
}

TEST_F(GraphicsModuleTest, PushAndPopRestoreMatrices) {
    kr_graphics_Translate(3, 4);
    kr_graphics_PushMatrix();
    kr_graphics_Scale(5, 5);
    kr_graphics_PushMatrix();
    kr_graphics_Rotate(30);
    EXPECT_EQ(context()->m_stackTop, 12);
    kr_graphics_PopMatrix();
    EXPECT_EQ(Matrix(context()), (std::vector<float>{5, 0, 0, 5, 3, 4}));
    kr_graphics_PopMatrix();
    EXPECT_EQ(Matrix(context()), (std::vector<float>{1, 0, 0, 1, 3, 4}));
    EXPECT_EQ(context()->m_stackTop, 0);
    EXPECT_EQ(context()->m_matrixDirty, 1);
}

TEST_F(GraphicsModuleTest, PopWithoutPushIsIgnored) {
    kr_graphics_Translate(3, 4);
    context()->m_matrixDirty = 0;
    kr_graphics_PopMatrix();
    kr_graphics_PopMatrix();
    EXPECT_EQ(context()->m_stackTop, 0);
    EXPECT_EQ(Matrix(context()), (std::vector<float>{1, 0, 0, 1, 3, 4}));
    EXPECT_EQ(context()->m_matrixDirty, 0);
    // The stack still works afterwards.
    kr_graphics_PushMatrix();
    kr_graphics_Translate(1, 1);
    kr_graphics_PopMatrix();
    EXPECT_EQ(Matrix(context()), (std::vector<float>{1, 0, 0, 1, 3, 4}));
}

TEST_F(GraphicsModuleTest, PushesBeyond32AreRefusedAndTheirPopsIgnored) {
    Array<float> stack = context()->m_matrixStack;
    ASSERT_EQ(stack.Length(), 192);
    // Level i is translated by i; 34 pushes, two of them refused.
    for (int i = 0; i < 34; ++i) {
        kr_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        kr_graphics_PushMatrix();
        EXPECT_LE(context()->m_stackTop, 192);
    }
    EXPECT_EQ(context()->m_stackTop, 192);
    EXPECT_FLOAT_EQ(stack[191 - 1], 31) << "the 32nd level holds matrix 31";
    kr_graphics_SetMatrix(1, 0, 0, 1, 99, 0);
    // The pops of the two refused pushes change nothing; the 32 below pair up.
    kr_graphics_PopMatrix();
    kr_graphics_PopMatrix();
    EXPECT_FLOAT_EQ(context()->m_tx, 99);
    for (int i = 31; i >= 0; --i) {
        kr_graphics_PopMatrix();
        EXPECT_FLOAT_EQ(context()->m_tx, static_cast<float>(i));
    }
    EXPECT_EQ(context()->m_stackTop, 0);
    kr_graphics_PopMatrix();
    EXPECT_FLOAT_EQ(context()->m_tx, 0);
}

TEST_F(GraphicsModuleTest, DrawImage2WorksWithAFullStack) {
    std::string file = WriteImage("px.png", 2, 2, [](int, int) { return 0xFFFFFFFFu; });
    c_Image* img = Load(file, 1, 0);
    for (int i = 0; i < 32; ++i) kr_graphics_PushMatrix();
    kr_graphics_Translate(20, 0);
    kr_graphics_DrawImage2(img, 10, 10, 0, 1, 1, 0);
    EXPECT_EQ(Matrix(context()), (std::vector<float>{1, 0, 0, 1, 20, 0}));
    device->Flush();
    EXPECT_TRUE(ColourNear(PixelAt(30, 10), 255, 255, 255));
}

TEST_F(GraphicsModuleTest, BeginRenderResetsTheFrameState) {
    kr_graphics_SetColor(1, 2, 3);
    kr_graphics_SetAlpha(0.5f);
    kr_graphics_SetBlend(1);
    kr_graphics_SetScissor(1, 2, 3, 4);
    kr_graphics_PushMatrix();
    kr_graphics_Translate(5, 5);
    kr_graphics_EndRender();
    EXPECT_EQ(kr_graphics_renderDevice, nullptr);

    kr_graphics_BeginRender();
    c_GraphicsContext* g = context();
    EXPECT_EQ(kr_graphics_renderDevice, device);
    EXPECT_EQ(g->m_stackTop, 0);
    EXPECT_EQ(Matrix(g), (std::vector<float>{1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(g->m_matrixDirty, 1);
    EXPECT_EQ(g->m_red, 255);
    EXPECT_EQ(g->m_alpha, 1);
    EXPECT_EQ(g->m_blend, 0);
    EXPECT_EQ(g->m_scissorWidth, kWindowWidth);
    EXPECT_EQ(g->m_scissorHeight, kWindowHeight);
    EXPECT_EQ(device->packedColor, 0xFFFFFFFFu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(GraphicsModuleTest, StateReachesTheDevice) {
    kr_graphics_SetColor(255, 128, 0);
    kr_graphics_SetAlpha(0.5f);
    EXPECT_EQ(device->packedColor, 0x7F00407Fu);
    kr_graphics_SetScissor(10.9f, 20.2f, 30.7f, 40.99f);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], kWindowHeight - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_FLOAT_EQ(context()->m_scissorX, 10.9f);
    EXPECT_EQ(kr_graphics_DeviceWidth(), kWindowWidth);
    EXPECT_EQ(kr_graphics_DeviceHeight(), kWindowHeight);
}

TEST_F(GraphicsModuleTest, DrawEllipseAsksForItsBoundingBox) {
    kr_graphics_DrawEllipse(50, 50, 10, 5);
    device->Flush();
    ASSERT_EQ(recorder.draws.size(), 1u);
    const auto& v = recorder.draws[0].vertices;
    ASSERT_EQ(v.size(), 12u);  // 10 + 5 = 15 half-axis pixels: the minimum of 12
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const KrVertex& p : v) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    EXPECT_NEAR(minX, 40, 1e-4);
    EXPECT_NEAR(maxX, 60, 1e-4);
    EXPECT_NEAR(minY, 45, 1e-4);
    EXPECT_NEAR(maxY, 55, 1e-4);
}

TEST_F(GraphicsModuleTest, ReadPixelsPitchZeroMeansTheWidth) {
    kr_graphics_SetColor(0, 0, 255);
    kr_graphics_DrawRect(3, 3, 1, 1);
    Array<int> out(4);
    kr_graphics_ReadPixels(out, 2, 3, 2, 2, 0, 0);
    EXPECT_EQ(static_cast<std::uint32_t>(out[0]), 0xFF000000u);
    EXPECT_EQ(static_cast<std::uint32_t>(out[1]), 0xFF0000FFu);
    EXPECT_EQ(static_cast<std::uint32_t>(out[3]), 0xFF000000u);
}

}  // namespace
}  // namespace graphics_test
