// SPDX-License-Identifier: Zlib
// The device's life: opening OpenAL, suspending and resuming with the game,
// and marking the samples that still sound.
#include "audio/device.h"

#include <AL/al.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// Every device and context opened, closed when the process ends however it
// ends (a quit ends it from inside the game, by exit): a device left open
// makes OpenAL complain on standard error as it unloads.
// Never destroyed, so that it outlives the exit handler that reads it.
std::vector<std::pair<ALCdevice*, ALCcontext*>>& OpenDevices() {
    static auto* open = new std::vector<std::pair<ALCdevice*, ALCcontext*>>;
    return *open;
}

void CloseDevice(ALCdevice* device, ALCcontext* context) {
    if (context && alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    if (context) alcDestroyContext(context);
    alcCloseDevice(device);
}

void CloseOpenDevices() {
    for (auto [device, context] : OpenDevices()) CloseDevice(device, context);
    OpenDevices().clear();
}

void CloseAtExit(ALCdevice* device, ALCcontext* context) {
    static const bool registered = std::atexit(CloseOpenDevices) == 0;
    (void)registered;
    OpenDevices().emplace_back(device, context);
}

}  // namespace

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
        CloseAtExit(alcDevice, alcContext);
    }
    // Source positions give a direction only, never attenuation.
    alDistanceModel(AL_NONE);
}

void gxtkAudio::Close() {
    if (!alcDevice) return;
    auto& open = OpenDevices();
    for (auto it = open.begin(); it != open.end(); ++it) {
        if (it->first == alcDevice) {
            open.erase(it);
            break;
        }
    }
    CloseDevice(alcDevice, alcContext);
    alcDevice = nullptr;
    alcContext = nullptr;
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
