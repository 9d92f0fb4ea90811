// SPDX-License-Identifier: Zlib
// Video modes of the primary monitor in the classic form, which has no
// refresh rate: modes that differ only in their refresh rate are listed once.
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

namespace {

glfw2::GLFWvidmode toClassic(const ::GLFWvidmode& m) {
    glfw2::GLFWvidmode out;
    out.Width = m.width;
    out.Height = m.height;
    out.RedBits = m.redBits;
    out.GreenBits = m.greenBits;
    out.BlueBits = m.blueBits;
    return out;
}

bool sameMode(const glfw2::GLFWvidmode& a, const glfw2::GLFWvidmode& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RedBits == b.RedBits &&
           a.GreenBits == b.GreenBits && a.BlueBits == b.BlueBits;
}

bool listed(const glfw2::GLFWvidmode* list, int count, const glfw2::GLFWvidmode& m) {
    for (int i = 0; i < count; ++i)
        if (sameMode(list[i], m)) return true;
    return false;
}

}  // namespace

namespace glfw2 {

int glfwGetVideoModes(GLFWvidmode* list, int maxcount) {
    GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
    if (!monitor || !list || maxcount <= 0) return 0;
    int total = 0;
    const ::GLFWvidmode* modes = ::glfwGetVideoModes(monitor, &total);
    int count = 0;
    for (int i = 0; modes && i < total && count < maxcount; ++i) {
        GLFWvidmode m = toClassic(modes[i]);
        if (!listed(list, count, m)) list[count++] = m;
    }
    return count;
}

void glfwGetDesktopMode(GLFWvidmode* mode) {
    if (!mode) return;
    *mode = GLFWvidmode{};
    GLFWmonitor* monitor = ::glfwGetPrimaryMonitor();
    const ::GLFWvidmode* current = monitor ? ::glfwGetVideoMode(monitor) : nullptr;
    if (current) *mode = toClassic(*current);
}

}  // namespace glfw2
