// SPDX-License-Identifier: Zlib
// Window-system coordinates to framebuffer pixels. Where the window system
// scales windows (high-DPI screens) a window's framebuffer has more pixels
// than its size in screen coordinates; the pointer is reported in the
// framebuffer's pixels so that it lands on what was drawn under it.
#pragma once

#include <cmath>

namespace glfw2 {

inline void WindowToFramebuffer(double x, double y, int windowWidth, int windowHeight,
                                int framebufferWidth, int framebufferHeight, int* fx, int* fy) {
    if (windowWidth > 0 && windowHeight > 0) {
        x = x * framebufferWidth / windowWidth;
        y = y * framebufferHeight / windowHeight;
    }
    *fx = static_cast<int>(std::floor(x));
    *fy = static_cast<int>(std::floor(y));
}

}  // namespace glfw2
