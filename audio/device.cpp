// The device's life: opening OpenAL, suspending and resuming with the game,
// and marking the samples that still sound.
#include "audio/device.h"

#include <AL/al.h>

gxtkAudio::gxtkAudio() {
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) {
        krPrint(String("OpenAl error: alcOpenDevice failed"));
    } else {
        alcContext = alcCreateContext(alcDevice, nullptr);
        if (!alcContext) {
            krPrint(String("OpenAl error: alcCreateContext failed"));
        } else if (!alcMakeContextCurrent(alcContext)) {
            krPrint(String("OpenAl error: alcMakeContextCurrent failed"));
        }
    }
    // Source positions give a direction only, never attenuation.
    alDistanceModel(AL_NONE);
}

void gxtkAudio::mark() {
    for (gxtkChannel& channel : channels) {
        if (channel.state != 0 && channel.sample && channel.SourceState() != AL_STOPPED) {
            gc_mark_q(channel.sample);
        }
    }
}

int gxtkAudio::Suspend() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && channel.SourceState() == AL_PLAYING) {
            alSourcePause(channel.sourceId);
        }
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && channel.SourceState() == AL_PAUSED) {
            alSourcePlay(channel.sourceId);
        }
    }
    return 0;
}
