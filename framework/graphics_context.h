// SPDX-License-Identifier: Zlib
// The graphics context: the drawing state of the graphics module (matrix and
// its stack, colour, alpha, blend, scissor, font) kept between calls.
#pragma once

#include "framework/image.h"

class c_GraphicsContext : public Object {
public:
    enum { kStackLevels = 32, kStackFloats = kStackLevels * 6 };

    c_Image* m_baseFont = nullptr;  // the default font, loaded on first need
    c_Image* m_font = nullptr;
    int m_fontFirstCode = 0;
    int m_stackTop = 0;  // floats in use on m_matrixStack
    float m_a = 1, m_b = 0, m_c = 0, m_d = 1, m_tx = 0, m_ty = 0;
    int m_transformed = 0;
    int m_matrixDirty = 0;  // 1 while the device has not been given the matrix
    float m_red = 0, m_green = 0, m_blue = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    Array<float> m_matrixStack;
    // Pushes refused because the stack was full; their pops are ignored, so
    // the pushes and pops below them stay paired.
    int m_stackOverflow = 0;

    c_GraphicsContext() {}
    c_GraphicsContext* m_new();
    void mark() override;

    // Stores a matrix, notes whether it is the identity and marks it dirty.
    void p_UpdateMatrix(float a, float b, float c, float d, float tx, float ty);
};
