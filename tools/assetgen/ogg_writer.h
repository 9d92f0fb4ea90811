// SPDX-License-Identifier: Zlib
// Ogg Vorbis output through libvorbisenc with fixed settings and a fixed
// stream serial number, so the same samples always give the same bytes.
#pragma once

#include <string>

#include "synth.h"

namespace assetgen {

// `interleaved` samples in -1..1 at 44.1 kHz, `channels` (1 or 2) per frame.
bool WriteOgg(const std::string& path, const Samples& interleaved, int channels, const std::string& title);

}  // namespace assetgen
