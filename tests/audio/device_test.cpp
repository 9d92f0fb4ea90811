// The audio device against real OpenAL Soft (null backend): channel states,
// looping, suspend and resume, source properties, music, buffer formats and
// the deferred deletion of discarded buffers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "tests/audio/null_device.h"

using namespace soundfiles;

namespace {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio = SharedNullDevice();
        ASSERT_NE(audio->alcContext, nullptr) << "the null backend did not open";
        ResetChannels(audio);
    }

    gxtkSample* Load(const std::string& path) { return audio->LoadSample(String(path.c_str())); }

    // True when `buffer` was deleted by the load that made `loaded`: OpenAL
    // reuses a deleted name at once, so the new sample may carry it.
    static bool Deleted(ALuint buffer, const gxtkSample* loaded) {
        return !alIsBuffer(buffer) || loaded->bufferId == buffer;
    }

    ALuint Source(int channel) { return audio->channels[channel].sourceId; }
    ALint SourceState(int channel) { return SourceInt(Source(channel), AL_SOURCE_STATE); }

    gxtkAudio* audio = nullptr;
};

}  // namespace

TEST_F(DeviceTest, ChannelStateFollowsPlayPauseResumeAndStop) {
    gxtkSample* tone = Load(ToneFile(1000));
    ASSERT_NE(tone, nullptr);
    EXPECT_EQ(audio->ChannelState(0), 0);

    audio->PlaySample(tone, 0, 1);
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_EQ(SourceState(0), AL_PLAYING);

    audio->PauseChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 2);
    EXPECT_EQ(SourceState(0), AL_PAUSED);

    audio->ResumeChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_EQ(SourceState(0), AL_PLAYING);

    audio->StopChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 0);
    EXPECT_EQ(SourceState(0), AL_STOPPED);
    EXPECT_EQ(SourceInt(Source(0), AL_BUFFER), static_cast<ALint>(tone->bufferId));  // still attached

    // Only a paused channel resumes, only a playing one pauses.
    audio->ResumeChannel(0);
    audio->PauseChannel(0);
    EXPECT_EQ(audio->ChannelState(0), 0);
    EXPECT_EQ(SourceState(0), AL_STOPPED);
}

TEST_F(DeviceTest, NonLoopingSoundEndsAndTheChannelStaysStopped) {
    audio->PlaySample(Load(ToneFile(50)), 1, 0);
    EXPECT_EQ(SourceInt(Source(1), AL_LOOPING), AL_FALSE);
    EXPECT_EQ(audio->ChannelState(1), 1);
    ASSERT_TRUE(WaitFor([&] { return audio->ChannelState(1) == 0; }));
    EXPECT_EQ(audio->ChannelState(1), 0);
    EXPECT_EQ(audio->channels[1].state, 0);
}

TEST_F(DeviceTest, EveryNonZeroFlagLoops) {
    gxtkSample* tone = Load(ToneFile(50));
    const int flags[] = {1, 2, -1};
    for (int i = 0; i < 3; ++i) {
        audio->PlaySample(tone, 2 + i, flags[i]);
        EXPECT_EQ(SourceInt(Source(2 + i), AL_LOOPING), AL_TRUE) << "flags " << flags[i];
        EXPECT_EQ(audio->channels[2 + i].playFlags, flags[i]);
    }
    SleepMs(300);  // six times the tone's length
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(audio->ChannelState(2 + i), 1) << "flags " << flags[i];
        EXPECT_EQ(SourceState(2 + i), AL_PLAYING);
    }
}

TEST_F(DeviceTest, PauseAfterTheEndLeavesTheChannelStopped) {
    audio->PlaySample(Load(ToneFile(50)), 5, 0);
    // Wait on OpenAL directly, so the channel still records "playing".
    ASSERT_TRUE(WaitFor([&] { return SourceState(5) == AL_STOPPED; }));
    ASSERT_EQ(audio->channels[5].state, 1);
    audio->PauseChannel(5);
    EXPECT_EQ(audio->ChannelState(5), 0);
    audio->ResumeChannel(5);
    EXPECT_EQ(audio->ChannelState(5), 0);
    EXPECT_EQ(SourceState(5), AL_STOPPED);
}

