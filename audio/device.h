// SPDX-License-Identifier: Zlib
// gxtkAudio: the audio device. It owns the OpenAL device and context and 33
// channels (0..31 for sounds, 32 for music), and loads sound files into
// OpenAL buffers. When OpenAL cannot be opened the device still exists and
// every call is harmless and silent.
#pragma once

#include <AL/alc.h>

#include "audio/channel.h"
#include "audio/sample.h"
#include "runtime/runtime.h"

class gxtkAudio : public Object {
public:
    static const int kChannelCount = 33;
    static const int kMusicChannel = 32;

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[kChannelCount];

    // Opens the default OpenAL device and makes a context current on it.
    // The device and context are closed when the process ends, however it
    // ends by exit or a return from main, unless Close did so before.
    gxtkAudio();
    // Closes the device and its context now; the device is silent after.
    void Close();
    // Keeps alive every sample that is still sounding on a channel.
    void mark() override;

    // Pauses the channels that are really playing; Resume restarts them.
    // Channels the application paused stay paused.
    virtual int Suspend();
    virtual int Resume();
    virtual gxtkSample* LoadSample__UNSAFE__(gxtkSample* sample, String path);
    virtual gxtkSample* LoadSample(String path);
    // Any non-zero flags value loops.
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    // 0 stopped, 1 playing, 2 paused; notices a sound that has ended.
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    // pan is an angle in radians: 0 ahead, positive to the right.
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    // Decodes the whole file and plays it on channel 32; -1 when it cannot
    // be loaded (the old music is stopped either way).
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // The channel record, or null for a number outside 0..32: operations on
    // such a channel do nothing, and its state reads as stopped.
    gxtkChannel* ChannelAt(int channel);
};
