// SPDX-License-Identifier: Zlib
#include "graphics/frame_capture.h"

#include <cstring>

#include "graphics/gl.h"

// Read as RGBA, the one format every OpenGL and WebGL reads back.
std::vector<unsigned char> KrReadFrameRgb(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    std::vector<unsigned char> bottomUp(pixels * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> rows(pixels * 3);
    for (int r = 0; r < height; ++r) {
        const unsigned char* from = &bottomUp[static_cast<std::size_t>(height - 1 - r) * width * 4];
        unsigned char* to = &rows[static_cast<std::size_t>(r) * width * 3];
        for (int x = 0; x < width; ++x) std::memcpy(to + 3 * x, from + 4 * x, 3);
    }
    return rows;
}
