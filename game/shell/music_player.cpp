// SPDX-License-Identifier: Zlib
// The music player's entry points. The player owns the five channels just
// below its base channel; the shell drives it only when the music switch is
// on. Loading and sequencing tunes are not part of this build: nothing
// selects a tune, so the player never leaves the stopped state by itself.
#include <climits>

#include "game/game.h"

namespace {
constexpr int kTracks = 8;
constexpr int kStopped = 0, kPlaying = 2;
constexpr int kPauseDelayMs = 150;
}  // namespace

c_LxPlayer* c_LxPlayer::m_new() {
    gc_assign(m_Chan, Array<int>(kTracks));
    gc_assign(m_ChanOn, Array<int>(kTracks));
    return this;
}

void c_LxPlayer::mark() {
    gc_mark_q(m_Chan);
    gc_mark_q(m_ChanOn);
}

// Track i sounds on channel base - 1 - i.
int c_LxPlayer::p_Lx_Init(int base, int a, int b, int c, int d) {
    m_BaseChannel = base;
    m_InitA = a, m_InitB = b, m_InitC = c, m_InitD = d;
    for (int i = 0; i < kTracks; ++i) m_Chan[i] = base - 1 - i;
    return 0;
}

int c_LxPlayer::p_Lx_Stop(int all) {
    for (int i = 0; i < m_ChanCount && i < kTracks; ++i) {
        if (m_Chan[i] > 0 && m_ChanOn[i] == 1) {
            kr_audio_StopChannel(m_Chan[i]);
            m_ChanOn[i] = 0;
        }
    }
    if (all == 1) m_State = kStopped;
    return 0;
}

// While paused the tune is silenced and may go on 150 ms after the pause
// ends; with music switched off it stays silent.
int c_LxPlayer::p_Lx_Alive_U(int paused, int musicOn) {
    if (m_State == kStopped) p_Lx_Stop(0);
    if (m_State == kPlaying && m_ChunkStep == 0 && paused == 0) {
        // Playing on would advance the tune's sequence, which this build
        // leaves out; music switched off silences the tracks.
        if (musicOn == 0) p_Lx_Stop(0);
        return 0;
    }
    if (paused == 1) {
        const long long next = static_cast<long long>(kr_app_Millisecs()) + kPauseDelayMs;
        m_NextTick = next > INT_MAX ? INT_MAX : static_cast<int>(next);
        if (m_State == kPlaying) p_Lx_Stop(0);
    } else if (m_State == kPlaying && musicOn == 0) {
        p_Lx_Stop(0);
    }
    return 0;
}

// Loading a tune is spread over renders elsewhere; this build has no tune
// loader and nothing starts a load, so a render only clears the screen.
int c_LxPlayer::p_Lx_Alive_R() {
    kr_graphics_Cls(0, 0, 0);
    return 0;
}
