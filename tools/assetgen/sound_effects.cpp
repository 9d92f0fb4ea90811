// SPDX-License-Identifier: Zlib
// The game's sound effects, sfx/NNN.wav: each one a short recipe for the
// synthesizer, then peak-normalised and faded at both ends so it starts and
// stops without a click.
#include <cmath>
#include <cstdio>
#include <functional>

#include "outputs.h"
#include "sounds.h"
#include "synth.h"
#include "wav_writer.h"

namespace assetgen {

namespace {

constexpr float kPeak = 0.89f;  // about -1 dB: loud, never clipped

size_t Length(float seconds) { return static_cast<size_t>(seconds * kSampleRate); }
float TimeOf(size_t i) { return static_cast<float>(i) / kSampleRate; }

// A voice whose pitch and loudness follow functions of time.
Samples Voice(float seconds, Wave w, const std::function<double(float)>& hz,
              const std::function<float(float)>& amp) {
    Samples out(Length(seconds));
    double phase = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = TimeOf(i);
        out[i] = Oscillator(w, phase) * amp(t);
        phase += hz(t) / kSampleRate;
    }
    return out;
}

// A struck bell-like note: a few inharmonic partials with their own decays.
Samples Bell(float seconds, double hz, float halfLife) {
    static const float kRatios[] = {1.0f, 2.01f, 3.0f, 4.17f};
    static const float kGains[] = {1.0f, 0.45f, 0.22f, 0.12f};
    Samples out(Length(seconds), 0.0f);
    for (int k = 0; k < 4; ++k)
        MixInto(out,
                Voice(
                    seconds, Wave::Sine, [=](float) { return hz * kRatios[k]; },
                    [=](float t) { return std::min(1.0f, t / 0.002f) * Decay(t, halfLife / (1 + k)); }),
                0, kGains[k]);
    return out;
}

// Noise shaped by an envelope and a low-pass whose cutoff follows time.
Samples FilteredNoise(float seconds, uint32_t seed, const std::function<float(float)>& cutoff,
                      const std::function<float(float)>& amp, bool highPass = false) {
    Samples out(Length(seconds));
    Noise noise(seed);
    LowPass lp;
    HighPass hp;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = TimeOf(i);
        float x = noise.Next();
        float y = highPass ? hp.Process(x, cutoff(t)) : lp.Process(x, cutoff(t));
        out[i] = y * amp(t);
    }
    return out;
}

float Attack(float t, float seconds) { return std::min(1.0f, t / seconds); }

Samples Blip() {
    return Voice(
        0.08f, Wave::Square, [](float t) { return t < 0.03f ? 880.0 : 1320.0; },
        [](float t) { return 0.5f * Attack(t, 0.002f) * Decay(t, 0.03f); });
}

Samples GunshotA() {
    Samples s = FilteredNoise(
        0.2f, 11, [](float t) { return 6000.0f * Decay(t, 0.04f) + 400.0f; },
        [](float t) { return Attack(t, 0.001f) * Decay(t, 0.025f); });
    MixInto(s,
            Voice(
                0.2f, Wave::Sine, [](float t) { return 60.0 + 160.0 * Decay(t, 0.02f); },
                [](float t) { return Attack(t, 0.002f) * Decay(t, 0.04f); }),
            0, 0.9f);
    return s;
}

Samples GunshotB() {
    Samples s = Voice(
        0.16f, Wave::Square, [](float t) { return 280.0 + 1300.0 * Decay(t, 0.025f); },
        [](float t) { return 0.6f * Attack(t, 0.001f) * Decay(t, 0.04f); });
    MixInto(s,
            FilteredNoise(
                0.05f, 12, [](float) { return 3000.0f; },
                [](float t) { return Attack(t, 0.001f) * Decay(t, 0.008f); }),
            0, 0.8f);
    return s;
}

