// SPDX-License-Identifier: Zlib
// The voices of the tune, each rendering one note or hit into a loop buffer.
#pragma once

#include "loop_buffer.h"
#include "tune_score.h"

namespace assetgen {

void PlayBass(LoopBuffer& out, const Note& n);
void PlayLead(LoopBuffer& out, const Note& n, float pan);
void PlayCounter(LoopBuffer& out, const Note& n, float pan);
void PlayArp(LoopBuffer& out, const Note& n, float pan);
void PlayPad(LoopBuffer& out, int bar, const Chord& chord);
void PlayDrum(LoopBuffer& out, const Hit& hit);

}  // namespace assetgen
