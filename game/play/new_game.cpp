// SPDX-License-Identifier: Zlib
// A new game: a fresh world from the clock-seeded generator, the helicopter
// on its pad in the middle, the first wave and the tune.
#include "game/game.h"
#include "game/play/math.h"

namespace {

constexpr int kMapWidth = 300;
// The flat strip at each end of the world, in columns.
constexpr int kShore = 32;
constexpr int kMinHeight = 3;
constexpr int kMaxHeight = 32;
// Draws thrown away after seeding, so nearby seeds do not start alike.
constexpr int kDiscardedDraws = 33;
constexpr int kSmoothingPasses = 3;

int ClampHeight(float h) { return play::ClampInt(kr_Vex_ToInt(h), kMinHeight, kMaxHeight); }

// A random walk from the left end to the middle, mirrored onto the right half.
// Returns the walk's last height.
int WalkTerrain(c_MyApp& app) {
    int w = app.m_MapWidth;
    int h = 0;
    for (int i = 0; i <= w / 2; ++i) {
        if (i < kShore) h = 0;
        app.m_Column[i * 10] = h;
        app.m_Column[(w - i) * 10] = h;
        float r = kr_random_Rnd();
        if (r < 0.5f) h = kr_Vex_ToInt(static_cast<float>(h) + 3.9f * kr_random_Rnd() - 1);
        h = play::ClampInt(h, kMinHeight, kMaxHeight);
    }
    return h;
}

// Roughens every column that has ground; the shore strips stay at 0.
void SmoothTerrain(c_MyApp& app) {
    for (int pass = 0; pass < kSmoothingPasses; ++pass) {
        for (int i = 0; i <= app.m_MapWidth; ++i) {
            int& h = app.m_Column[i * 10];
            if (h > 0) h = ClampHeight(static_cast<float>(h) + 2.9f * kr_random_Rnd() - 1);
        }
    }
}

}  // namespace

int c_MyApp::p_LoadGame() {
    m_Paused = 0;
    m_Score = 0;
    m_ScoreShown = 0;  // the status bar starts at 0, not at the last game's score
    m_GameOverT = 0;
    m_GameOverAnim = 0;
    m_Mode = kModePlay;
    m_Rotor = 0;
    m_CamX = m_CamY = m_CamTargetX = m_CamTargetY = 0;

    p_ResetStars(100);
    p_ResetParticles(250);
    p_ResetPlayers();
    m_Health = 99;

    kr_random_Seed = kr_app_Millisecs();
    for (int i = 0; i < kDiscardedDraws; ++i) kr_random_Rnd();

    m_MapWidth = kMapWidth;
    for (int i = 0; i <= m_MapWidth; ++i) {
        m_Column[i * 10] = 0;
        m_Column[i * 10 + 1] = 0;
    }
    int h = WalkTerrain(*this);
    SmoothTerrain(*this);

    for (int i = 0; i <= 500 * 10 + 9; ++i) m_Obj[i] = 0;
    m_Wave = 0;

    int mid = m_MapWidth / 2;
    for (int i = mid - 1; i <= mid + 1; ++i) m_Column[i * 10] = h + 4;

    m_Player[1] = m_Player[3] = static_cast<float>(32 * mid + 13);
    m_Player[2] = m_Player[4] = static_cast<float>((-5 - h) * 16);

    m_CamTargetX = m_Player[1] - 0.25f * kr_Vex_jscrw;
    m_CamTargetY = m_Player[4] - 0.5f * kr_Vex_jscrh;
    m_CamX = m_CamTargetX;
    m_CamY = m_CamTargetY;

    p_Replenish();
    if (kr_Vex_HasMusicStream == 1) p_PlayTune(String("choppa"), 1);
    return 0;
}