Samples HitA() {
    Samples s(Length(0.18f), 0.0f);
    for (double hz : {523.0, 1187.0, 1831.0, 2473.0})
        MixInto(s,
                Voice(
                    0.18f, Wave::Sine, [hz](float) { return hz; },
                    [hz](float t) { return Attack(t, 0.001f) * Decay(t, 30.0f / static_cast<float>(hz)); }),
                0, 0.4f);
    MixInto(s,
            FilteredNoise(
                0.03f, 13, [](float) { return 5000.0f; }, [](float t) { return Decay(t, 0.005f); }),
            0, 0.7f);
    return s;
}

Samples HitB() {
    Samples s = Voice(
        0.16f, Wave::Triangle, [](float t) { return 110.0 + 140.0 * Decay(t, 0.03f); },
        [](float t) { return Attack(t, 0.001f) * Decay(t, 0.04f); });
    MixInto(s,
            FilteredNoise(
                0.1f, 14, [](float t) { return 2500.0f * Decay(t, 0.03f) + 300.0f; },
                [](float t) { return Attack(t, 0.001f) * Decay(t, 0.02f); }),
            0, 0.9f);
    return s;
}

Samples Explosion(float seconds, uint32_t seed, float boomHz, float body) {
    Samples s = FilteredNoise(
        seconds, seed, [=](float t) { return 200.0f + 3500.0f * Decay(t, body * 0.25f); },
        [=](float t) { return Attack(t, 0.004f) * Decay(t, body * 0.3f); });
    MixInto(s,
            Voice(
                seconds, Wave::Sine, [=](float t) { return boomHz * (0.5 + 0.5 * Decay(t, 0.15f)); },
                [=](float t) { return Attack(t, 0.003f) * Decay(t, body * 0.25f); }),
            0, 0.8f);
    // Crackle: sparse clicks thinning out as the blast dies.
    Noise n(seed * 7 + 1);
    for (size_t i = 0; i < s.size(); ++i) {
        float t = TimeOf(i);
        if (n.Uniform() < 0.004f * Decay(t, body * 0.35f)) {
            float k = n.Next();
            for (size_t j = 0; j < 90 && i + j < s.size(); ++j)
                s[i + j] += k * 0.5f * Decay(TimeOf(j), 0.002f);
        }
    }
    return s;
}

Samples Scrape() {
    Samples s(Length(0.55f));
    Noise n(15);
    StateVariable bp;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = TimeOf(i);
        float grit = 0.55f + 0.45f * std::sin(2 * 3.14159265f * (31.0f + 9.0f * std::sin(t * 7)) * t);
        s[i] = bp.Process(n.Next(), 1300.0f - 500.0f * t, 0.35f) * grit * Attack(t, 0.01f) * Decay(t, 0.18f);
    }
    MixInto(s,
            Voice(
                0.55f, Wave::Saw, [](float t) { return 95.0 - 30.0 * t; },
                [](float t) { return 0.25f * Attack(t, 0.01f) * Decay(t, 0.15f); }),
            0);
    return s;
}

Samples RisingBlip() {
    return Voice(
        0.09f, Wave::Triangle, [](float t) { return 600.0 + 700.0 * t / 0.09; },
        [](float t) { return Attack(t, 0.003f) * Decay(t, 0.04f); });
}

Samples PickupChime() {
    Samples s = Bell(0.55f, MidiToHz(88), 0.12f);                 // E6
    MixInto(s, Bell(0.47f, MidiToHz(95), 0.14f), Length(0.08f));  // B6
    return s;
}

