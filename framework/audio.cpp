// SPDX-License-Identifier: Zlib
// Every function is harmless before the delegate has installed a device:
// loads give null, PlayMusic gives -1, the rest do nothing.
#include "framework/audio.h"

#include "framework/data.h"

gxtkAudio* kr_audio_device;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_Sample, sample);
    return this;
}

c_Sound* c_Sound::m_new2() { return this; }

void c_Sound::mark() { gc_mark_q(m_Sample); }

int kr_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(kr_audio_device, device);
    return 0;
}

c_Sound* kr_audio_LoadSound(String path) {
    if (!kr_audio_device) return nullptr;
    gxtkSample* sample = kr_audio_device->LoadSample(kr_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound)->m_new(sample);
}

int kr_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (kr_audio_device && sound && sound->m_Sample) {
        kr_audio_device->PlaySample(sound->m_Sample, channel, flags);
    }
    return 0;
}

int kr_audio_StopChannel(int channel) {
    if (kr_audio_device) kr_audio_device->StopChannel(channel);
    return 0;
}

int kr_audio_SetChannelVolume(int channel, float volume) {
    if (kr_audio_device) kr_audio_device->SetVolume(channel, volume);
    return 0;
}

int kr_audio_SetChannelPan(int channel, float pan) {
    if (kr_audio_device) kr_audio_device->SetPan(channel, pan);
    return 0;
}

int kr_audio_SetChannelRate(int channel, float rate) {
    if (kr_audio_device) kr_audio_device->SetRate(channel, rate);
    return 0;
}

int kr_audio_PlayMusic(String path, int flags) {
    if (!kr_audio_device) return -1;
    return kr_audio_device->PlayMusic(kr_data_FixDataPath(path), flags);
}

int kr_audio_StopMusic() {
    if (kr_audio_device) kr_audio_device->StopMusic();
    return 0;
}

int kr_audio_PauseMusic() {
    if (kr_audio_device) kr_audio_device->PauseMusic();
    return 0;
}

int kr_audio_ResumeMusic() {
    if (kr_audio_device) kr_audio_device->ResumeMusic();
    return 0;
}
