// The application framework: app and delegate, graphics, input, audio,
// random, math and async-event modules.
#pragma once

#include "framework/app.h"
#include "framework/asyncevent.h"
#include "framework/audio.h"
#include "framework/globals.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "framework/random.h"
