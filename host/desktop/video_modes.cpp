// The screen modes the application can switch to, as collected objects.
#include <vector>

#include "host/glfw2/glfw2.h"
#include "host/desktop/glfw_game.h"

using namespace glfw2;

namespace {

constexpr int kMaxModes = 1024;

KrGlfwVideoMode* newMode(const GLFWvidmode& m) {
    auto* mode = new KrGlfwVideoMode;
    mode->Width = m.Width;
    mode->Height = m.Height;
    mode->RedBits = m.RedBits;
    mode->GreenBits = m.GreenBits;
    mode->BlueBits = m.BlueBits;
    return mode;
}

}  // namespace

Array<KrGlfwVideoMode*> KrGlfwGame::GetGlfwVideoModes() {
    std::vector<GLFWvidmode> modes(kMaxModes);
    int count = glfwGetVideoModes(modes.data(), kMaxModes);
    Array<KrGlfwVideoMode*> result(count);
    for (int i = 0; i < count; ++i) gc_assign(result[i], newMode(modes[i]));
    return result;
}

KrGlfwVideoMode* KrGlfwGame::GetGlfwDesktopMode() {
    GLFWvidmode desktop;
    glfwGetDesktopMode(&desktop);
    return newMode(desktop);
}
