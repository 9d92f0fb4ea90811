// Image files for the tests, written with stb_image_write into a private
// temporary folder, plus broken ones.
#pragma once

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/glfw_game.h"

namespace graphics_test {

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/vornhelm_graphics_XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~TempDir() {
        if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
    }
    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Pixels of w x h with `channels` bytes each, filled by value(x, y, channel).
template <class F>
std::vector<unsigned char> MakePixels(int w, int h, int channels, F value) {
    std::vector<unsigned char> p(static_cast<size_t>(w) * h * channels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                p[(y * w + x) * channels + c] = static_cast<unsigned char>(value(x, y, c));
    return p;
}

inline void WritePng(const std::string& file, int w, int h, int channels,
                     const std::vector<unsigned char>& pixels) {
    ASSERT_NE(stbi_write_png(file.c_str(), w, h, channels, pixels.data(), w * channels), 0) << file;
}

inline void WriteJpeg(const std::string& file, int w, int h,
                      const std::vector<unsigned char>& rgb) {
    ASSERT_NE(stbi_write_jpg(file.c_str(), w, h, 3, rgb.data(), 95), 0) << file;
}

inline void WriteBytes(const std::string& file, const std::string& bytes) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr) << file;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::string ReadBytes(const std::string& file) {
    std::string bytes;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

// The one host object of a test process; the loaders reach it through
// KrGlfwGame::_glfwGame.
inline KrGlfwGame& Host() {
    static KrGlfwGame* host = new KrGlfwGame;
    return *host;
}

}  // namespace graphics_test
