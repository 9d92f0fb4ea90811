// SPDX-License-Identifier: Zlib
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

float Oscillator(Wave w, double phase) {
    double f = phase - std::floor(phase);
    switch (w) {
        case Wave::Sine: return static_cast<float>(std::sin(kTwoPi * f));
        case Wave::Triangle: return static_cast<float>(f < 0.5 ? 4 * f - 1 : 3 - 4 * f);
        case Wave::Saw: return static_cast<float>(2 * f - 1);
        case Wave::Square: return f < 0.5 ? 1.0f : -1.0f;
        case Wave::Pulse: return f < 0.25 ? 1.0f : -0.45f;
    }
    return 0;
}

float Noise::Next() { return Uniform() * 2.0f - 1.0f; }

float Noise::Uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) / 16777216.0f;
}

float Envelope::Level(float t, float gate) const {
    if (t < 0) return 0;
    auto held = [this](float u) {
        if (u < attack) return u / attack;
        float k = std::exp(-(u - attack) / std::max(decay, 1e-4f));
        return sustain + (1.0f - sustain) * k;
    };
    if (t < gate) return held(t);
    float r = (t - gate) / std::max(release, 1e-4f);
    return r >= 1 ? 0.0f : held(gate) * (1.0f - r);
}

float Decay(float t, float halfLife) { return t < 0 ? 0.0f : std::exp2(-t / halfLife); }

float LowPass::Process(float x, float cutoffHz) {
    float a = 1.0f - std::exp(-2.0f * 3.14159265f * cutoffHz / kSampleRate);
    y_ += a * (x - y_);
    return y_;
}

float HighPass::Process(float x, float cutoffHz) { return x - low_.Process(x, cutoffHz); }

float StateVariable::Process(float x, float cutoffHz, float damping) {
    float f = 2.0f * std::sin(3.14159265f * std::min(cutoffHz, kSampleRate / 6.0f) / kSampleRate);
    low += f * band;
    float high = x - low - damping * band;
    band += f * high;
    return band;
}

double MidiToHz(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

void MixInto(Samples& dst, const Samples& src, size_t at, float gain) {
    if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[at + i] += src[i] * gain;
}

void Normalize(Samples& s, float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m <= 0) return;
    for (float& v : s) v *= peak / m;
}

void FadeEdges(Samples& s, float inMs, float outMs) {
    size_t in = std::min(s.size(), static_cast<size_t>(inMs * kSampleRate / 1000));
    size_t out = std::min(s.size(), static_cast<size_t>(outMs * kSampleRate / 1000));
    for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(i) / in;
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / out;
}

}  // namespace assetgen