TEST_F(DeviceTest, PlayingOnABusyChannelReplacesTheSound) {
    gxtkSample* first = Load(ToneFile(1000));
    gxtkSample* second = Load(ToneFile(300));
    audio->PlaySample(first, 6, 1);
    audio->PlaySample(second, 6, 0);
    EXPECT_EQ(SourceInt(Source(6), AL_BUFFER), static_cast<ALint>(second->bufferId));
    EXPECT_EQ(SourceInt(Source(6), AL_LOOPING), AL_FALSE);
    EXPECT_EQ(SourceState(6), AL_PLAYING);
    EXPECT_EQ(audio->channels[6].sample, second);
}

TEST_F(DeviceTest, VolumeRateAndPanBelongToTheChannelAndPersist) {
    audio->SetVolume(7, 0.25f);
    audio->SetRate(7, 1.5f);
    audio->SetPan(7, 1);
    audio->PlaySample(Load(ToneFile(300)), 7, 1);
    audio->PlaySample(Load(ToneFile(1000)), 7, 1);
    ALfloat gain = 0, pitch = 0, x = 0, y = 0, z = 0;
    alGetSourcef(Source(7), AL_GAIN, &gain);
    alGetSourcef(Source(7), AL_PITCH, &pitch);
    alGetSource3f(Source(7), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(x, 0.841, 0.001);
    EXPECT_NEAR(y, 0, 1e-6);
    EXPECT_NEAR(z, -0.540, 0.001);

    const float pans[][3] = {{0, 0, -1}, {-1, -0.841f, -0.540f}, {float(M_PI), 0, 1}};
    for (const auto& pan : pans) {
        audio->SetPan(7, pan[0]);
        alGetSource3f(Source(7), AL_POSITION, &x, &y, &z);
        EXPECT_NEAR(x, pan[1], 0.001) << "pan " << pan[0];
        EXPECT_NEAR(z, pan[2], 0.001) << "pan " << pan[0];
    }
}

TEST_F(DeviceTest, SuspendAndResumeRestartOnlyWhatWasAudiblyPlaying) {
    gxtkSample* loop = Load(ToneFile(300));
    audio->PlaySample(loop, 8, 1);   // playing
    audio->PlaySample(loop, 9, 1);   // paused by the application
    audio->PauseChannel(9);
    audio->PlaySample(Load(ToneFile(50)), 10, 0);  // ends unnoticed
    ASSERT_TRUE(WaitFor([&] { return SourceState(10) == AL_STOPPED; }));

    audio->Suspend();
    EXPECT_EQ(SourceState(8), AL_PAUSED);
    EXPECT_EQ(SourceState(9), AL_PAUSED);
    EXPECT_EQ(SourceState(10), AL_STOPPED);
    EXPECT_EQ(audio->channels[8].state, 1);  // records do not change

    audio->Resume();
    EXPECT_EQ(SourceState(8), AL_PLAYING);
    EXPECT_EQ(SourceState(9), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(9), 2);
    EXPECT_EQ(SourceState(10), AL_STOPPED);
    EXPECT_EQ(audio->ChannelState(10), 0);
}

TEST_F(DeviceTest, PlayMusicUsesChannel32AndAMissingFileLeavesItStopped) {
    ASSERT_EQ(audio->PlayMusic(String(ToneFile(1000).c_str()), 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(SourceInt(Source(32), AL_LOOPING), AL_TRUE);
    audio->SetMusicVolume(0.5f);
    ALfloat gain = 0;
    alGetSourcef(Source(32), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);

    EXPECT_EQ(audio->PlayMusic(String("/tmp/vornhelm-audio-no-such-tune.ogg"), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(SourceState(32), AL_STOPPED);
    EXPECT_EQ(audio->ChannelState(31), 0);  // nothing else started
}

// Positions give a direction only: the device switches distance attenuation
// off (OpenAL starts with inverse-distance attenuation).
TEST_F(DeviceTest, DistanceModelIsOff) {
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
}

TEST_F(DeviceTest, BufferFormatFollowsTheDecodedLayout) {
    struct Case {
        int channels, bits, frames;
        int expectBits, expectChannels, expectSize;
    };
    const Case cases[] = {
        {1, 8, 400, 8, 1, 400},
        {2, 8, 400, 8, 2, 800},
        {1, 16, 400, 16, 1, 800},
        {2, 16, 400, 16, 2, 1600},
        {3, 16, 400, -1, -1, 0},  // no such format: the buffer stays empty
        {1, 24, 400, -1, -1, 0},
    };
    for (const Case& c : cases) {
        Bytes data(static_cast<std::size_t>(c.frames * c.channels * (c.bits / 8)), 0x40);
        TempFile file(PcmWav(c.channels, 22050, c.bits, data));
        gxtkSample* sample = Load(file.path());
        ASSERT_NE(sample, nullptr) << c.channels << " channels, " << c.bits << " bits";
        ASSERT_NE(sample->bufferId, 0u);
        EXPECT_EQ(BufferInt(sample->bufferId, AL_SIZE), c.expectSize) << c.channels << "x" << c.bits;
        if (c.expectSize == 0) continue;
        EXPECT_EQ(BufferInt(sample->bufferId, AL_BITS), c.expectBits);
        EXPECT_EQ(BufferInt(sample->bufferId, AL_CHANNELS), c.expectChannels);
        EXPECT_EQ(BufferInt(sample->bufferId, AL_FREQUENCY), 22050);
    }
}

TEST_F(DeviceTest, FilesThatCannotBeDecodedGiveNoSample) {
    TempFile mp3(PcmWav(1, 22050, 16, Tone16(100, 1, 22050)), ".mp3");
    TempFile broken(Bytes(100, 'x'), ".wav");
    EXPECT_EQ(Load(mp3.path()), nullptr);
    EXPECT_EQ(Load(broken.path()), nullptr);
    EXPECT_EQ(Load("/tmp/vornhelm-audio-missing.wav"), nullptr);
}

TEST_F(DeviceTest, DiscardedSampleKeepsPlayingAndGoesAtTheFirstLoadOrPlayAfterItEnds) {
    gxtkSample* tone = Load(ToneFile(300));
    audio->PlaySample(tone, 11, 0);
    ALuint buffer = tone->bufferId;
    int waiting = DiscardedCount();
    tone->Discard();
    EXPECT_EQ(tone->bufferId, 0u);
    EXPECT_EQ(DiscardedCount(), waiting + 1);

    // Still sounding: a load flushes the list but must keep the buffer.
    gxtkSample* other = Load(ToneFile(50));
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_EQ(SourceState(11), AL_PLAYING);
    EXPECT_EQ(SourceInt(Source(11), AL_BUFFER), static_cast<ALint>(buffer));

    ASSERT_TRUE(WaitFor([&] { return SourceState(11) == AL_STOPPED; }));
    EXPECT_TRUE(alIsBuffer(buffer));  // nothing deletes it until the next load or play
    audio->PlaySample(other, 12, 0);
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_EQ(DiscardedCount(), waiting);
}

TEST_F(DeviceTest, DiscardedBufferGoesAfterTheApplicationStoppedItsChannel) {
    gxtkSample* tone = Load(ToneFile(1000));
    audio->PlaySample(tone, 13, 1);
    ALuint buffer = tone->bufferId;
    tone->Discard();
    audio->StopChannel(13);
    ASSERT_EQ(audio->ChannelState(13), 0);
    EXPECT_TRUE(Deleted(buffer, Load(ToneFile(50))));
    EXPECT_EQ(SourceInt(Source(13), AL_BUFFER), 0);
}

TEST_F(DeviceTest, DeviceKeepsSoundingSamplesAliveForTheCollector) {
    gxtkSample* tone = Load(ToneFile(1000));
    ALuint buffer = tone->bufferId;
    audio->PlaySample(tone, 14, 1);
    gc_collect_all();
    gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(tone)) << "playing";

    audio->PauseChannel(14);
    gc_collect_all();
    gc_collect_all();
    EXPECT_TRUE(gc_is_live_object(tone)) << "paused";

    audio->StopChannel(14);
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_is_live_object(tone)) << "stopped";

    // Destroying the garbage runs the sample's destructor, which queues its
    // buffer like Discard; the next load deletes it.
    int waiting = DiscardedCount();
    Array<int> filler(gc_free_bytes / 4 + 1024);
    EXPECT_GT(DiscardedCount(), waiting);
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_TRUE(Deleted(buffer, Load(ToneFile(50))));
}

TEST_F(DeviceTest, ChannelsOutside0To32AreIgnored) {
    gxtkSample* tone = Load(ToneFile(1000));
    for (int channel : {-1, 33, 1000, INT_MIN}) {
        audio->PlaySample(tone, channel, 1);
        audio->SetVolume(channel, 0.5f);
        audio->SetPan(channel, 1);
        audio->SetRate(channel, 2);
        audio->PauseChannel(channel);
        audio->ResumeChannel(channel);
        EXPECT_EQ(audio->ChannelState(channel), 0) << channel;
        audio->StopChannel(channel);
    }
    for (int c = 0; c < gxtkAudio::kChannelCount; ++c) EXPECT_EQ(audio->ChannelState(c), 0) << c;
}
