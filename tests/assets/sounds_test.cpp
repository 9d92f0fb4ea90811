// SPDX-License-Identifier: Zlib
// The sound effects (sfx/NNN.wav) and the in-game tune (sfx/choppa.ogg),
// decoded with the game's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/decode/decode.h"

namespace {

struct Sound {
    int frames = 0, channels = 0, bytesPerSample = 0, rate = 0;
    std::vector<short> samples;
    int Peak() const {
        int peak = 0;
        for (short s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    }
    // Root mean square of one channel over frames [from, from + count).
    double Rms(int channel, int from, int count) const {
        double sum = 0;
        for (int i = from; i < from + count; ++i) sum += std::pow(samples[static_cast<size_t>(i) * channels + channel], 2);
        return std::sqrt(sum / count);
    }
};

Sound Decode(const char* name, decltype(&LoadWAV) load) {
    Sound s;
    std::FILE* f = std::fopen((std::string(VORNHELM_BUILD_DIR) + "/data/sfx/" + name).c_str(), "rb");
    unsigned char* data = f ? load(f, &s.frames, &s.channels, &s.bytesPerSample, &s.rate) : nullptr;
    if (f) std::fclose(f);
    if (data && s.bytesPerSample == 2) s.samples.assign(reinterpret_cast<short*>(data), reinterpret_cast<short*>(data) + s.frames * s.channels);
    std::free(data);
    return s;
}

}  // namespace

TEST(Sounds, EveryEffectIsNormalisedBelowFullScaleAndStartsAndEndsQuietly) {
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 95, 96, 98, 99}) {
        char name[16];
        std::snprintf(name, sizeof name, "%03d.wav", id);
        SCOPED_TRACE(name);
        const Sound s = Decode(name, LoadWAV);
        ASSERT_EQ(s.bytesPerSample, 2) << "missing, undecodable or not 16-bit";
        ASSERT_GT(s.frames, 10);
        EXPECT_TRUE(s.Peak() > 20000 && s.Peak() < 32000) << s.Peak() << ": peak-normalised below full scale";
        EXPECT_GT(s.Rms(0, 0, s.frames), 500.0);
        // Starting or stopping away from zero clicks.
        EXPECT_TRUE(std::abs(s.samples.front()) <= 300 && std::abs(s.samples.back()) <= 300);
    }
}

TEST(Sounds, TuneIsAtLeast45SecondsOfStereoMusicWhoseEndJoinsItsStart) {
    const Sound s = Decode("choppa.ogg", LoadOGG);
    ASSERT_EQ(s.bytesPerSample, 2) << "missing or undecodable";
    EXPECT_TRUE(s.channels == 2 && s.rate == 44100);
    ASSERT_GE(s.frames, 45 * 44100);
    EXPECT_LT(s.Peak(), 32767);
    for (int ch = 0; ch < 2; ++ch) {
        SCOPED_TRACE("channel " + std::to_string(ch));
        for (int start = 0; start + 5 * 44100 <= s.frames; start += 5 * 44100)  // never silent
            EXPECT_GT(s.Rms(ch, start, 5 * 44100), 1500.0) << "at " << start / 44100 << " s";
        auto at = [&](int frame) { return static_cast<int>(s.samples[static_cast<size_t>(frame) * 2 + ch]); };
        double meanStep = 0;
        for (int i = 1; i < s.frames; ++i) meanStep += std::abs(at(i) - at(i - 1)) / (s.frames - 1.0);
        // Looping jumps from the last sample to the first: no bigger than an ordinary step.
        EXPECT_LT(std::abs(at(0) - at(s.frames - 1)), std::min(1500.0, 2 * meanStep));
    }
}

