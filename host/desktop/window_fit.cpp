// SPDX-License-Identifier: Zlib
// The window's drawable as it really is, and a request for another size (a
// replay following its recording's window).
#include "host/glfw2/bridge.h"
// After the bridge, never before: see host/glfw2/bridge.h.
#include <GLFW/glfw3.h>

#include "host/desktop/glfw_game.h"
#include "host/desktop/window_fit.h"

void KrGlfwGame::FramebufferSize(int* width, int* height) {
    *width = *height = 0;
    if (GLFWwindow* w = glfw2::bridge::Window()) ::glfwGetFramebufferSize(w, width, height);
}

void KrWindowSizeForFramebuffer(int width, int height, int windowWidth, int windowHeight, int framebufferWidth,
                                int framebufferHeight, int* outWidth, int* outHeight) {
    *outWidth = width, *outHeight = height;
    if (framebufferWidth > 0 && framebufferHeight > 0) {
        *outWidth = static_cast<int>(static_cast<long long>(width) * windowWidth / framebufferWidth);
        *outHeight = static_cast<int>(static_cast<long long>(height) * windowHeight / framebufferHeight);
    }
}

// Window and drawable sizes differ where the window system scales windows.
void KrGlfwGame::RequestFramebufferSize(int width, int height) {
    GLFWwindow* w = glfw2::bridge::Window();
    if (!w || width <= 0 || height <= 0) return;
    int ww = 0, wh = 0, fw = 0, fh = 0;
    ::glfwGetWindowSize(w, &ww, &wh);
    ::glfwGetFramebufferSize(w, &fw, &fh);
    KrWindowSizeForFramebuffer(width, height, ww, wh, fw, fh, &width, &height);
    ::glfwSetWindowSize(w, width, height);
}
