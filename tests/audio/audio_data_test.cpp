// The host's choice of decoder by the lower-cased file-name ending, through
// the host's own file opening.
#include <gtest/gtest.h>

#include <cmath>

#include "host/glfw_game.h"
#include "tests/audio/memory_file.h"
#include "tests/audio/ogg_writer.h"
#include "tests/audio/sound_files.h"

using namespace soundfiles;

namespace {

class AudioDataTest : public ::testing::Test {
protected:
    // Loads through the host; null when it gives nothing.
    bool LoadThroughHost(const std::string& path, Decoded* out) {
        out->data = host.LoadAudioData(String(path.c_str()), &out->frames, &out->channels,
                                       &out->bytesPerSample, &out->rate);
        return out->data != nullptr;
    }

    KrGlfwGame host;
    Bytes wav = PcmWav(1, 11025, 16, Tone16(700, 1, 11025));
    Bytes ogg = EncodeOgg(2, 16000, 3000, [](int i, int) { return 0.3f * std::sin(i * 0.05f); });
};

}  // namespace

TEST_F(AudioDataTest, EndingsChooseTheDecoderWhateverTheirCase) {
    const char* wavEndings[] = {".wav", ".WAV", ".Wav"};
    for (const char* ending : wavEndings) {
        TempFile file(wav, ending);
        Decoded d;
        ASSERT_TRUE(LoadThroughHost(file.path(), &d)) << ending;
        EXPECT_EQ(d.frames, 700);
        EXPECT_EQ(d.rate, 11025);
    }
    const char* oggEndings[] = {".ogg", ".OGG"};
    for (const char* ending : oggEndings) {
        TempFile file(ogg, ending);
        Decoded d;
        ASSERT_TRUE(LoadThroughHost(file.path(), &d)) << ending;
        EXPECT_EQ(d.frames, 3000);
        EXPECT_EQ(d.channels, 2);
        EXPECT_EQ(d.rate, 16000);
    }
}

TEST_F(AudioDataTest, TheNameDecidesNotTheContents) {
    TempFile mp3(wav, ".mp3");
    TempFile wavAsOgg(wav, ".ogg");
    TempFile oggAsWav(ogg, ".wav");
    TempFile noEnding(wav, "");
    for (const TempFile* file : {&mp3, &wavAsOgg, &oggAsWav, &noEnding}) {
        Decoded d;
        EXPECT_FALSE(LoadThroughHost(file->path(), &d)) << file->path();
    }
}

TEST_F(AudioDataTest, MissingFilesAndUnmappedPathsGiveNone) {
    const char* paths[] = {"/tmp/vornhelm-audio-missing.wav", "tandor://nowhere/x.wav",
                           "tandor://data/vornhelm-audio-missing.ogg"};
    for (const char* path : paths) {
        Decoded d;
        EXPECT_FALSE(LoadThroughHost(path, &d)) << path;
    }
}
