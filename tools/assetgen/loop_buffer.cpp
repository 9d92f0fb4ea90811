// SPDX-License-Identifier: Zlib
#include "loop_buffer.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

void LoopBuffer::Add(size_t frame, float value, float pan) {
    float a = (pan + 1.0f) * 0.25f * 3.14159265f;
    AddStereo(frame, value * std::cos(a), value * std::sin(a));
}

void LoopBuffer::AddStereo(size_t frame, float l, float r) {
    size_t i = frame % left_.size();
    left_[i] += l;
    right_[i] += r;
}

void LoopBuffer::Mix(const LoopBuffer& other, float gain) {
    for (size_t i = 0; i < left_.size(); ++i) {
        left_[i] += other.left_[i] * gain;
        right_[i] += other.right_[i] * gain;
    }
}

LoopBuffer LoopBuffer::Echo(size_t delay, float feedback) const {
    // e[i] = dry[i - delay] + feedback * swap(e[i - delay]). Each pass round
    // the loop adds one more generation of repeats from across the loop
    // point; a few passes leave the remainder far below hearing.
    size_t n = Frames();
    LoopBuffer e(n);
    for (int pass = 0; pass < 4; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + n - delay % n) % n;
            e.left_[i] = left_[j] + feedback * e.right_[j];
            e.right_[i] = right_[j] + feedback * e.left_[j];
        }
    }
    return e;
}

Samples LoopBuffer::Interleaved(float peak) const {
    float m = 1e-9f;
    for (size_t i = 0; i < left_.size(); ++i) m = std::max({m, std::fabs(left_[i]), std::fabs(right_[i])});
    Samples out(left_.size() * 2);
    for (size_t i = 0; i < left_.size(); ++i) {
        out[2 * i] = left_[i] * peak / m;
        out[2 * i + 1] = right_[i] * peak / m;
    }
    return out;
}

}  // namespace assetgen
