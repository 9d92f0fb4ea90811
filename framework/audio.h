// SPDX-License-Identifier: Zlib
// The audio module: c_Sound and the functions the game plays sounds and
// music through. Paths are data-folder names (kr_data_FixDataPath).
#pragma once

#include "audio/audio.h"

class c_Sound : public Object {
public:
    gxtkSample* m_Sample = nullptr;

    c_Sound() {}
    c_Sound* m_new(gxtkSample* sample);
    c_Sound* m_new2();
    void mark() override;
};

extern gxtkAudio* kr_audio_device;

int kr_audio_SetAudioDevice(gxtkAudio* device);
// A sound holding the loaded sample, or null when the file is missing or
// cannot be decoded.
c_Sound* kr_audio_LoadSound(String path);
// Does nothing for a null sound or one without a sample.
int kr_audio_PlaySound(c_Sound* sound, int channel, int flags);
int kr_audio_StopChannel(int channel);
int kr_audio_SetChannelVolume(int channel, float volume);
int kr_audio_SetChannelPan(int channel, float pan);
int kr_audio_SetChannelRate(int channel, float rate);
// 0, or -1 when the file cannot be loaded.
int kr_audio_PlayMusic(String path, int flags);
int kr_audio_StopMusic();
int kr_audio_PauseMusic();
int kr_audio_ResumeMusic();
