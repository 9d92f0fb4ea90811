// SPDX-License-Identifier: Zlib
// The OpenGL 1.x header with the prototypes of the functions above 1.1 that
// the device uses (glMultiDrawArrays, GL_BGRA, GL_CLAMP_TO_EDGE).
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
