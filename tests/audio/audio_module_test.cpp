// The framework's audio module: sounds loaded by data-folder name, played
// on channels, and music, on the shared null-backend device.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "tests/audio/null_device.h"

using namespace soundfiles;

namespace {

class AudioModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio = SharedNullDevice();
        ResetChannels(audio);
    }

    gxtkAudio* audio = nullptr;
};

// Runs the test from a fresh folder holding data/sfx/<name>, so bare names
// resolve through the data folder; puts everything back afterwards.
class DataFolder {
public:
    DataFolder(const std::string& name, const Bytes& bytes) {
        char pattern[] = "/tmp/vornhelm-audio-data-XXXXXX";
        root_ = mkdtemp(pattern) ? pattern : "";
        mkdir((root_ + "/data").c_str(), 0700);
        mkdir((root_ + "/data/sfx").c_str(), 0700);
        file_ = root_ + "/data/sfx/" + name;
        std::FILE* f = std::fopen(file_.c_str(), "wb");
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        char cwd[PATH_MAX];
        oldDir_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ok_ = chdir(root_.c_str()) == 0;
    }
    ~DataFolder() {
        if (ok_ && chdir(oldDir_.c_str()) != 0) std::perror("chdir");
        unlink(file_.c_str());
        rmdir((root_ + "/data/sfx").c_str());
        rmdir((root_ + "/data").c_str());
        rmdir(root_.c_str());
    }
    bool ok() const { return ok_; }

private:
    std::string root_, file_, oldDir_;
    bool ok_ = false;
};

}  // namespace

TEST_F(AudioModuleTest, BareNamesLoadFromTheDataFolder) {
    DataFolder folder("blip.wav", PcmWav(1, 22050, 8, Tone8(500, 1, 22050)));
    ASSERT_TRUE(folder.ok());
    c_Sound* sound = kr_audio_LoadSound(String("sfx/blip.wav"));
    ASSERT_NE(sound, nullptr);
    ASSERT_NE(sound->m_Sample, nullptr);
    EXPECT_EQ(BufferInt(sound->m_Sample->bufferId, AL_SIZE), 500);
    EXPECT_EQ(kr_audio_PlayMusic(String("sfx/blip.wav"), 0), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(kr_audio_LoadSound(String("sfx/missing.wav")), nullptr);
    EXPECT_EQ(kr_audio_PlayMusic(String("sfx/missing.ogg"), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
}

TEST_F(AudioModuleTest, SoundsPlayOnTheirChannelWithItsSettings) {
    c_Sound* sound = kr_audio_LoadSound(String(ToneFile(1000).c_str()));
    ASSERT_NE(sound, nullptr);
    kr_audio_PlaySound(sound, 20, 1);
    kr_audio_SetChannelVolume(20, 0.5f);
    kr_audio_SetChannelRate(20, 2);
    kr_audio_SetChannelPan(20, -1);
    EXPECT_EQ(audio->ChannelState(20), 1);
    EXPECT_EQ(audio->channels[20].sample, sound->m_Sample);
    ALuint source = audio->channels[20].sourceId;
    ALfloat gain = 0, pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSourcef(source, AL_PITCH, &pitch);
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(pitch, 2.0f);
    EXPECT_NEAR(x, -0.841, 0.001);
    kr_audio_StopChannel(20);
    EXPECT_EQ(audio->ChannelState(20), 0);
}

TEST_F(AudioModuleTest, NoSoundOrNoSamplePlaysNothing) {
    kr_audio_PlaySound(nullptr, 21, 1);
    kr_audio_PlaySound((new c_Sound)->m_new2(), 21, 1);
    EXPECT_EQ(audio->ChannelState(21), 0);
    EXPECT_EQ(audio->channels[21].sourceId, 0u);  // never even touched
}

// Before the delegate installs a device, loads give nothing, music reports
// failure and every other call does nothing.
TEST_F(AudioModuleTest, EveryFunctionIsHarmlessWithoutADevice) {
    c_Sound* sound = kr_audio_LoadSound(String(ToneFile(50).c_str()));
    ASSERT_NE(sound, nullptr);
    gxtkAudio* installed = kr_audio_device;
    kr_audio_device = nullptr;
    EXPECT_EQ(kr_audio_LoadSound(String(ToneFile(50).c_str())), nullptr);
    EXPECT_EQ(kr_audio_PlayMusic(String(ToneFile(50).c_str()), 1), -1);
    const int results[] = {
        kr_audio_PlaySound(sound, 22, 1),    kr_audio_StopChannel(22),
        kr_audio_SetChannelVolume(22, 0.5f), kr_audio_SetChannelPan(22, 1),
        kr_audio_SetChannelRate(22, 2),      kr_audio_StopMusic(),
        kr_audio_PauseMusic(),               kr_audio_ResumeMusic(),
    };
    kr_audio_SetAudioDevice(installed);
    for (int result : results) EXPECT_EQ(result, 0);
    EXPECT_EQ(audio->ChannelState(22), 0);
    EXPECT_EQ(audio->channels[22].sourceId, 0u);  // nothing reached the device
}

TEST_F(AudioModuleTest, SoundKeepsItsSampleAliveForTheCollector) {
    c_Sound* sound = kr_audio_LoadSound(String(ToneFile(50).c_str()));
    ASSERT_NE(sound, nullptr);
    gxtkSample* sample = sound->m_Sample;
    // Held as a local root, the sound keeps its sample through whole cycles.
    *gc_locals_sp++ = sound;
    gc_collect_all();
    gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(sound));
    EXPECT_TRUE(gc_is_live_object(sample));
    gc_locals_sp = gc_locals;
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_is_live_object(sound));
    EXPECT_FALSE(gc_is_live_object(sample));
}
