// The window's drawable as it really is, and a request for another size (a
// replay following its recording's window).
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include "host/desktop/glfw_game.h"

void KrGlfwGame::FramebufferSize(int* width, int* height) {
    *width = *height = 0;
    if (GLFWwindow* w = glfw2::bridge::Window()) ::glfwGetFramebufferSize(w, width, height);
}

// Window and drawable sizes differ where the window system scales windows;
// the request keeps their ratio.
void KrGlfwGame::RequestFramebufferSize(int width, int height) {
    GLFWwindow* w = glfw2::bridge::Window();
    if (!w || width <= 0 || height <= 0) return;
    int ww = 0, wh = 0, fw = 0, fh = 0;
    ::glfwGetWindowSize(w, &ww, &wh);
    ::glfwGetFramebufferSize(w, &fw, &fh);
    if (fw > 0 && fh > 0) {
        width = static_cast<int>(static_cast<long long>(width) * ww / fw);
        height = static_cast<int>(static_cast<long long>(height) * wh / fh);
    }
    ::glfwSetWindowSize(w, width, height);
}
