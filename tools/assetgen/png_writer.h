// SPDX-License-Identifier: Zlib
// Writes canvases as PNG files: 8-bit palette images when the art has at
// most 256 colours (flat art), 8-bit RGBA otherwise, deflated at zlib's
// highest level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

// Creates missing parent folders; false when the file cannot be written.
// The PNG file's bytes for width x height RGBA pixels, rows from the top.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);

bool WritePng(const std::string& path, const Canvas& canvas);

}  // namespace assetgen
