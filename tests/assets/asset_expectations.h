// What the game and the framework load from the data folder, written down
// independently of the generator, plus small readers the asset tests share.
#pragma once

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace assettest {

inline std::string DataDir() { return std::string(VORNHELM_BUILD_DIR) + "/data"; }

struct ImageEntry {
    std::string name;  // below data/, without level suffix and ".png"
    int frameWidth, frameHeight, frames;
    std::vector<int> named;  // frames the game draws; these must not be empty
};

inline std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int i = from; i <= to; ++i) r.push_back(i);
    return r;
}

inline std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Image slots of the game: file, frame size in base pixels, frame count.
inline const std::vector<ImageEntry>& GameImages() {
    static const std::vector<ImageEntry> entries = {
        {"gfx", 32, 32, 16, Join(Range(0, 10), Range(12, 15))},
        {"gfx_small", 8, 8, 64, {0, 1, 2, 3, 4, 5, 8, 9, 12, 16, 17, 18}},
        {"gfx_harrier", 128, 32, 16, Range(0, 11)},
        {"BadgesA", 64, 64, 64, Range(0, 63)},
        {"fonts/editundo", 16, 16, 128, Range(1, 127)},
        {"common/Testcard_Circle", 256, 256, 1, {0}},
        {"common/ZelvLogo", 256, 256, 1, {0}},
        {"common/dpad", 32, 32, 16, {0, 1, 4, 5, 6, 9}},
        {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
        {"parts", 8, 8, 256, Range(0, 255)},
        {"common/icons", 32, 32, 16, {0, 1, 3, 6, 7}},
        {"logo", 256, 128, 1, {0}},
        {"menu", 256, 256, 4, Range(0, 3)},
    };
    return entries;
}

inline std::string LevelPath(const std::string& name, int level) {
    const char* suffix = level == 4 ? "-hd2" : level == 2 ? "-hd" : "";
    return DataDir() + "/" + name + suffix + ".png";
}

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    bool Ok() const { return width > 0; }
    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline Image LoadPng(const std::string& path) {
    Image img;
    int n = 0;
    unsigned char* data = stbi_load(path.c_str(), &img.width, &img.height, &n, 4);
    if (!data) return {};
    img.rgba.assign(data, data + static_cast<size_t>(img.width) * img.height * 4);
    stbi_image_free(data);
    return img;
}

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Frame positions as the game's loader cuts them: left to right, moving to
// the next row when a frame would cross the right edge. Empty when a frame
// would fall outside the image.
inline std::vector<Rect> GrabFrames(const Image& img, int w, int h, int count) {
    std::vector<Rect> frames;
    int cx = 0, cy = 0;
    for (int i = 0; i < count; ++i) {
        if (cx + w > img.width) {
            cx = 0;
            cy += h;
            if (w > img.width) return {};
        }
        if (cy + h > img.height) return {};
        frames.push_back({cx, cy, w, h});
        cx += w;
    }
    return frames;
}

// Ink of a frame: pixels at least half opaque; `bright` also asks for a
// light colour (the fonts' white strokes rather than their dark shadow).
struct Ink {
    int count = 0, x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // box in frame pixels, inclusive
    int Width() const { return count ? x1 - x0 + 1 : 0; }
    int Height() const { return count ? y1 - y0 + 1 : 0; }
};

inline Ink InkOf(const Image& img, const Rect& r, bool bright = false) {
    Ink ink;
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) {
            const uint8_t* p = img.At(r.x + x, r.y + y);
            if (p[3] < 128 || (bright && (p[0] + p[1] + p[2]) < 3 * 160)) continue;
            ++ink.count;
            ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x);
            ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y);
        }
    return ink;
}

// A 16-bit PCM RIFF WAVE file, read with the same demands the game's loader
// makes: "fmt " straight after "WAVE", integer PCM, then a "data" chunk.
struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
    bool Ok() const { return channels > 0; }
    double Seconds() const { return Ok() ? samples.size() / double(channels) / rate : 0; }
};

inline Wav LoadWav(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::vector<uint8_t> b;
    uint8_t buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) b.insert(b.end(), buf, buf + n);
    std::fclose(f);
    auto u16 = [&](size_t at) { return static_cast<uint32_t>(b[at] | b[at + 1] << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    auto tag = [&](size_t at, const char* t) { return at + 4 <= b.size() && std::memcmp(&b[at], t, 4) == 0; };
    if (b.size() < 44 || !tag(0, "RIFF") || !tag(8, "WAVE") || !tag(12, "fmt ")) return {};
    uint32_t fmtSize = u32(16);
    if (u16(20) != 1) return {};
    Wav w;
    w.channels = static_cast<int>(u16(22));
    w.rate = static_cast<int>(u32(24));
    w.bits = static_cast<int>(u16(34));
    for (size_t at = 20 + fmtSize; at + 8 <= b.size();) {
        uint32_t size = u32(at + 4);
        if (tag(at, "data")) {
            if (at + 8 + size > b.size() || w.bits != 16) return {};
            w.samples.resize(size / 2);
            for (size_t i = 0; i < w.samples.size(); ++i)
                w.samples[i] = static_cast<int16_t>(u16(at + 8 + 2 * i));
            return w;
        }
        at += 8 + size;
    }
    return {};
}

}  // namespace assettest
