// STUB: replaced by the audio module.
#include "framework/audio.h"

gxtkAudio* kr_audio_device;

int kr_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(kr_audio_device, device);
    return 0;
}
