// SPDX-License-Identifier: Zlib
// The game's sounds as samples, before they are written to files.
#pragma once

#include "synth.h"

namespace assetgen {

// Sound effect `id` (1 to 11, 95, 96, 98 or 99) as it goes into sfx/NNN.wav:
// mono at 44.1 kHz, normalised and faded; empty for any other id.
Samples SoundEffect(int id);
// The tune "choppa", one whole loop, interleaved stereo at 44.1 kHz.
Samples TuneSamples();

}  // namespace assetgen
