// The sound effects (sfx/NNN.wav) and the in-game tune (sfx/choppa.ogg).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "asset_expectations.h"

using namespace assettest;

namespace {

struct EffectEntry {
    int id;
    double minSeconds, maxSeconds;
};

// The effects the game loads, with the lengths their uses call for.
const EffectEntry kEffects[] = {
    {1, 0.02, 0.3}, {2, 0.05, 0.5},  {3, 0.05, 0.5}, {4, 0.05, 0.5},   {5, 0.05, 0.5},
    {6, 0.3, 1.5},  {7, 0.6, 2.5},   {8, 0.2, 1.0},  {9, 0.02, 0.25},  {10, 0.2, 1.0},
    {11, 0.6, 2.0}, {95, 0.05, 0.6}, {96, 0.7, 1.5}, {98, 0.005, 0.1}, {99, 0.03, 0.3},
};

std::string EffectPath(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "/sfx/%03d.wav", id);
    return DataDir() + name;
}

int Peak(const std::vector<int16_t>& s) {
    int m = 0;
    for (int16_t v : s) m = std::max(m, std::abs(static_cast<int>(v)));
    return m;
}

double Rms(const int16_t* s, size_t n, size_t stride = 1) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += double(s[i * stride]) * s[i * stride];
    return n ? std::sqrt(sum / n) : 0;
}

struct Decoded {
    int channels = 0, rate = 0, frames = 0;
    std::vector<int16_t> samples;
};

// Decodes the tune with the game's own Ogg loader.
Decoded DecodeOgg(const std::string& path) {
    Decoded d;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return d;
    int bytesPerSample = 0;
    unsigned char* out = LoadOGG(f, &d.frames, &d.channels, &bytesPerSample, &d.rate);
    std::fclose(f);
    if (out && bytesPerSample == 2) {
        const int16_t* s = reinterpret_cast<const int16_t*>(out);
        d.samples.assign(s, s + static_cast<size_t>(d.frames) * d.channels);
    }
    std::free(out);
    return d;
}

}  // namespace

TEST(SoundEffects, EachIsShortCleanPcmAtFullRate) {
    for (const EffectEntry& e : kEffects) {
        SCOPED_TRACE("sound " + std::to_string(e.id));
        Wav w = LoadWav(EffectPath(e.id));
        ASSERT_TRUE(w.Ok());
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 44100);
        EXPECT_GE(w.Seconds(), e.minSeconds);
        EXPECT_LE(w.Seconds(), e.maxSeconds);
    }
}

TEST(SoundEffects, LoudButNeverClippedAndSilentAtBothEnds) {
    for (const EffectEntry& e : kEffects) {
        SCOPED_TRACE("sound " + std::to_string(e.id));
        Wav w = LoadWav(EffectPath(e.id));
        ASSERT_TRUE(w.Ok());
        ASSERT_GT(w.samples.size(), 10u);
        int peak = Peak(w.samples);
        EXPECT_LT(peak, 32000);  // below full scale
        EXPECT_GT(peak, 20000);  // normalised, not faint
        EXPECT_GT(Rms(w.samples.data(), w.samples.size()), 500.0);
        // Starting or stopping away from zero would click.
        EXPECT_LE(std::abs(w.samples.front()), 300);
        EXPECT_LE(std::abs(w.samples.back()), 300);
    }
}

TEST(SoundEffects, PairedEffectsAreDifferentSounds) {
    // Two gunshots, two hits and two explosions are picked at random in play.
    for (auto [a, b] : {std::pair{2, 3}, std::pair{4, 5}, std::pair{6, 7}}) {
        Wav x = LoadWav(EffectPath(a)), y = LoadWav(EffectPath(b));
        ASSERT_TRUE(x.Ok() && y.Ok());
        EXPECT_NE(x.samples, y.samples) << a << " and " << b;
    }
    // The big blast outlasts the kill explosion.
    EXPECT_GT(LoadWav(EffectPath(7)).Seconds(), LoadWav(EffectPath(6)).Seconds());
}

TEST(Tune, StereoAtLeast45SecondsAndNeverSilent) {
    Decoded d = DecodeOgg(DataDir() + "/sfx/choppa.ogg");
    ASSERT_GT(d.frames, 0);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_GE(d.frames, 45 * 44100);
    EXPECT_LT(Peak(d.samples), 32767);
    // Music all the way through: every five seconds carry sound on both sides.
    for (int start = 0; start + 5 * 44100 <= d.frames; start += 5 * 44100)
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_GT(Rms(&d.samples[static_cast<size_t>(start) * 2 + ch], 5 * 44100, 2), 1500.0)
                << "at " << start / 44100 << " s, channel " << ch;
}

TEST(Tune, EndJoinsStartWithoutAClick) {
    Decoded d = DecodeOgg(DataDir() + "/sfx/choppa.ogg");
    ASSERT_GT(d.frames, 1000);
    for (int ch = 0; ch < 2; ++ch) {
        auto at = [&](int frame) { return static_cast<int>(d.samples[static_cast<size_t>(frame) * 2 + ch]); };
        double meanStep = 0;
        for (int i = 1; i < d.frames; ++i) meanStep += std::abs(at(i) - at(i - 1));
        meanStep /= d.frames - 1;
        int seam = std::abs(at(0) - at(d.frames - 1));
        // Looping jumps from the last sample to the first: that step must be
        // no bigger than an ordinary step of the music.
        EXPECT_LT(seam, 1500) << "channel " << ch;
        EXPECT_LT(seam, 2.0 * meanStep) << "channel " << ch;
    }
}
