// SPDX-License-Identifier: Zlib
// The process-wide list of OpenAL buffers waiting for deletion. A discarded
// or collected sample's buffer may still be attached to a playing source, so
// it is only queued here and deleted at a later load or play, once no source
// holds it any more.
#pragma once

class gxtkAudio;

// Appends a buffer name to the list.
void DiscardBuffer(unsigned int bufferId);
// Detaches the buffers of stopped sources, then deletes every listed buffer
// that OpenAL lets go; the others stay listed for the next flush.
void FlushDiscarded(gxtkAudio* audio);
// Number of buffers waiting.
int DiscardedCount();
