// SPDX-License-Identifier: Zlib
// Loading sound files into OpenAL buffers through the host's decoder.
#include <AL/al.h>

#include <climits>
#include <cstdlib>

#include "audio/device.h"
#include "audio/discarded.h"
#include "host/host.h"

namespace {

struct BufferFormat {
    int bytesPerSample;
    int channels;
    ALenum format;
};

const BufferFormat kBufferFormats[] = {
    {1, 1, AL_FORMAT_MONO8},
    {1, 2, AL_FORMAT_STEREO8},
    {2, 1, AL_FORMAT_MONO16},
    {2, 2, AL_FORMAT_STEREO16},
};

// 0 for any other layout: OpenAL then refuses the upload and the buffer
// stays empty.
ALenum FormatFor(int bytesPerSample, int channels) {
    for (const BufferFormat& f : kBufferFormats) {
        if (f.bytesPerSample == bytesPerSample && f.channels == channels) return f.format;
    }
    return 0;
}

}  // namespace

gxtkSample* gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    KrGame* host = KrGame::_game;
    if (!host) return nullptr;
    int frames = 0, channelCount = 0, bytesPerSample = 0, rate = 0;
    unsigned char* data = host->LoadAudioData(path, &frames, &channelCount, &bytesPerSample, &rate);
    if (!data) return nullptr;

    long long bytes = static_cast<long long>(frames) * channelCount * bytesPerSample;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (bytes <= INT_MAX) {
        alBufferData(buffer, FormatFor(bytesPerSample, channelCount), data,
                     static_cast<ALsizei>(bytes), rate);
    }
    std::free(data);
    sample->SetBuffer(buffer);
    return sample;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded(this);
    return LoadSample__UNSAFE__(new gxtkSample, path);
}
