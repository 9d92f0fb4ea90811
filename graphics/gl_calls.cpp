#include "graphics/gl_calls.h"

const KrGlCalls kr_gl_real = {glDrawArrays, glDrawElements, glMultiDrawArrays, glTexImage2D,
                                  glDeleteTextures};

KrGlCalls kr_gl = kr_gl_real;
