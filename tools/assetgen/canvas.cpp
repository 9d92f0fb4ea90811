// SPDX-License-Identifier: Zlib
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::Blend(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f) return;
    float* p = &px_[(static_cast<size_t>(y) * width_ + x) * 4];
    float keep = 1.0f - a;
    p[0] = c.r * a + p[0] * keep;
    p[1] = c.g * a + p[1] * keep;
    p[2] = c.b * a + p[2] * keep;
    p[3] = a + p[3] * keep;
}

void Canvas::Composite(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; ++j) {
        int ty = dy + j, fy = sy + j;
        if (ty < 0 || ty >= height_ || fy < 0 || fy >= src.height_) continue;
        for (int i = 0; i < w; ++i) {
            int tx = dx + i, fx = sx + i;
            if (tx < 0 || tx >= width_ || fx < 0 || fx >= src.width_) continue;
            const float* s = &src.px_[(static_cast<size_t>(fy) * src.width_ + fx) * 4];
            float* d = &px_[(static_cast<size_t>(ty) * width_ + tx) * 4];
            float keep = 1.0f - s[3];
            for (int k = 0; k < 4; ++k) d[k] = s[k] + d[k] * keep;
        }
    }
}

void Canvas::FillRect(int x, int y, int w, int h, Color c) {
    for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j) {
        for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i) {
            float* d = &px_[(static_cast<size_t>(j) * width_ + i) * 4];
            d[0] = c.r * c.a;
            d[1] = c.g * c.a;
            d[2] = c.b * c.a;
            d[3] = c.a;
        }
    }
}

Canvas Canvas::Magnified(int factor) const {
    Canvas out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height_; ++y) {
        for (int x = 0; x < out.width_; ++x) {
            const float* s = &px_[(static_cast<size_t>(y / factor) * width_ + x / factor) * 4];
            std::copy(s, s + 4, &out.px_[(static_cast<size_t>(y) * out.width_ + x) * 4]);
        }
    }
    return out;
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(px_.size());
    auto to8 = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (size_t i = 0; i < px_.size(); i += 4) {
        float a = px_[i + 3];
        uint8_t a8 = to8(a);
        if (a8 == 0) continue;  // fully transparent pixels stay 0,0,0,0
        for (int k = 0; k < 3; ++k) out[i + k] = to8(px_[i + k] / a);
        out[i + 3] = a8;
    }
    return out;
}

}  // namespace assetgen
