// SPDX-License-Identifier: Zlib
// Sound effects through 24 rotating channels, and the music tune.
#include "game/game.h"

namespace {

constexpr int kEffectChannels = 24;

// Sound modes: 1 effects and music, 2 effects only, 3 music only, 0 silence.
bool EffectsOn(c_MyApp* app) { return app->m_Opt[5] == 1 || app->m_Opt[5] == 2; }
bool MusicOn(c_MyApp* app) { return app->m_Opt[5] == 1 || app->m_Opt[5] == 3; }

}  // namespace

// Sound n is the file sfx/NNN.wav, n written with three digits.
int c_MyApp::p_LoadSFX(int n) {
    if (n < 0 || n >= m_Snd.Length()) return 0;
    const String digits(n);
    const String zeros = n < 10 ? String("00") : n < 100 ? String("0") : String();
    gc_assign(m_Snd[n], kr_audio_LoadSound(String("sfx/") + zeros + digits + String(".wav")));
    return 0;
}

// Each effect takes the next of the 24 channels, so the 25th cuts off the
// oldest. An empty slot still stops and adjusts its channel.
int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(this)) return 0;
    m_SfxChan = (m_SfxChan + 1) % kEffectChannels;
    if (m_SfxChan < 0) m_SfxChan = 0;
    const int c = m_ChanMap[m_SfxChan];
    kr_audio_StopChannel(c);
    if (n >= 0 && n < m_Snd.Length() && m_Snd[n]) kr_audio_PlaySound(m_Snd[n], c, 0);
    kr_audio_SetChannelRate(c, rate);
    kr_audio_SetChannelVolume(c, volume);
    kr_audio_SetChannelPan(c, pan);
    return 0;
}

int c_MyApp::p_PlayTune(String name, int loop) {
    if (m_TunePlaying == 1) {
        kr_audio_StopMusic();
        m_TunePlaying = 0;
    }
    if (MusicOn(this)) {
        kr_audio_PlayMusic(String("sfx/") + name + String(".ogg"), loop);
        m_TunePlaying = 1;
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    kr_audio_StopMusic();
    m_TunePlaying = 0;
    return 0;
}
