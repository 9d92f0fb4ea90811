// SPDX-License-Identifier: Zlib
// Playing samples on channels, and the music channel.
#include <AL/al.h>

#include <cmath>

#include "audio/device.h"
#include "audio/discarded.h"

gxtkChannel* gxtkAudio::ChannelAt(int channel) {
    return channel >= 0 && channel < kChannelCount ? &channels[channel] : nullptr;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    FlushDiscarded(this);
    gxtkChannel* chan = ChannelAt(channel);
    if (!chan) return 0;
    ALuint source = chan->AL_Source();
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, sample ? static_cast<ALint>(sample->bufferId) : 0);
    alSourcei(source, AL_LOOPING, flags != 0 ? 1 : 0);
    alSourcePlay(source);
    gc_assign(chan->sample, sample);
    chan->playFlags = flags;
    chan->state = 1;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* chan = ChannelAt(channel);
    if (chan && chan->state != 0) {
        alSourceStop(chan->sourceId);
        chan->state = 0;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* chan = ChannelAt(channel);
    if (!chan || chan->state != 1) return 0;
    if (chan->SourceState() == AL_STOPPED) {
        chan->state = 0;
    } else {
        alSourcePause(chan->sourceId);
        chan->state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* chan = ChannelAt(channel);
    if (chan && chan->state == 2) {
        alSourcePlay(chan->sourceId);
        chan->state = 1;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* chan = ChannelAt(channel);
    if (!chan) return 0;
    if (chan->state == 1 && chan->SourceState() == AL_STOPPED) chan->state = 0;
    return chan->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (gxtkChannel* chan = ChannelAt(channel)) alSourcef(chan->AL_Source(), AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    if (gxtkChannel* chan = ChannelAt(channel)) {
        alSource3f(chan->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    }
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (gxtkChannel* chan = ChannelAt(channel)) alSourcef(chan->AL_Source(), AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    gxtkSample* music = LoadSample(path);
    if (!music) return -1;
    PlaySample(music, kMusicChannel, flags);
    return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
