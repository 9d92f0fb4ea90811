// SPDX-License-Identifier: Zlib
// gxtkChannel: one of the audio device's 33 playback channels, a plain
// record (not collected) that the device marks through.
#pragma once

class gxtkSample;

struct gxtkChannel {
    unsigned int sourceId = 0;     // OpenAL source name, 0 until first needed
    gxtkSample* sample = nullptr;  // sample last started here
    int playFlags = 0;             // flags of the last PlaySample
    int state = 0;                 // 0 stopped, 1 playing, 2 paused

    // The channel's source, generated on first use and kept for good.
    unsigned int AL_Source();
    // OpenAL's state of the source. A channel without a source (never used,
    // or no OpenAL context) reads as stopped: nothing can be sounding on it.
    int SourceState() const;
};
