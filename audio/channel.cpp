// SPDX-License-Identifier: Zlib
#include "audio/channel.h"

#include <AL/al.h>

unsigned int gxtkChannel::AL_Source() {
    if (sourceId == 0) {
        ALuint source = 0;
        alGenSources(1, &source);
        sourceId = source;
    }
    return sourceId;
}

int gxtkChannel::SourceState() const {
    ALint value = AL_STOPPED;
    if (sourceId != 0) alGetSourcei(sourceId, AL_SOURCE_STATE, &value);
    return value;
}
