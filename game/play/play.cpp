// SPDX-License-Identifier: Zlib
// One update of play, step by step; each step lives in the file of its
// concern. The order of the steps is the order of the random draws.
#include <climits>

#include "game/game.h"
#include "game/play/math.h"

namespace {

// A counter that runs for ever: past the Int range it starts again at 0.
int Next(int v) { return v == INT_MAX ? 0 : v + 1; }

}  // namespace

int c_MyApp::p_Game() {
    m_WorldW = 32 * play::ClampInt(m_MapWidth, 0, 499);
    p_GameSky();
    p_GameCamera();
    if (m_Paused == 0) {
        p_AnalogueControl();
        p_ResetDraw();
    }
    if (m_Paused == 0 && m_GameOverT <= 0) p_GameFlight();
    p_GameHeli();
    p_GameRope();
    p_GameBoard();
    p_GameFire();
    p_GameTerrain();
    p_GameObjects();
    m_Rotor = (m_Rotor + 2) % 360;
    m_Tick = Next(m_Tick);
    p_GameSea();
    p_DoParticles();
    m_Frame = Next(m_Frame);
    p_GameStatus();
    return 0;
}

int c_MyApp::p_ResetPlayers() {
    for (int i = 0; i <= 499; ++i) m_Player[i] = 0;
    return 0;
}

int c_MyApp::p_Rand(float lo, float hi) {
    return play::FloorInt(lo + kr_random_Rnd() * (hi + 0.99f - lo));
}
