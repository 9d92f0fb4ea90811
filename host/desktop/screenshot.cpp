#include "host/desktop/screenshot.h"

#include <stb/stb_image_write.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "graphics/gl.h"
#include "host/glfw2/hooks.h"
#include "host/desktop/window_fit.h"

namespace {

std::string pendingPath;
bool pending = false;
bool lastSaved = false;
glfw2::hooks::BeforeSwap previousHook = nullptr;

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool CaptureHook() {
    glfw2::hooks::SetBeforeSwap(previousHook);
    pending = false;
    int width, height;
    KrFramebufferSize(&width, &height);
    lastSaved = width > 0 && height > 0 &&
                KrWritePng(pendingPath, width, height, KrReadFrameRgb(width, height));
    std::printf(lastSaved ? "Screenshot saved as %s\n" : "Screenshot could not be saved as %s\n",
                pendingPath.c_str());
    std::fflush(stdout);
    return glfw2::hooks::RunBeforeSwap();
}

}  // namespace

std::string KrScreenshotName(std::time_t when) {
    std::tm local = *std::localtime(&when);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "vornhelm-%Y%m%d-%H%M%S", &local);
    std::string name = std::string(stamp) + ".png";
    for (int n = 2; Exists(name); ++n) name = std::string(stamp) + "-" + std::to_string(n) + ".png";
    return name;
}

// Read as RGBA, the one format every OpenGL and WebGL reads back.
std::vector<unsigned char> KrReadFrameRgb(int width, int height) {
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

bool KrWritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb) {
    if (rgb.size() != static_cast<std::size_t>(width) * height * 3) return false;
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}

void KrCaptureNextFrame(const std::string& path) {
    pendingPath = path;
    if (pending) return;
    pending = true;
    // A hook already in place (a replay's) runs after the capture.
    previousHook = glfw2::hooks::CurrentBeforeSwap();
    glfw2::hooks::SetBeforeSwap(CaptureHook);
}

bool KrCapturePending() { return pending; }

bool KrLastCaptureSaved() { return lastSaved; }
