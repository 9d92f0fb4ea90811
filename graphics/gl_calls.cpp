// SPDX-License-Identifier: Zlib
#include "graphics/gl_calls.h"

#if defined(__EMSCRIPTEN__)
// WebGL has no glMultiDrawArrays that works on client-side arrays: each
// polygon is drawn on its own.
static void MultiDrawArraysOneByOne(GLenum mode, const GLint* first, const GLsizei* count, GLsizei drawCount) {
    for (GLsizei i = 0; i < drawCount; ++i) glDrawArrays(mode, first[i], count[i]);
}

const KrGlCalls kr_gl_real = {glDrawArrays, glDrawElements, MultiDrawArraysOneByOne, glTexImage2D,
                                  glDeleteTextures, glClear};
#else
const KrGlCalls kr_gl_real = {glDrawArrays, glDrawElements, glMultiDrawArrays, glTexImage2D,
                                  glDeleteTextures, glClear};
#endif

KrGlCalls kr_gl = kr_gl_real;
