// SPDX-License-Identifier: Zlib
// RIFF WAVE output: 16-bit integer PCM with the "fmt " chunk straight after
// the header, which is what the game's loader expects.
#pragma once

#include <string>

#include "synth.h"

namespace assetgen {

// Interleaved samples in -1..1 (clamped), `channels` per frame.
bool WriteWav(const std::string& path, const Samples& interleaved, int channels);

}  // namespace assetgen
