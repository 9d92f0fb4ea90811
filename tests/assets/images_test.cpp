// SPDX-License-Identifier: Zlib
// Every image the game and the framework load, decoded with the host's own
// loader: exact sizes at all three levels, room for every frame in the order
// the framework's grab walks them, and ink in every frame the game draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/desktop/glfw_game.h"

namespace {

const std::string kData = std::string(VORNHELM_BUILD_DIR) + "/data/";

struct Image {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> pixels;
    int Alpha(int x, int y) const {
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * channels];
        return channels == 4 ? p[3] : channels == 2 ? p[1] : 255;
    }
};

Image Load(const std::string& path) {
    static KrGlfwGame host;
    Image img;
    unsigned char* data = host.LoadImageData(String(path.c_str()), &img.width, &img.height, &img.channels);
    if (data) img.pixels.assign(data, data + img.width * img.height * img.channels);
    std::free(data);
    return img;
}

std::vector<int> Range(int from, int to, std::vector<int> more = {}) {
    for (int i = from; i <= to; ++i) more.push_back(i);
    return more;
}

// File below data/ (without level suffix), frame size at level 1, frame
// count, and the frames the game draws.
const struct { const char* name; int frameWidth, frameHeight, frames; std::vector<int> named; } kImages[] = {
    {"gfx", 32, 32, 16, Range(0, 10, {12, 13, 14, 15})},
    {"gfx_small", 8, 8, 64, {0, 1, 2, 3, 4, 5, 8, 9, 12, 16, 17, 18}},
    {"gfx_harrier", 128, 32, 16, Range(0, 11)},
    {"BadgesA", 64, 64, 64, Range(0, 63)},
    {"fonts/editundo", 16, 16, 128, Range(1, 127)},  // codes 32..159; 32 is a space
    {"common/Testcard_Circle", 256, 256, 1, {0}},
    {"common/ZelvLogo", 256, 256, 1, {0}},
    {"common/dpad", 32, 32, 16, {0, 1, 4, 5, 6, 9}},
    {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
    {"parts", 8, 8, 256, Range(0, 255)},
    {"common/icons", 32, 32, 16, {0, 1, 3, 6, 7}},
    {"logo", 256, 128, 1, {0}},
    {"menu", 256, 256, 4, Range(0, 3)},
};

}  // namespace

TEST(Images, EveryLevelIsExactlyScaledHoldsAllFramesAndNoNamedFrameIsEmpty) {
    for (const auto& image : kImages) {
        const Image base = Load(kData + image.name + ".png");
        for (int level : {1, 2, 4}) {
            SCOPED_TRACE(std::string(image.name) + " level " + std::to_string(level));
            const Image img = Load(kData + image.name + (level == 1 ? "" : level == 2 ? "-hd" : "-hd2") + ".png");
            ASSERT_GT(img.width, 0) << "missing or undecodable";
            EXPECT_TRUE(img.width == base.width * level && img.height == base.height * level);
            const int w = image.frameWidth * level, h = image.frameHeight * level, perRow = img.width / w;
            ASSERT_TRUE(img.width % w == 0 && img.height % h == 0);
            ASSERT_GE(perRow * (img.height / h), image.frames);
            for (int f : image.named) {
                int ink = 0;  // at least half-opaque pixels: no less than one base pixel's worth
                for (int y = f / perRow * h; y < (f / perRow + 1) * h; ++y)
                    for (int x = f % perRow * w; x < (f % perRow + 1) * w; ++x) ink += img.Alpha(x, y) >= 128;
                EXPECT_GE(ink, level * level * 3 / 4) << "frame " << f;
            }
        }
    }
}

// Many graphics cards take no texture wider or taller than 4096 pixels, and
// one they cannot take draws nothing. The contact sheets are held to it too.
TEST(Images, NoGeneratedImageIsWiderOrTallerThan4096Pixels) {
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kData)) {
        if (entry.path().extension() != ".png") continue;
        SCOPED_TRACE(entry.path().string());
        unsigned char header[24] = {};  // signature, then the IHDR chunk's width and height
        std::ifstream(entry.path(), std::ios::binary).read(reinterpret_cast<char*>(header), sizeof header);
        ASSERT_EQ(std::string(reinterpret_cast<char*>(header) + 12, 4), "IHDR");
        auto be32 = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
        EXPECT_TRUE(be32(16) <= 4096 && be32(20) <= 4096) << be32(16) << " x " << be32(20);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}
