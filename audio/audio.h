// SPDX-License-Identifier: Zlib
// The audio device: samples, 33 OpenAL channels and the deferred deletion of
// buffers.
#pragma once

#include "audio/channel.h"
#include "audio/device.h"
#include "audio/discarded.h"
#include "audio/sample.h"
