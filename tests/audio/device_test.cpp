// SPDX-License-Identifier: Zlib
// The audio device against real OpenAL Soft. In process, its null backend
// mixes in real time (sounds start, play and end) but outputs nothing; OpenAL
// state is process-wide, so those tests share one device.
#include <AL/al.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include "framework/audio.h"
#include "host/desktop/glfw_game.h"
#include "tests/support/sound_files.h"

using namespace soundfiles;

namespace {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!kr_audio_device) {  // the framework's device roots it for the collector
            setenv("ALSOFT_DRIVERS", "null", 1);
            static KrGlfwGame host;  // gives LoadSample its decoder
            kr_audio_SetAudioDevice(new gxtkAudio);
        }
        audio = kr_audio_device;
        ASSERT_NE(audio->alcContext, nullptr) << "the null backend did not open";
        for (int c = 0; c < gxtkAudio::kChannelCount; ++c) audio->StopChannel(c);
    }

    // A mono tone of the given length.
    gxtkSample* Tone(int ms, int channels = 1) {
        TempFile file(ToneWav(22050 * ms / 1000, channels));
        return audio->LoadSample(String(file.path().c_str()));
    }

    ALint Source(int channel, ALenum param) {
        ALint value = -1;
        alGetSourcei(audio->channels[channel].sourceId, param, &value);
        return value;
    }

    void ExpectState(int channel, int state, ALint alState) {
        EXPECT_EQ(audio->ChannelState(channel), state) << "channel " << channel;
        EXPECT_EQ(Source(channel, AL_SOURCE_STATE), alState) << "channel " << channel;
    }

    // Polls until the channel's source has stopped; sounds end in real time.
    bool WaitForEnd(int channel) {
        for (int i = 0; i < 1000 && Source(channel, AL_SOURCE_STATE) != AL_STOPPED; ++i) usleep(5000);
        return Source(channel, AL_SOURCE_STATE) == AL_STOPPED;
    }

    gxtkAudio* audio = nullptr;
};

}  // namespace

// Pause, resume and stop are in SuspendAndResume's table.
TEST_F(DeviceTest, ChannelStatesAtTheSoundsEnd) {
    audio->PlaySample(Tone(50), 1, 0);
    audio->PlaySample(Tone(50), 2, 1);
    audio->PlaySample(Tone(50), 3, 2);  // any non-zero flags loop
    EXPECT_EQ(audio->ChannelState(1), 1);
    ASSERT_TRUE(WaitForEnd(1));  // the channel record still says "playing"
    audio->PauseChannel(1);
    ExpectState(1, 0, AL_STOPPED);
    usleep(200000);  // four times the tone
    ExpectState(2, 1, AL_PLAYING);
    ExpectState(3, 1, AL_PLAYING);
}

// Suspending pauses what really plays, music too, and resuming restarts
// exactly that: a channel the game paused, or stopped, stays so.
TEST_F(DeviceTest, SuspendAndResume) {
    const int music = gxtkAudio::kMusicChannel;
    audio->PlaySample(Tone(1000), 0, 1);
    audio->PlaySample(Tone(1000), 1, 1), audio->PauseChannel(1);
    audio->PlaySample(Tone(1000), 2, 1), audio->StopChannel(2);
    audio->PlaySample(Tone(1000), music, 1);
    const struct { int channel, state; ALint suspended, resumed; } rows[] = {
        {0, 1, AL_PAUSED, AL_PLAYING}, {1, 2, AL_PAUSED, AL_PAUSED},
        {2, 0, AL_STOPPED, AL_STOPPED}, {music, 1, AL_PAUSED, AL_PLAYING}};
    for (int round = 0; round < 2; ++round) {  // a second suspension behaves as the first
        audio->Suspend();
        for (const auto& r : rows) ExpectState(r.channel, r.state, r.suspended);
        audio->Resume();
        for (const auto& r : rows) ExpectState(r.channel, r.state, r.resumed);
    }
    audio->ResumeChannel(1);
    ExpectState(1, 1, AL_PLAYING);
}

