// SPDX-License-Identifier: Zlib
// The graphics device: batched 2D renderer and texture surfaces.
#pragma once

#include "graphics/renderer.h"
#include "graphics/surface.h"
