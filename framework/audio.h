// STUB: replaced by the audio module. Keep these signatures.
#pragma once
#include "audio/audio.h"

extern gxtkAudio* kr_audio_device;
int kr_audio_SetAudioDevice(gxtkAudio* device);