// A sound started on a busy channel replaces the one there: its own
// buffer, its own looping, from its start.
TEST_F(DeviceTest, ANewSoundOnABusyChannelPlaysItsOwnBuffer) {
    gxtkSample *first = Tone(1000), *second = Tone(500), *third = Tone(1000);
    for (auto [state, pause] : {std::pair{AL_PLAYING, false}, std::pair{AL_PAUSED, true}}) {
        SCOPED_TRACE(pause ? "paused" : "playing");
        audio->PlaySample(first, 5, 1);
        if (pause) audio->PauseChannel(5);
        EXPECT_EQ(Source(5, AL_SOURCE_STATE), state);
        audio->PlaySample(second, 5, 0);
        ExpectState(5, 1, AL_PLAYING);
        EXPECT_EQ(Source(5, AL_BUFFER), static_cast<ALint>(second->bufferId));
        EXPECT_EQ(Source(5, AL_LOOPING), 0);
        audio->PlaySample(third, 5, 1);
        EXPECT_EQ(Source(5, AL_BUFFER), static_cast<ALint>(third->bufferId));
        EXPECT_EQ(Source(5, AL_LOOPING), 1);
        EXPECT_LT(Source(5, AL_SAMPLE_OFFSET), 22050 / 4);
    }
}

TEST_F(DeviceTest, ThreeChannelFileGivesAnEmptyBuffer) {
    gxtkSample* sample = Tone(20, 3);
    ASSERT_NE(sample, nullptr);
    ALint size = -1;
    alGetBufferi(sample->bufferId, AL_SIZE, &size);
    EXPECT_EQ(size, 0);
}

TEST_F(DeviceTest, DiscardedSampleKeepsPlayingAndGoesAtTheFirstLoadOrPlayAfterItEnds) {
    gxtkSample* tone = Tone(300);
    audio->PlaySample(tone, 11, 0);
    ALuint buffer = tone->bufferId;
    tone->Discard();
    gxtkSample* other = Tone(50);  // a load while it sounds must keep it
    ExpectState(11, 1, AL_PLAYING);
    ASSERT_TRUE(WaitForEnd(11));
    EXPECT_TRUE(alIsBuffer(buffer));
    audio->PlaySample(other, 12, 0);
    EXPECT_FALSE(alIsBuffer(buffer));
}

TEST_F(DeviceTest, CollectorKeepsASoundingSampleAlive) {
    gxtkSample* tone = Tone(1000);
    auto survives = [tone] { return gc_collect_all(), gc_collect_all(), gc_is_live_object(tone); };
    audio->PlaySample(tone, 14, 1);
    EXPECT_TRUE(survives()) << "playing";
    audio->PauseChannel(14);
    EXPECT_TRUE(survives()) << "paused";
    audio->StopChannel(14);
    EXPECT_FALSE(survives()) << "stopped";
}

// A device that could not open runs in a fresh process (a death-test child),
// which reports on its stderr.
// Every operation on a device that could not open.
static void UseWithoutADevice() {
    std::fflush(stdout), dup2(2, 1);
    TempFile tone(ToneWav(22050));
    String path(tone.path().c_str());
    setenv("ALSOFT_DRIVERS", "vornhelm-no-such-backend", 1);
    KrGlfwGame host;
    auto* audio = new gxtkAudio;
    kr_audio_SetAudioDevice(audio);
    gxtkSample* sample = audio->LoadSample(path);
    audio->PlaySample(sample, 3, 1), audio->PauseChannel(3), audio->ResumeChannel(3), audio->Suspend();
    audio->Resume(), audio->SetVolume(3, 0.5f), audio->SetPan(3, 1), audio->SetRate(3, 2);
    int music = audio->PlayMusic(path, 1);
    audio->PauseMusic(), audio->ResumeMusic(), audio->SetMusicVolume(0.25f);
    sample->Discard();
    gc_collect_all();  // marks through the device's channels
    gxtkSample* again = audio->LoadSample(path);  // flushes the discarded list
    std::printf("state=%d music=%d/%d reloaded=%d\n", audio->ChannelState(3), music,
                audio->PlayMusic(String("/tmp/vornhelm-audio-none.ogg"), 1), again != nullptr);
}

TEST(OtherBackend, WithoutAnyDeviceItReportsOnceAndEveryCallIsHarmless) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((UseWithoutADevice(), std::exit(0)), ::testing::ExitedWithCode(0),
                "^OpenAl error: alcOpenDevice failed\nstate=0 music=0/-1 reloaded=1\n$");
}
