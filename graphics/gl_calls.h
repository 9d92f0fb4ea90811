// SPDX-License-Identifier: Zlib
// The OpenGL calls through which the device draws, clears, allocates textures
// and deletes them. They go through this table of function pointers so that a
// caller (a test, the benchmark) can put a wrapper in front of the real
// functions, to count what actually reaches OpenGL, see where it happens or
// make an allocation fail, without the device keeping any bookkeeping of its
// own.
#pragma once

#include "graphics/gl.h"

struct KrGlCalls {
    void (*DrawArrays)(GLenum mode, GLint first, GLsizei count);
    void (*DrawElements)(GLenum mode, GLsizei count, GLenum type, const void* indices);
    void (*MultiDrawArrays)(GLenum mode, const GLint* first, const GLsizei* count,
                            GLsizei drawCount);
    void (*TexImage2D)(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                       GLsizei height, GLint border, GLenum format, GLenum type,
                       const void* pixels);
    void (*DeleteTextures)(GLsizei n, const GLuint* textures);
    void (*Clear)(GLbitfield mask);
};

// The table in force; starts with the real OpenGL functions.
extern KrGlCalls kr_gl;

// The real OpenGL functions, for wrappers to call and to restore the table.
extern const KrGlCalls kr_gl_real;
