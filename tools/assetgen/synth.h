// SPDX-License-Identifier: Zlib
// The building blocks of the generator's synthesizer: oscillators, a noise
// source with a fixed seed, envelopes and simple filters. Everything works on
// float samples at 44.1 kHz and is fully deterministic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

constexpr int kSampleRate = 44100;
using Samples = std::vector<float>;

enum class Wave { Sine, Triangle, Saw, Square, Pulse };

// Value of a wave at `phase` cycles (any real; only the fraction counts).
float Oscillator(Wave w, double phase);

// White noise in -1..1 from a xorshift generator; the same seed always
// gives the same sequence.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    float Next();
    float Uniform();  // 0..1

private:
    uint32_t state_;
};

// Linear attack, exponential-ish decay toward `sustain`, linear release
// after `gate` seconds. Times in seconds.
struct Envelope {
    float attack = 0.002f, decay = 0.1f, sustain = 0.0f, release = 0.01f;
    float Level(float t, float gate) const;
};

// A fast exponential decay from 1 with the given half-life in seconds.
float Decay(float t, float halfLife);

// One-pole low-pass; `Process` takes the cutoff per sample so it can sweep.
class LowPass {
public:
    float Process(float x, float cutoffHz);

private:
    float y_ = 0;
};

class HighPass {
public:
    float Process(float x, float cutoffHz);

private:
    LowPass low_;
};

// Chamberlin state-variable filter for resonant sweeps; returns the band-pass
// output through `Process` and keeps the low-pass output in `low`.
class StateVariable {
public:
    float Process(float x, float cutoffHz, float damping);
    float low = 0, band = 0;
};

double MidiToHz(double note);

// Adds `src` into `dst` starting at sample `at` (growing `dst` if needed).
void MixInto(Samples& dst, const Samples& src, size_t at, float gain = 1.0f);
// Scales so the largest magnitude is `peak`.
void Normalize(Samples& s, float peak);
// Short linear fades so a sound starts and ends at silence (milliseconds).
void FadeEdges(Samples& s, float inMs, float outMs);

}  // namespace assetgen
