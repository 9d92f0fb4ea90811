// SPDX-License-Identifier: Zlib
// The module's matrix functions: replacing, multiplying and the 32-level
// stack. The render device gets the matrix only when a primitive is drawn.
#include <cmath>

#include "framework/graphics.h"

int kr_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    kr_graphics_context->p_UpdateMatrix(a, b, c, d, tx, ty);
    return 0;
}

namespace {

// The array forms read six values; a shorter array would be read past its end.
void CheckMatrixArray(const Array<float>& m) {
    if (m.Length() < 6) krError(String("Matrix array needs 6 values"));
}

}  // namespace

int kr_graphics_SetMatrix2(Array<float> m) {
    CheckMatrixArray(m);
    return kr_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

// Multiplies the current matrix on the right, in double precision: a later
// Translate moves in the already rotated and scaled frame.
int kr_graphics_Transform(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext* g = kr_graphics_context;
    double A = g->m_a, B = g->m_b, C = g->m_c, D = g->m_d, TX = g->m_tx, TY = g->m_ty;
    g->p_UpdateMatrix(static_cast<float>(A * a + C * b), static_cast<float>(B * a + D * b),
                      static_cast<float>(A * c + C * d), static_cast<float>(B * c + D * d),
                      static_cast<float>(A * tx + C * ty + TX),
                      static_cast<float>(B * tx + D * ty + TY));
    return 0;
}

int kr_graphics_Transform2(Array<float> m) {
    CheckMatrixArray(m);
    return kr_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int kr_graphics_Translate(float x, float y) { return kr_graphics_Transform(1, 0, 0, 1, x, y); }

int kr_graphics_Scale(float x, float y) { return kr_graphics_Transform(x, 0, 0, y, 0, 0); }

int kr_graphics_Rotate(float degrees) {
    double r = degrees * 0.017453292f;
    float c = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
    return kr_graphics_Transform(c, -s, s, c, 0, 0);
}

// A push onto a full stack is refused and counted, so that its pop is
// ignored too; a pop without any push is ignored. Neither touches memory
// outside the stack.
int kr_graphics_PushMatrix() {
    c_GraphicsContext* g = kr_graphics_context;
    if (g->m_stackTop + 6 > g->m_matrixStack.Length()) {
        ++g->m_stackOverflow;
        return 0;
    }
    float* top = g->m_matrixStack.Data() + g->m_stackTop;
    const float values[6] = {g->m_a, g->m_b, g->m_c, g->m_d, g->m_tx, g->m_ty};
    for (int i = 0; i < 6; ++i) top[i] = values[i];
    g->m_stackTop += 6;
    return 0;
}

int kr_graphics_PopMatrix() {
    c_GraphicsContext* g = kr_graphics_context;
    if (g->m_stackOverflow > 0) {
        --g->m_stackOverflow;
        return 0;
    }
    if (g->m_stackTop < 6) return 0;
    g->m_stackTop -= 6;
    const float* m = g->m_matrixStack.Data() + g->m_stackTop;
    g->p_UpdateMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
    return 0;
}

int kr_graphics_ValidateMatrix() {
    c_GraphicsContext* g = kr_graphics_context;
    if (g->m_matrixDirty) {
        kr_graphics_RenderDevice()->SetMatrix(g->m_a, g->m_b, g->m_c, g->m_d, g->m_tx, g->m_ty);
        g->m_matrixDirty = 0;
    }
    return 0;
}
