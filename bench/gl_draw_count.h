// SPDX-License-Identifier: Zlib
// Counts the OpenGL draw calls one frame makes, at the OpenGL boundary: the
// draw entry points go through counting wrappers while `frame` runs.
#pragma once

#include "graphics/gl_calls.h"

namespace bench {

inline int glDrawCalls = 0;

inline void CountDrawArrays(GLenum m, GLint f, GLsizei c) { ++glDrawCalls, kr_gl_real.DrawArrays(m, f, c); }
inline void CountDrawElements(GLenum m, GLsizei c, GLenum t, const void* i) {
    ++glDrawCalls, kr_gl_real.DrawElements(m, c, t, i);
}
inline void CountMultiDrawArrays(GLenum m, const GLint* f, const GLsizei* c, GLsizei n) {
    ++glDrawCalls, kr_gl_real.MultiDrawArrays(m, f, c, n);
}

template <class F>
int CountDrawCalls(F frame) {
    kr_gl.DrawArrays = CountDrawArrays;
    kr_gl.DrawElements = CountDrawElements;
    kr_gl.MultiDrawArrays = CountMultiDrawArrays;
    glDrawCalls = 0;
    frame();
    kr_gl = kr_gl_real;
    return glDrawCalls;
}

}  // namespace bench
