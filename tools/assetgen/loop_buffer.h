// SPDX-License-Identifier: Zlib
// A stereo buffer whose end joins its start: whatever is written past the
// end wraps round to the beginning, so note tails and echoes that run over
// the loop point sound at the start, and the loop plays seamlessly.
#pragma once

#include <vector>

#include "synth.h"

namespace assetgen {

class LoopBuffer {
public:
    explicit LoopBuffer(size_t frames) : left_(frames, 0.0f), right_(frames, 0.0f) {}

    size_t Frames() const { return left_.size(); }
    // Adds a mono sample placed by `pan` (-1 left .. 1 right, equal power).
    void Add(size_t frame, float value, float pan);
    void AddStereo(size_t frame, float l, float r);

    // Mixes `other` in with a gain.
    void Mix(const LoopBuffer& other, float gain);
    // A feedback echo, `delay` frames late, each repeat `feedback` as loud and
    // swapped to the other side; computed round the loop until it settles.
    LoopBuffer Echo(size_t delay, float feedback) const;
    // Interleaved left/right, scaled so the peak is `peak`.
    Samples Interleaved(float peak) const;

private:
    std::vector<float> left_, right_;
};

}  // namespace assetgen
