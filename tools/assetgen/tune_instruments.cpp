// SPDX-License-Identifier: Zlib
#include "tune_instruments.h"

#include <cmath>
#include <functional>

namespace assetgen {

namespace {

constexpr float kTwoPi = 6.2831853f;

size_t StartFrame(int step) { return static_cast<size_t>(step) * kStepSamples; }
float GateSeconds(const Note& n) { return (n.length * kStepSamples - 200) / static_cast<float>(kSampleRate); }

// Runs `voice(t)` for `seconds` from `start`, adding it at `pan`.
void Render(LoopBuffer& out, size_t start, float seconds, float pan,
            const std::function<float(float)>& voice) {
    size_t frames = static_cast<size_t>(seconds * kSampleRate);
    for (size_t i = 0; i < frames; ++i) out.Add(start + i, voice(static_cast<float>(i) / kSampleRate), pan);
}

// Drums ramp in over a millisecond so no hit starts with a jump.
float Onset(float t) { return std::min(1.0f, t / 0.001f); }

uint32_t Seed(const Hit& h) {
    return static_cast<uint32_t>(h.step) * 2654435761u + static_cast<uint32_t>(h.drum) * 97u + 1u;
}

}  // namespace

void PlayBass(LoopBuffer& out, const Note& n) {
    double hz = MidiToHz(n.midi);
    Envelope env{0.003f, 0.25f, 0.6f, 0.03f};
    float gate = GateSeconds(n);
    LowPass lp;
    double phase = 0;
    Render(out, StartFrame(n.step), gate + env.release, 0.0f, [&](float t) {
        float raw = 0.55f * Oscillator(Wave::Saw, phase) + 0.45f * Oscillator(Wave::Sine, phase * 0.5);
        phase += hz / kSampleRate;
        float cutoff = 250.0f + 1900.0f * n.velocity * Decay(t, 0.05f);
        return lp.Process(raw, cutoff) * env.Level(t, gate) * n.velocity;
    });
}

void PlayLead(LoopBuffer& out, const Note& n, float pan) {
    Envelope env{0.006f, 0.18f, 0.7f, 0.09f};
    float gate = GateSeconds(n);
    LowPass lp;
    double phase = 0, phase2 = 0;
    Render(out, StartFrame(n.step), gate + env.release, pan, [&](float t) {
        float depth = t > 0.15f ? std::min(1.0f, (t - 0.15f) / 0.2f) * 0.18f : 0.0f;
        double hz = MidiToHz(n.midi + depth * std::sin(kTwoPi * 5.5f * t));
        float raw = 0.6f * Oscillator(Wave::Pulse, phase) + 0.4f * Oscillator(Wave::Saw, phase2);
        phase += hz / kSampleRate;
        phase2 += hz * 1.004 / kSampleRate;
        return lp.Process(raw, 3800.0f) * env.Level(t, gate) * n.velocity;
    });
}

void PlayCounter(LoopBuffer& out, const Note& n, float pan) {
    Envelope env{0.02f, 0.3f, 0.6f, 0.12f};
    float gate = GateSeconds(n);
    double hz = MidiToHz(n.midi), phase = 0;
    Render(out, StartFrame(n.step), gate + env.release, pan, [&](float t) {
        float v = Oscillator(Wave::Triangle, phase) * env.Level(t, gate) * n.velocity;
        phase += hz / kSampleRate;
        return v;
    });
}

void PlayArp(LoopBuffer& out, const Note& n, float pan) {
    double hz = MidiToHz(n.midi), phase = 0;
    Render(out, StartFrame(n.step), 0.2f, pan, [&](float t) {
        float v = (0.7f * Oscillator(Wave::Triangle, phase) + 0.3f * Oscillator(Wave::Sine, phase * 2)) *
                  std::min(1.0f, t / 0.002f) * Decay(t, 0.045f) * n.velocity;
        phase += hz / kSampleRate;
        return v;
    });
}

void PlayPad(LoopBuffer& out, int bar, const Chord& chord) {
    Note whole{bar * kStepsPerBar, kStepsPerBar, chord.root, 1.0f};
    float gate = GateSeconds(whole);
    Envelope env{0.25f, 1.0f, 0.8f, 0.35f};
    for (int interval : chord.intervals) {
        double hz = MidiToHz(chord.root + 12 + interval);
        // Two saws a little apart, one per side, for width.
        for (int side = 0; side < 2; ++side) {
            double detune = side ? 1.0035 : 0.9965;
            LowPass lp1, lp2;
            double phase = 0.37 * interval + side * 0.5;
            Render(out, StartFrame(whole.step), gate + env.release, side ? 0.8f : -0.8f, [&](float t) {
                float v = Oscillator(Wave::Saw, phase);
                phase += hz * detune / kSampleRate;
                return lp2.Process(lp1.Process(v, 1100.0f), 1100.0f) * env.Level(t, gate) * 0.3f;
            });
        }
    }
}

void PlayDrum(LoopBuffer& out, const Hit& h) {
    // Levels of the kit pieces against each other: the noisy ones sit back.
    static const float kLevel[] = {1.0f, 0.6f, 0.22f, 0.2f, 0.25f};  // in Drum order
    Noise noise(Seed(h));
    size_t start = StartFrame(h.step);
    float v = h.velocity * kLevel[static_cast<int>(h.drum)];
    switch (h.drum) {
        case Drum::Kick: {
            double phase = 0;
            Render(out, start, 0.35f, 0.0f, [&](float t) {
                float s = std::sin(kTwoPi * static_cast<float>(phase));
                phase += (45.0 + 110.0 * Decay(t, 0.025f)) / kSampleRate;
                float click = t < 0.004f ? noise.Next() * 0.3f * (1 - t / 0.004f) : 0.0f;
                return (s * Decay(t, 0.09f) + click) * Onset(t) * v;
            });
            break;
        }
        case Drum::Snare: {
            HighPass hp;
            Render(out, start, 0.25f, 0.1f, [&](float t) {
                float body = std::sin(kTwoPi * 190.0f * t) * Decay(t, 0.03f) * 0.5f;
                float rattle = hp.Process(noise.Next(), 1200.0f) * Decay(t, 0.05f);
                return (body + rattle) * Onset(t) * v;
            });
            break;
        }
        case Drum::ClosedHat:
        case Drum::OpenHat: {
            HighPass hp;
            bool open = h.drum == Drum::OpenHat;
            Render(out, start, open ? 0.35f : 0.07f, 0.35f, [&](float t) {
                return hp.Process(noise.Next(), 7000.0f) * Decay(t, open ? 0.07f : 0.012f) * Onset(t) * v;
            });
            break;
        }
        case Drum::Crash: {
            HighPass hp;
            Render(out, start, 2.0f, -0.35f, [&](float t) {
                return hp.Process(noise.Next(), 4500.0f) * std::min(1.0f, t / 0.003f) * Decay(t, 0.4f) * v;
            });
            break;
        }
    }
}

}  // namespace assetgen
