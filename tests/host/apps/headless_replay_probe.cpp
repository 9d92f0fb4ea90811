// SPDX-License-Identifier: Zlib
// The program's fast replay, with every OpenGL call that the graphics
// device makes through its seam (graphics/gl_calls.h) counted instead of
// made; the count is printed after the replay's last line.
#include <cstdio>
#include <cstdlib>

#include "game/state_digest.h"
#include "graphics/gl_calls.h"
#include "host/desktop/launch.h"

namespace {

int calls = 0;

void Report() {
    std::printf("OpenGL calls: %d\n", calls);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    kr_gl.DrawArrays = [](GLenum, GLint, GLsizei) { ++calls; };
    kr_gl.DrawElements = [](GLenum, GLsizei, GLenum, const void*) { ++calls; };
    kr_gl.MultiDrawArrays = [](GLenum, const GLint*, const GLsizei*, GLsizei) { ++calls; };
    kr_gl.TexImage2D = [](GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*) { ++calls; };
    kr_gl.DeleteTextures = [](GLsizei, const GLuint*) { ++calls; };
    // Registered before the replay's own handler, so it runs after it.
    std::atexit(Report);
    return KrDesktopMain(argc, const_cast<const char**>(argv), KrDescribeGameState);
}
