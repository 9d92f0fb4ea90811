// The audio device: samples and 33 OpenAL channels.
#pragma once

#include "audio/device.h"
