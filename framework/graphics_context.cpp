// SPDX-License-Identifier: Zlib
#include "framework/graphics_context.h"

c_GraphicsContext* c_GraphicsContext::m_new() {
    m_matrixStack = Array<float>(kStackFloats);
    return this;
}

void c_GraphicsContext::mark() {
    gc_mark_q(m_baseFont);
    gc_mark_q(m_font);
    gc_mark_q(m_matrixStack);
}

void c_GraphicsContext::p_UpdateMatrix(float a, float b, float c, float d, float tx, float ty) {
    m_a = a;
    m_b = b;
    m_c = c;
    m_d = d;
    m_tx = tx;
    m_ty = ty;
    m_transformed = (a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0) ? 0 : 1;
    m_matrixDirty = 1;
}