Samples Fanfare() {
    // Brassy arpeggio up a C major chord, then the chord held with vibrato.
    auto brass = [](double note, float seconds) {
        return Voice(
            seconds, Wave::Saw,
            [=](float t) {
                return MidiToHz(note + 0.12 * std::sin(2 * 3.14159 * 5.5 * t) * std::min(1.0f, t / 0.2f));
            },
            [=](float t) { return Attack(t, 0.01f) * (t > seconds - 0.2f ? (seconds - t) / 0.2f : 1.0f); });
    };
    Samples s;
    const int notes[] = {72, 76, 79};
    for (int k = 0; k < 3; ++k) MixInto(s, brass(notes[k], 0.13f), Length(0.1f * k), 0.5f);
    for (int note : {72, 76, 79, 84}) MixInto(s, brass(note, 0.9f), Length(0.3f), 0.32f);
    // Mellow the saw edges.
    LowPass lp;
    for (float& v : s) v = lp.Process(v, 3200.0f);
    MixInto(s, Bell(0.9f, MidiToHz(96), 0.2f), Length(0.3f), 0.25f);
    return s;
}

Samples SoftConfirm() {
    Samples s = Voice(
        0.12f, Wave::Sine, [](float) { return MidiToHz(79); },
        [](float t) { return Attack(t, 0.004f) * Decay(t, 0.04f); });
    MixInto(s,
            Voice(
                0.2f, Wave::Sine, [](float) { return MidiToHz(86); },
                [](float t) { return Attack(t, 0.004f) * Decay(t, 0.05f); }),
            Length(0.06f));
    return s;
}

Samples LogoJingle() {
    // A quick mallet run up a C major ninth, landing on a shimmering chord.
    Samples s;
    const int run[] = {72, 76, 79, 83, 86};
    for (int k = 0; k < 5; ++k) MixInto(s, Bell(0.6f, MidiToHz(run[k]), 0.08f), Length(0.075f * k), 0.55f);
    for (int note : {72, 79, 84, 88}) MixInto(s, Bell(0.75f, MidiToHz(note), 0.16f), Length(0.4f), 0.4f);
    return s;
}

Samples Click() {
    Samples s = FilteredNoise(
        0.025f, 16, [](float) { return 2500.0f; }, [](float t) { return Decay(t, 0.003f); }, true);
    MixInto(s,
            Voice(
                0.025f, Wave::Sine, [](float) { return 2000.0; },
                [](float t) { return Attack(t, 0.0005f) * Decay(t, 0.004f); }),
            0, 0.8f);
    return s;
}

Samples SelectBlip() {
    return Voice(
        0.1f, Wave::Square, [](float t) { return t < 0.04f ? 660.0 : 990.0; },
        [](float t) { return 0.5f * Attack(t, 0.002f) * (t < 0.04f ? 1.0f : Decay(t - 0.04f, 0.02f)); });
}

struct Effect {
    int id;
    Samples (*make)();
};

const Effect kEffects[] = {
    {1, Blip},
    {2, GunshotA},
    {3, GunshotB},
    {4, HitA},
    {5, HitB},
    {6, [] { return Explosion(0.9f, 21, 90.0f, 0.9f); }},
    {7, [] { return Explosion(1.6f, 22, 60.0f, 1.6f); }},
    {8, Scrape},
    {9, RisingBlip},
    {10, PickupChime},
    {11, Fanfare},
    {95, SoftConfirm},
    {96, LogoJingle},
    {98, Click},
    {99, SelectBlip},
};

}  // namespace

Samples SoundEffect(int id) {
    for (const Effect& e : kEffects) {
        if (e.id != id) continue;
        Samples s = e.make();
        Normalize(s, kPeak);
        FadeEdges(s, 1.0f, 4.0f);
        return s;
    }
    return {};
}

bool WriteSoundEffects(const std::string& root) {
    bool ok = true;
    for (const Effect& e : kEffects) {
        Samples s = SoundEffect(e.id);
        char name[32];
        std::snprintf(name, sizeof name, "/sfx/%03d.wav", e.id);
        if (!WriteWav(root + name, s, 1)) {
            std::fprintf(stderr, "cannot write %s%s\n", root.c_str(), name);
            ok = false;
        }
    }
    return ok;
}

}  // namespace assetgen
