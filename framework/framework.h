// SPDX-License-Identifier: Zlib
// The application framework: app and delegate, graphics, input, audio,
// random, math and async-event modules, and data paths.
#pragma once

#include "framework/app.h"
#include "framework/asyncevent.h"
#include "framework/audio.h"
#include "framework/data.h"
#include "framework/globals.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "framework/math.h"
#include "framework/random.h"
