// What the game and the framework load from the data folder, written down
// independently of the generator, plus small readers the asset tests share.
#pragma once


#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/audio_decode.h"
#include "host/host.h"

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

// Decodes an image with the host's own loader, as the game does, and widens
// its 1 to 4 channels to RGBA for the checks.
inline Image LoadPng(const std::string& path) {
    static KrGlfwGame host;
    Image img;
    int channels = 0;
    unsigned char* data = host.LoadImageData(String(path.c_str()), &img.width, &img.height, &channels);
    if (!data) return {};
    size_t pixels = static_cast<size_t>(img.width) * img.height;
    img.rgba.resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = data + i * channels;
        uint8_t* q = &img.rgba[i * 4];
        bool grey = channels < 3;
        q[0] = p[0];
        q[1] = grey ? p[0] : p[1];
        q[2] = grey ? p[0] : p[2];
        q[3] = channels == 2 ? p[1] : channels == 4 ? p[3] : 255;
    }
    std::free(data);
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

// A sound effect as the game's own WAV loader decodes it.
struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
    bool Ok() const { return channels > 0; }
    double Seconds() const { return Ok() ? samples.size() / double(channels) / rate : 0; }
};

inline Wav LoadWav(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    int frames = 0, channels = 0, bytesPerSample = 0, rate = 0;
    unsigned char* data = LoadWAV(f, &frames, &channels, &bytesPerSample, &rate);
    std::fclose(f);
    if (!data) return {};
    Wav w;
    w.channels = channels;
    w.rate = rate;
    w.bits = bytesPerSample * 8;
    if (bytesPerSample == 2) {
        const int16_t* s = reinterpret_cast<const int16_t*>(data);
        w.samples.assign(s, s + static_cast<size_t>(frames) * channels);
    }
    std::free(data);
    return w;
}

}  // namespace assettest
