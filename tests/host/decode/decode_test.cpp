// SPDX-License-Identifier: Zlib
// Sound decoding through the host: the decoder chosen by the lower-cased
// file ending, the RIFF WAVE chunk walk and the headers it must refuse, and
// Ogg Vorbis files made by the reference encoder.
#include <gtest/gtest.h>

#include "host/desktop/glfw_game.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/sound_files.h"

using namespace soundfiles;

namespace {

// Writes the bytes to a file with the given ending and loads it as the game
// does: the frames loaded, -1 when nothing loads.
int Load(const Bytes& bytes, const std::string& ending = ".wav") {
    static KrGlfwGame host;
    TempFile file(bytes, ending);
    int frames = -1, channels, bytesPerSample, rate;
    unsigned char* data = host.LoadAudioData(String(file.path().c_str()), &frames, &channels, &bytesPerSample, &rate);
    const bool loaded = data != nullptr;
    std::free(data);
    return loaded ? frames : -1;
}

Chunk Sized(Chunk c, std::int64_t declared) { return c.declaredSize = declared, c; }

const Bytes kOgg = EncodeOgg(1, 22050, 10000, [](int i, int) { return 0.5f * std::sin(i * 0.125f); });

}  // namespace

TEST(Decode, EndingsChooseTheDecoderWhateverTheirCase) {
    const struct { Bytes bytes; const char* ending; int frames; } cases[] = {
        {ToneWav(700), ".wav", 700}, {ToneWav(700), ".WAV", 700}, {kOgg, ".OGG", 10000},
        {ToneWav(700), ".mp3", -1},  {ToneWav(700), ".ogg", -1},  {kOgg, ".wav", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(Load(c.bytes, c.ending), c.frames) << c.ending;
}

TEST(Decode, WavChunkWalk) {
    const Chunk data{"data", Tone16(50)}, list{"LIST", Bytes(26, 'i')};
    EXPECT_EQ(Load(RiffWave({Fmt(1, 1, 16), list, data})), 50);
    EXPECT_EQ(Load(RiffWave({Fmt(1, 1, 16, 2), data})), 50);  // 18-byte fmt
    EXPECT_EQ(Load(RiffWave({Fmt(1, 1, 8), data})), 100);    // 8 bits, the fewest taken
    EXPECT_EQ(Load(RiffWave({list, Fmt(1, 1, 16), data})), -1);
}

TEST(Decode, WavHeadersThatMustBeRefused) {
    const Chunk data{"data", Bytes(64, 1)}, list{"LIST", Bytes(8, 'i')};
    const struct { const char* what; Bytes bytes; } cases[] = {
        {"format code 3", RiffWave({Fmt(3, 1, 32), data})},
        {"no channels", RiffWave({Fmt(1, 0, 16), data})},
        {"7 bits per sample", RiffWave({Fmt(1, 1, 7), data})},
        {"no bits per sample", RiffWave({Fmt(1, 2, 0), data})},
        {"rate 0", RiffWave({Fmt(1, 1, 16, 0, 0), data})},
        {"negative rate", RiffWave({Fmt(1, 1, 16, 0, -8000), data})},
        {"fmt shorter than its fields", RiffWave({Sized(Fmt(1, 1, 16), 14), data})},
        {"negative LIST size", RiffWave({Fmt(1, 1, 16), Sized(list, 0xFFFFFFF8u), data})},
        {"negative data size", RiffWave({Fmt(1, 1, 16), Sized(data, 0xFFFFFFFFu)})},
        {"data beyond the end", RiffWave({Fmt(1, 1, 16), Sized(data, 0x7FFFFFFF)})},
    };
    for (const auto& c : cases) EXPECT_EQ(Load(c.bytes), -1) << c.what;
    Bytes good = ToneWav(25, 2);
    ASSERT_EQ(Load(good), 25);
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(Load(Bytes(good.begin(), good.begin() + static_cast<long>(n))), -1) << "cut to " << n;
}
