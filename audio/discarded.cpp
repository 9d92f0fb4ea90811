// SPDX-License-Identifier: Zlib
#include "audio/discarded.h"

#include <AL/al.h>

#include <vector>

#include "audio/device.h"

namespace {

std::vector<ALuint> discarded;

}  // namespace

void DiscardBuffer(unsigned int bufferId) { discarded.push_back(bufferId); }

int DiscardedCount() { return static_cast<int>(discarded.size()); }

void FlushDiscarded(gxtkAudio* audio) {
    if (discarded.empty()) return;
    // A stopped source never needs its buffer again: playing it once more
    // always attaches a buffer anew. Detaching from every stopped source, not
    // only from channels still recorded as playing, lets a buffer go even
    // when its channel was stopped by the application or seen to end.
    for (gxtkChannel& channel : audio->channels) {
        if (channel.sourceId != 0 && channel.SourceState() == AL_STOPPED) {
            alSourcei(channel.sourceId, AL_BUFFER, 0);
        }
    }
    std::vector<ALuint> kept;
    for (ALuint buffer : discarded) {
        alGetError();  // drop errors left by earlier calls
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    discarded.swap(kept);
}
