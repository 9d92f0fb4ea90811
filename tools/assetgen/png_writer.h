// Writes canvases as 8-bit RGBA PNG files.
#pragma once

#include <string>

#include "canvas.h"

namespace assetgen {

// Creates missing parent folders; false when the file cannot be written.
bool WritePng(const std::string& path, const Canvas& canvas);

}  // namespace assetgen
