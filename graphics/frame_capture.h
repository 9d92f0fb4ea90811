// SPDX-License-Identifier: Zlib
// Reading the finished frame back, for screenshots.
#pragma once

#include <vector>

// The pixels of OpenGL's read buffer, width x height from the bottom-left
// corner, as RGB rows from the top down.
std::vector<unsigned char> KrReadFrameRgb(int width, int height);
