// Whole-file Ogg Vorbis decoding into 16-bit samples, on files made by the
// reference encoder.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/audio/memory_file.h"
#include "tests/audio/ogg_writer.h"
#include "tests/audio/sound_files.h"

using namespace soundfiles;

namespace {

float Sine(int frame, int rate, double hertz) {
    return static_cast<float>(0.5 * std::sin(2 * M_PI * hertz * frame / rate));
}

// Root mean square of one channel of 16-bit interleaved samples, 0..1.
double Rms(const Decoded& d, int channel) {
    const auto* samples = reinterpret_cast<const short*>(d.data);
    double sum = 0;
    for (int i = 0; i < d.frames; ++i) {
        double v = samples[i * d.channels + channel] / 32768.0;
        sum += v * v;
    }
    return d.frames ? std::sqrt(sum / d.frames) : 0;
}

}  // namespace

TEST(OggDecode, MonoFileGivesEveryFrameAs16BitSamples) {
    Bytes ogg = EncodeOgg(1, 22050, 10000, [](int i, int) { return Sine(i, 22050, 440); });
    ASSERT_FALSE(ogg.empty());
    Decoded d;
    Decode(LoadOGG, ogg, &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, 10000);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.bytesPerSample, 2);
    EXPECT_EQ(d.rate, 22050);
    // A sine of amplitude 0.5 has an RMS of 0.354; lossy coding stays close.
    EXPECT_NEAR(Rms(d, 0), 0.354, 0.03);
}

TEST(OggDecode, StereoChannelsStayApartAndLongFilesAreWhole) {
    // Three seconds: many times the first buffer, so it must grow.
    const int frames = 3 * 44100;
    Bytes ogg = EncodeOgg(2, 44100, frames, [](int i, int c) { return c == 0 ? Sine(i, 44100, 330) : 0.0f; });
    Decoded d;
    Decode(LoadOGG, ogg, &d);
    ASSERT_NE(d.data, nullptr);
    EXPECT_EQ(d.frames, frames);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_GT(Rms(d, 0), 0.3);
    EXPECT_LT(Rms(d, 1), 0.01);
}

TEST(OggDecode, AnythingButVorbisGivesNone) {
    Bytes ogg = EncodeOgg(1, 8000, 4000, [](int i, int) { return Sine(i, 8000, 200); });
    Bytes truncated(ogg.begin(), ogg.begin() + 40);
    const Bytes inputs[] = {{}, Bytes(5000, 0x55), PcmWav(1, 8000, 16, Tone16(100, 1, 8000)), truncated};
    for (const Bytes& input : inputs) {
        Decoded d;
        Decode(LoadOGG, input, &d);
        EXPECT_EQ(d.data, nullptr) << input.size() << " bytes";
    }
}
